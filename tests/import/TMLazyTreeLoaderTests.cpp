// SPDX-License-Identifier: GPL-3.0-or-later
// A binary export read a folder at a time: whatever has been read answers
// as the whole tree read at once does, and what has not is a folder cut
// short at its whole size.
#include "import/TMLazyTreeLoader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/filetree/TMFolderTree.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMBinaryExportWriter.h"
#include "import/TMTreeBinaryExport.h"
#include "import/TMTreeExport.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

// Nested folders of many sizes, one unreadable, one empty, files with dates.
std::string nestedJson() {
  std::string json = R"([1,2,{},[{"name":"/srv/g"})";
  for (int top = 0; top < 6; ++top) {
    json += ",[{\"name\":\"top" + std::to_string(top) + "\"" + (top == 4 ? ",\"read_error\":true" : "") + "}";
    for (int mid = 0; mid < top * 2; ++mid) {
      json += ",[{\"name\":\"mid" + std::to_string(mid) + "\"}";
      for (int file = 0; file < 3 + mid; ++file)
        json += ",{\"name\":\"f" + std::to_string(file) + "\",\"asize\":" + std::to_string(100 * file + top) +
                ",\"dsize\":" + std::to_string(4096 * (file + mid + 1)) + ",\"mtime\":" + std::to_string(1600000000 + file) + "}";
      if (mid == 1) json += ",[{\"name\":\"deep\"},{\"name\":\"x\",\"asize\":1,\"dsize\":512}]";
      json += "]";
    }
    json += ",{\"name\":\"own\",\"asize\":7,\"dsize\":" + std::to_string(8192 * top) + "}]";
  }
  return json + R"(,[{"name":"empty"}],{"name":"loose","asize":3,"dsize":4096}]])";
}

std::shared_ptr<TMFileTree> treeOfNested(const std::string& text) {
  std::FILE* input = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  TMImportResult result = importNcduExport(input);
  std::fclose(input);
  if (auto* error = std::get_if<TMImportError>(&result)) ADD_FAILURE() << error->text();
  return std::holds_alternative<TMImportedScan>(result) ? std::get<TMImportedScan>(result).root : nullptr;
}

// The export of `root` in a file of its own, opened for reading by folders.
class LazyExportFile {
 public:
  explicit LazyExportFile(const std::string& bytes) {
    char path[] = "/tmp/tilemora-lazy-XXXXXX";
    descriptor_ = ::mkstemp(path);
    EXPECT_EQ(::write(descriptor_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::unlink(path);
  }
  ~LazyExportFile() { ::close(descriptor_); }
  std::unique_ptr<TMLazyTreeLoader> loader() const {
    std::string error;
    auto reader = TMBinaryExportReader::openDescriptor(descriptor_, 0, error);
    EXPECT_TRUE(reader) << error;
    auto loader = std::make_unique<TMLazyTreeLoader>(std::move(reader));
    const auto failure = loader->begin();
    EXPECT_FALSE(failure) << *failure;
    return loader;
  }

 private:
  int descriptor_;
};

std::string lazyExportOf(const TMFileTree& root) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  EXPECT_TRUE(writeTreeBinaryExport(root, TMTreeExportHeader{"/srv/g", "t", "1", 0, ""}, out));
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return bytes;
}

// Compares what `lazy` has read with `whole`; answers the folders cut short.
uint64_t expectReadAsWhole(const TMFileTree& whole, const TMFileTree& lazy) {
  EXPECT_EQ(lazy.filename(), whole.filename());
  EXPECT_EQ(lazy.diskSize(), whole.diskSize()) << whole.filename();
  EXPECT_EQ(lazy.modifiedTime(), whole.modifiedTime()) << whole.filename();
  const TMFolderTree* wholeFolder = whole.asFolder();
  const TMFolderTree* lazyFolder = lazy.asFolder();
  EXPECT_EQ(lazyFolder != nullptr, wholeFolder != nullptr) << whole.filename();
  if (wholeFolder == nullptr || lazyFolder == nullptr) {
    EXPECT_EQ(lazy.alternateSize(), whole.alternateSize()) << whole.filename();
    return 0;
  }
  EXPECT_EQ(lazyFolder->holdsUnreadable(), wholeFolder->holdsUnreadable()) << whole.filename();
  const TMChildList* wholeChildren = wholeFolder->children();
  const TMChildList* lazyChildren = lazyFolder->children();
  if (lazyFolder->wasCutShort()) {
    EXPECT_EQ(lazyChildren, nullptr) << whole.filename() << " is cut short, and holds entries";
    EXPECT_NE(wholeChildren, nullptr) << whole.filename() << " is cut short, and is empty";
    return 1;
  }
  // Whether it could be read where it was scanned is told once it is read.
  EXPECT_EQ(lazyFolder->isUnreadable(), wholeFolder->isUnreadable()) << whole.filename();
  const uint32_t count = wholeChildren != nullptr ? wholeChildren->count() : 0;
  EXPECT_EQ(lazyChildren != nullptr ? lazyChildren->count() : 0, count) << whole.filename();
  if (lazyChildren == nullptr || lazyChildren->count() != count) return 0;
  uint64_t cutShort = 0;
  for (uint32_t i = 0; i < count; ++i) cutShort += expectReadAsWhole(*wholeChildren->at(i), *lazyChildren->at(i));
  return cutShort;
}

struct LazyBudgetCase {
  const char* name;
  uint64_t entries;  // read before looking
  bool rootRead;
  bool whole;
};

// Of the folders in each folder read, those read are the larger: the
// largest were read first.
void expectLargestReadFirst(const TMFolderTree& folder) {
  const TMChildList* children = folder.children();
  uint64_t smallestRead = UINT64_MAX;
  uint64_t largestUnread = 0;
  for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
    const TMFolderTree* sub = children->at(i)->asFolder();
    if (sub == nullptr || sub->children() == nullptr) {
      if (sub != nullptr && sub->wasCutShort()) largestUnread = std::max(largestUnread, sub->diskSize());
      continue;
    }
    smallestRead = std::min(smallestRead, sub->diskSize());
    expectLargestReadFirst(*sub);
  }
  EXPECT_GE(smallestRead, largestUnread) << folder.filename();
}

class TMLazyTreeLoaderBudget : public ::testing::TestWithParam<LazyBudgetCase> {};

TEST_P(TMLazyTreeLoaderBudget, AnswersAsTheWholeTreeWhereReadAndCutShortElsewhere) {
  const std::shared_ptr<TMFileTree> whole = treeOfNested(nestedJson());
  ASSERT_TRUE(whole);
  const LazyExportFile file(lazyExportOf(*whole));
  const auto loader = file.loader();
  ASSERT_FALSE(loader->readLargest(GetParam().entries, {}));
  EXPECT_EQ(loader->isWhole(), GetParam().whole);
  EXPECT_EQ(loader->scan().rootComponents, (std::vector<std::string>{"/", "srv", "g"}));
  const uint64_t cutShort = expectReadAsWhole(*whole, *loader->root());
  EXPECT_EQ(cutShort, loader->unreadFolders());
  EXPECT_GE(loader->heldEntries(), std::min<uint64_t>(GetParam().entries, 96));
  EXPECT_EQ(!loader->root()->asFolder()->wasCutShort(), GetParam().rootRead);
  expectLargestReadFirst(*loader->root()->asFolder());
}

const LazyBudgetCase kLazyBudgetCases[] = {
    {"nothing read but the root", 0, false, false},
    {"the root's entries", 1, true, false},
    {"the largest folders", 20, true, false},
    {"all but the smallest", 80, true, false},
    {"everything", UINT64_MAX, true, true},
};
INSTANTIATE_TEST_SUITE_P(Budgets, TMLazyTreeLoaderBudget, ::testing::ValuesIn(kLazyBudgetCases), caseNamesByName);

// 40 folders of 30 folders of 24 files, each of its own size: an export of
// about twenty blocks, more than the smallest caches below keep.
std::string manyBlocksJson() {
  std::string json = R"([1,2,{},[{"name":"/srv/g"})";
  for (int top = 0; top < 40; ++top) {
    json += ",[{\"name\":\"t" + std::to_string(top) + "\"}";
    for (int mid = 0; mid < 30; ++mid) {
      json += ",[{\"name\":\"m" + std::to_string(mid) + "\"}";
      for (int file = 0; file < 24; ++file) {
        const int order = (top * 30 + mid) * 24 + file;
        json += ",{\"name\":\"a file of a longer name " + std::to_string(file) + "\",\"asize\":" +
                std::to_string(order) + ",\"dsize\":" + std::to_string(512 * (1 + (order * 7919) % 28800)) + "}";
      }
      json += "]";
    }
    json += "]";
  }
  return json + "]]";
}

struct LazyCacheCase {
  const char* name;
  size_t blocks;  // decompressed blocks kept
  size_t bytes;   // and their bytes
};

class TMLazyTreeLoaderCache : public ::testing::TestWithParam<LazyCacheCase> {};

// Blocks dropped from the cache and read again give the same items: the
// folders read in the window's orders answer as the whole tree does.
TEST_P(TMLazyTreeLoaderCache, ReadsAsTheWholeTreeWhateverTheCacheKeeps) {
  const std::shared_ptr<TMFileTree> whole = treeOfNested(manyBlocksJson());
  ASSERT_TRUE(whole);
  const std::string bytes = lazyExportOf(*whole);
  const uint64_t indexLength = bigEndianIn(bytes, bytes.size() - 4, 4) & 0x0fffffff;
  ASSERT_GT((indexLength - 16) / 8, 12u) << "too few blocks to be dropped from the cache";
  std::string error;
  auto reader = TMBinaryExportReader::fromBytes(bytes, error);
  ASSERT_TRUE(reader) << error;
  reader->limitCache(GetParam().blocks, GetParam().bytes);
  TMLazyTreeLoader loader(std::move(reader));
  ASSERT_FALSE(loader.begin());
  // The largest first, then a folder looked into, a path, and the rest.
  ASSERT_FALSE(loader.readLargest(2000, {}));
  const TMChildList* top = loader.root()->asFolder()->children();
  ASSERT_NE(top, nullptr);
  ASSERT_FALSE(loader.readWithin(*top->at(top->count() - 1)->asFolder(), 0, {}));
  ASSERT_FALSE(loader.readAlong({"t7", "m29"}));
  EXPECT_EQ(expectReadAsWhole(*whole, *loader.root()), loader.unreadFolders());
  ASSERT_FALSE(loader.readLargest(UINT64_MAX, {}));
  EXPECT_TRUE(loader.isWhole());
  EXPECT_EQ(expectReadAsWhole(*whole, *loader.root()), 0u);
}

const LazyCacheCase kLazyCacheCases[] = {
    {"one block kept", 1, SIZE_MAX},
    {"three blocks kept", 3, SIZE_MAX},
    {"fewer bytes than one block", 256, 1000},
    {"as much as the window keeps", TMBinaryExportReader::kCachedBlocks, TMBinaryExportReader::kCachedBytes},
};
INSTANTIATE_TEST_SUITE_P(Caches, TMLazyTreeLoaderCache, ::testing::ValuesIn(kLazyCacheCases), caseNamesByName);

TEST(TMLazyTreeLoader, ReadsAFolderLookedIntoWhateverItsSize) {
  const std::shared_ptr<TMFileTree> whole = treeOfNested(nestedJson());
  ASSERT_TRUE(whole);
  const LazyExportFile file(lazyExportOf(*whole));
  const auto loader = file.loader();
  ASSERT_FALSE(loader->readLargest(1, {}));
  // The smallest folder with entries of the root, which reading by size
  // would come to last: read alone, its own sub-folders stay unread...
  const TMChildList* top = loader->root()->asFolder()->children();
  ASSERT_NE(top, nullptr);
  const TMFolderTree* smallest = nullptr;
  for (uint32_t i = 0; i < top->count(); ++i) {
    const TMFolderTree* folder = top->at(i)->asFolder();
    if (folder != nullptr && folder->wasCutShort()) smallest = folder;
  }
  ASSERT_NE(smallest, nullptr);
  ASSERT_FALSE(loader->readWithin(*smallest, 0, {}));
  EXPECT_FALSE(smallest->wasCutShort());
  EXPECT_GT(expectReadAsWhole(*whole, *loader->root()), 0u);
  // ...until they are asked for too; the larger folders beside it wait.
  ASSERT_FALSE(loader->readWithin(*smallest, UINT64_MAX, {}));
  const uint64_t unreadBefore = loader->unreadFolders();
  EXPECT_GT(unreadBefore, 0u);
  EXPECT_EQ(expectReadAsWhole(*whole, *loader->root()), unreadBefore);
  // Asked again, a folder read already costs nothing and changes nothing.
  ASSERT_FALSE(loader->readWithin(*smallest, UINT64_MAX, {}));
  EXPECT_EQ(loader->unreadFolders(), unreadBefore);
  // Read by size after that, every folder is come to, once.
  ASSERT_FALSE(loader->readLargest(UINT64_MAX, {}));
  EXPECT_TRUE(loader->isWhole());
  EXPECT_EQ(expectReadAsWhole(*whole, *loader->root()), 0u);
}

TEST(TMLazyTreeLoader, TheFoldersBelowOneLookedIntoAreReadBySizeLater) {
  const std::shared_ptr<TMFileTree> whole = treeOfNested(nestedJson());
  ASSERT_TRUE(whole);
  const LazyExportFile file(lazyExportOf(*whole));
  const auto loader = file.loader();
  ASSERT_FALSE(loader->readLargest(1, {}));
  // The largest folder of the root alone, its own folders left unread...
  const TMFolderTree* largest = loader->root()->asFolder()->children()->at(0)->asFolder();
  ASSERT_NE(largest, nullptr);
  ASSERT_FALSE(loader->readWithin(*largest, 0, {}));
  ASSERT_NE(largest->children(), nullptr);
  // ...which reading by size comes to afterwards like any other.
  ASSERT_FALSE(loader->readLargest(UINT64_MAX, {}));
  EXPECT_TRUE(loader->isWhole());
  EXPECT_EQ(expectReadAsWhole(*whole, *loader->root()), 0u);
}

// As the window's map does while the first folders are read: another
// thread walks the tree as it grows, and never sees a list half written.
TEST(TMLazyTreeLoader, IsReadSafelyWhileItGrows) {
  const std::shared_ptr<TMFileTree> whole = treeOfNested(nestedJson());
  ASSERT_TRUE(whole);
  const LazyExportFile file(lazyExportOf(*whole));
  const auto loader = file.loader();
  std::atomic<bool> done{false};
  std::optional<std::string> failure;
  std::thread reading([&] {
    failure = loader->readLargest(UINT64_MAX, {});
    done = true;
  });
  uint64_t walks = 0;
  uint64_t seen = 0;
  const std::function<void(const TMFileTree&)> walk = [&](const TMFileTree& node) {
    ++seen;
    EXPECT_FALSE(node.filename().empty());
    const TMFolderTree* folder = node.asFolder();
    const TMChildList* children = folder != nullptr ? folder->children() : nullptr;
    uint64_t sum = 0;
    for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
      sum += children->at(i)->diskSize();
      walk(*children->at(i));
    }
    // A folder's entries come whole, and add up to its size.
    if (children != nullptr) {
      EXPECT_EQ(sum, node.diskSize()) << node.filename();
    }
  };
  while (!done || walks == 0) {
    walk(*loader->root());
    ++walks;
  }
  reading.join();
  ASSERT_FALSE(failure) << *failure;
  EXPECT_EQ(expectReadAsWhole(*whole, *loader->root()), 0u);
  EXPECT_GT(seen, 0u);
}

TEST(TMLazyTreeLoader, RefusesAFolderThatIsTheEntryOfTwo) {
  // "x" is both an entry of the root and the entry of "y", another entry.
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  TMBinaryExportWriter writer(out);
  const auto folderNamed = [](const char* name) {
    TMBinaryItem folder;
    folder.type = TMBinaryItemType::kFolder;
    folder.name = name;
    return folder;
  };
  const uint64_t xReference = writer.add(folderNamed("x"));
  TMBinaryItem y = folderNamed("y");
  y.prev = xReference;
  y.sub = xReference;
  const uint64_t yReference = writer.add(y);
  TMBinaryItem root = folderNamed("/r");
  root.sub = yReference;
  ASSERT_TRUE(writer.finish(writer.add(root)));
  std::fclose(out);
  const LazyExportFile file(std::string(buffer, size));
  std::free(buffer);
  const auto loader = file.loader();
  const auto failure = loader->readLargest(UINT64_MAX, {});
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("referred to twice"), std::string::npos) << *failure;
}

}  // namespace
}  // namespace tilemora::test
