// SPDX-License-Identifier: GPL-3.0-or-later
// Several threads scanning one tree give the tree one thread gives: the
// same names, sizes, kinds and order everywhere, the same unreadable
// folders and the same number of notices, and write the same binary
// export. Run under ThreadSanitizer, the same scans prove the writers do
// not race each other.

#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "TMBinaryScanExport.h"
#include "core/scan/TMOpenFolderChain.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

// One line per node, depth first, children in their stored order; built
// without recursion, as the trees may be deep.
std::string describe(const TMFileTree* root) {
  std::string text;
  std::vector<std::pair<const TMFileTree*, size_t>> pending{{root, 0}};
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    text += std::to_string(depth) + ' ' + std::string(node->filename()) + ' ' + std::to_string(node->diskSize()) +
            (node->asFolder() ? " folder\n" : "\n");
    const std::vector<const TMFileTree*> children = childrenOf(node);
    for (auto child = children.rbegin(); child != children.rend(); ++child) pending.emplace_back(*child, depth + 1);
  }
  return text;
}

std::string firstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t line = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
  return "one thread: " + a.substr(line, 80) + "\nseveral:    " + b.substr(line, 80);
}

// Heavy-tailed fan-out as on real disks: most folders small, a few wide.
TMMemoryEntry randomFolder(std::mt19937& random, const std::string& name, int depth) {
  TMMemoryEntry folder = TMMemoryEntry::directory(name, {});
  const bool wide = depth > 0 && std::bernoulli_distribution(0.02)(random);
  const int entries = wide ? 5000 : std::uniform_int_distribution<int>(depth == 0 ? 20 : 0, 10 + 10 / (depth + 1))(random);
  for (int i = 0; i < entries; ++i) {
    const std::string childName = name.substr(0, 1) + std::to_string(i);
    if (depth < 6 && !wide && std::bernoulli_distribution(0.35)(random)) {
      folder.children.push_back(randomFolder(random, childName, depth + 1));
    } else {
      // Many equal sizes: their order must not depend on who listed them.
      folder.children.push_back(TMMemoryEntry::file(childName, std::uniform_int_distribution<uint64_t>(0, 40)(random)));
    }
  }
  return folder;
}

// A chain deeper than the folders a thread keeps open, a side folder at
// every level so that levels get handed to other threads.
TMMemoryEntry chain(int depth) {
  TMMemoryEntry bottom = TMMemoryEntry::directory("d", {TMMemoryEntry::file("f", 8)});
  for (int level = depth - 1; level > 0; --level) {
    TMMemoryEntry above = TMMemoryEntry::directory("d", {TMMemoryEntry::file("f", uint64_t(level % 7))});
    above.children.push_back(std::move(bottom));  // moved: a list of braces would copy
    above.children.push_back(
        TMMemoryEntry::directory("side", {TMMemoryEntry::file("a", 1), TMMemoryEntry::file("b", 2)}));
    bottom = std::move(above);
  }
  return bottom;
}

// Odd names, links, special files, and faults the scan must report.
std::shared_ptr<TMFileSystem> hostileTree(const TMTemporaryTree& tree) {
  for (int f = 0; f < 40; ++f) {
    const std::string folder = "folder" + std::to_string(f);
    tree.makeFolder(folder + "/inner/deeper");
    for (int i = 0; i < 30; ++i) tree.makeFile(folder + "/file" + std::to_string(i), uint64_t(i % 3) * 5000);
    tree.makeFile(folder + "/inner/deeper/x", 9000);
  }
  tree.makeFile("folder1/new\nline", 100);
  tree.makeFile(std::string("folder2/bad\xff\xfe name"), 7000);
  tree.makeFile("folder3/" + std::string(255, 'n'), 12000);
  tree.makeSymlink("folder4/loop", "..");
  tree.makeFifo("folder5/fifo");
  EXPECT_EQ(::link(tree.pathOf("folder6/file1").c_str(), tree.pathOf("folder7/hardlink").c_str()), 0);
  tree.makeFolder("locked/a");
  tree.makeFolder("folder8/locked");
  tree.makeFile("folder9/inner/secret", 10);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->unopenableFolders = {"locked"};
  fileSystem->vanishingEntries = {"file7"};
  fileSystem->deniedEntries = {"secret"};
  fileSystem->otherDeviceEntries = {"folder10"};
  return fileSystem;
}

struct TreeCase {
  std::string name;
  std::function<std::shared_ptr<TMFileSystem>(const TMTemporaryTree&)> make;
  bool onDisk;
};

TreeCase randomTree(unsigned seed) {
  return {"random seed " + std::to_string(seed),
          [seed](const TMTemporaryTree&) -> std::shared_ptr<TMFileSystem> {
            std::mt19937 random(seed);
            return std::make_shared<TMMemoryFileSystem>(randomFolder(random, "root", 0));
          },
          false};
}

const TreeCase kTrees[] = {
    randomTree(1),
    randomTree(2),
    randomTree(3),
    {"deep chain", [](const TMTemporaryTree&) { return std::make_shared<TMMemoryFileSystem>(chain(3000)); }, false},
    {"hostile on disk", hostileTree, true},
};

struct SameTreeCase {
  const TreeCase* tree;
  unsigned threads;
};

std::vector<SameTreeCase> sameTreeCases() {
  std::vector<SameTreeCase> cases;
  for (const TreeCase& tree : kTrees) {
    for (unsigned threads : {2u, 4u}) cases.push_back({&tree, threads});
  }
  return cases;
}

class TMParallelScanSameTree : public ::testing::TestWithParam<SameTreeCase> {};

TEST_P(TMParallelScanSameTree, GivesTheTreeOneThreadGives) {
  TMTemporaryTree disk;
  std::shared_ptr<TMFileSystem> fileSystem = GetParam().tree->make(disk);
  const std::string path = GetParam().tree->onDisk ? disk.path() : "/root";
  TMScanOptions options;
  const TMFinishedScan alone = scanToEnd(path, fileSystem, nullptr, options);
  options.threads = GetParam().threads;
  const TMFinishedScan several = scanToEnd(path, fileSystem, nullptr, options);

  const std::string expected = describe(alone.root.get());
  const std::string found = describe(several.root.get());
  EXPECT_TRUE(found == expected) << firstDifference(expected, found);
  EXPECT_EQ(several.receiver->count(), alone.receiver->count());
  EXPECT_EQ(several.noticesAtEnd, alone.noticesAtEnd);
  EXPECT_EQ(several.task->unreadableFolderCount(), alone.task->unreadableFolderCount());
  const std::vector<TMUnreadableFolder>& folders = several.task->unreadableFolders();
  const std::vector<TMUnreadableFolder>& expectedFolders = alone.task->unreadableFolders();
  EXPECT_TRUE(std::is_permutation(folders.begin(), folders.end(), expectedFolders.begin(), expectedFolders.end()))
      << folders.size() << " against " << expectedFolders.size();
}

// Passes everything on to the export, and counts the threads it follows.
class TMThreadsCounted : public TMScanObserver {
 public:
  TMThreadsCounted(std::unique_ptr<TMScanObserver> inner, std::shared_ptr<std::atomic<int>> threads)
      : inner_(std::move(inner)), threads_(std::move(threads)) {}
  void folderEntered(std::string_view name, const struct stat& info) override { inner_->folderEntered(name, info); }
  void folderDenied() override { inner_->folderDenied(); }
  void folderLeft(bool unreadable) override { inner_->folderLeft(unreadable); }
  void fileFound(std::string_view name, const struct stat& info) override { inner_->fileFound(name, info); }
  void mountPointSkipped(std::string_view name, const struct stat& info) override {
    inner_->mountPointSkipped(name, info);
  }
  void entryExcluded(std::string_view name, const char* why) override { inner_->entryExcluded(name, why); }
  bool followsThreads() const override { return inner_->followsThreads(); }
  std::unique_ptr<TMScanObserver> forAnotherThread() override {
    ++*threads_;
    return std::make_unique<TMThreadsCounted>(inner_->forAnotherThread(), threads_);
  }
  std::shared_ptr<HandOff> folderHandedOff() override { return inner_->folderHandedOff(); }
  void folderTakenOver(const std::shared_ptr<HandOff>& handOff) override { inner_->folderTakenOver(handOff); }
  void threadEnded() override { inner_->threadEnded(); }

 private:
  std::unique_ptr<TMScanObserver> inner_;
  std::shared_ptr<std::atomic<int>> threads_;
};

// The binary export of a scan of `path` with `options`, and how many
// threads of a parallel scan wrote it (none for a scan by one).
std::pair<std::string, int> exportOfScan(const std::string& path, std::shared_ptr<TMFileSystem> fileSystem,
                                         const TMScanOptions& options) {
  char* buffer = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&buffer, &size);
  auto exporter = new TMBinaryScanExport(out);
  auto threads = std::make_shared<std::atomic<int>>(0);
  auto observer = std::make_shared<TMThreadsCounted>(std::unique_ptr<TMScanObserver>(exporter), threads);
  scanToEnd(path, std::move(fileSystem), nullptr, options, observer);
  EXPECT_TRUE(exporter->finish());
  std::fclose(out);
  std::string bytes(buffer, size);
  std::free(buffer);
  return {bytes, threads->load()};
}

// Every item of a binary export by its path, as text: all it says but its
// references, which depend on where it was written.
std::map<std::string, std::string> describedItems(const std::string& bytes) {
  const auto field = [](const std::optional<uint64_t>& value) {
    return value ? std::to_string(*value) : std::string("-");
  };
  std::map<std::string, std::string> described;
  for (const auto& [path, item] : itemsByPath(bytes)) {
    described[path] = std::to_string(int(item.type)) + " " + field(item.asize) + " " + field(item.dsize) + " dev " +
                      field(item.dev) + " ino " + field(item.ino) + " " + field(item.nlink) + " " +
                      field(item.mtime) + " " + field(item.cumulativeAsize) + " " + field(item.cumulativeDsize) +
                      " items " + field(item.items) +
                      (item.readError ? *item.readError ? " unreadable" : " unreadable below" : "");
  }
  return described;
}

TEST_P(TMParallelScanSameTree, WritesTheBinaryExportOneThreadWrites) {
  TMTemporaryTree disk;
  std::shared_ptr<TMFileSystem> fileSystem = GetParam().tree->make(disk);
  const std::string path = GetParam().tree->onDisk ? disk.path() : "/root";
  TMScanOptions options;
  options.threads = 1;
  const auto [alone, oneThread] = exportOfScan(path, fileSystem, options);
  options.threads = GetParam().threads;
  const auto [several, threads] = exportOfScan(path, fileSystem, options);
  EXPECT_EQ(oneThread, 0);
  EXPECT_EQ(threads, int(GetParam().threads));

  const std::map<std::string, std::string> expected = describedItems(alone);
  const std::map<std::string, std::string> found = describedItems(several);
  ASSERT_GT(expected.size(), 1u);
  auto left = expected.begin();
  auto right = found.begin();
  for (; left != expected.end() && right != found.end() && *left == *right; ++left, ++right) {
  }
  EXPECT_TRUE(left == expected.end() && right == found.end())
      << "one thread:  " << (left == expected.end() ? "(end)" : left->first + ": " + left->second)
      << "\nseveral:     " << (right == found.end() ? "(end)" : right->first + ": " + right->second);
}

INSTANTIATE_TEST_SUITE_P(Trees, TMParallelScanSameTree, ::testing::ValuesIn(sameTreeCases()),
                         caseNamesBy([](const SameTreeCase& c) {
                           return c.tree->name + " with " + std::to_string(c.threads) + " threads";
                         }));

// Hard links counted once are counted once whichever threads meet them:
// a few files, each linked from every one of many folders, add up to the
// files' own sizes, in any order the threads happen to take. Opening a
// folder takes a moment here, so that the folders are spread over the
// threads instead of one thread listing them all before the others start.
class TMParallelScanLinksOnce : public ::testing::TestWithParam<unsigned> {};

TEST_P(TMParallelScanLinksOnce, CountsEveryLinkedFileOnce) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  uint64_t files = 0;
  for (int file = 0; file < 4; ++file) files += tree.makeFile("f" + std::to_string(file), uint64_t(file + 1) * 4096);
  for (int folder = 0; folder < 24; ++folder) {
    const std::string name = "d" + std::to_string(folder) + "/inner";
    tree.makeFolder(name);
    for (int file = 0; file < 4; ++file) {
      const std::string link = name + "/l" + std::to_string(file);
      ASSERT_EQ(::link(tree.pathOf("f" + std::to_string(file)).c_str(), tree.pathOf(link).c_str()), 0);
    }
  }
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  std::mutex threadsMutex;
  std::set<std::thread::id> listingThreads;
  fileSystem->beforeOpeningFolder = [&](int, const char* name) {
    if (std::string_view(name) != "inner") return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::lock_guard<std::mutex> lock(threadsMutex);
    listingThreads.insert(std::this_thread::get_id());
  };
  TMScanOptions options;
  options.hardLinksOnce = true;
  options.threads = GetParam();
  const TMFinishedScan scan = scanToEnd(tree.path(), fileSystem, nullptr, options);
  EXPECT_EQ(scan.root->diskSize(), files);
  if (GetParam() > 1) {
    EXPECT_GT(listingThreads.size(), 1u);  // the case this is about
  }
}

INSTANTIATE_TEST_SUITE_P(Threads, TMParallelScanLinksOnce, ::testing::Values(1u, 2u, 4u, 8u),
                         caseNamesBy([](unsigned threads) { return std::to_string(threads) + " threads"; }));

// Each thread keeps fewer folders open than one thread alone may, one
// more for a folder waiting to be handed over: however deep the tree,
// the scan never holds more than that many per thread.
TEST(TMParallelScan, KeepsAtMostTheOneThreadShareOfFoldersOpenPerThread) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  std::string path;
  for (int level = 0; level < 3 * int(TMOpenFolderChain::kKeptOpen); ++level) {
    path += "d/";
    tree.makeFolder(path + "side");
    tree.makeFile(path + "side/f", 1);
  }
  const int before = openDescriptorCount();
  std::atomic<int> most{before};
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->beforeOpeningFolder = [&](int, const char*) {
    const int now = openDescriptorCount();
    for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
    }
  };
  TMScanOptions options;
  options.threads = 4;
  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem, nullptr, options);
  EXPECT_EQ(scan.root->diskSize(), 3 * TMOpenFolderChain::kKeptOpen * uint64_t(tree.allocatedSize("d/side/f")));
  EXPECT_LE(most.load() - before, 4 * int(TMOpenFolderChain::kKeptOpen + 1));
  scan.task.reset();  // its thread ended: none of its transient files open
  EXPECT_EQ(openDescriptorCount(), before);
}

}  // namespace
}  // namespace tilemora::test
