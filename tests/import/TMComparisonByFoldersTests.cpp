// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing scans a folder at a time, either side a binary export read
// from its bytes: the same changes as comparing the whole trees read into
// memory, and an error, never a loop or a partial answer, for an export
// whose entries cannot be read.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/filetree/TMSizeMeasure.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMComparedBinaryExport.h"
#include "import/TMComparedFileTree.h"
#include "import/TMTreeComparison.h"
#include "support/TMBinaryExportBytes.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

std::unique_ptr<TMComparedTree> byFoldersSide(const std::string& bytes, bool byLength) {
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader = TMBinaryExportReader::fromBytes(bytes, error);
  std::unique_ptr<TMComparedBinaryExport> side =
      reader ? TMComparedBinaryExport::open(std::move(reader), byLength, error) : nullptr;
  EXPECT_TRUE(side) << error;
  return side;
}

// Folders of files whose sizes follow `seed`; every seventh folder left
// out where `seed` is odd, and one folder more: over a block's worth of items.
std::string byFoldersGenerated(int seed) {
  std::string json = R"([1,2,{},[{"name":"/g"})";
  for (int folder = 0; folder < 60 + seed; ++folder) {
    if (seed % 2 == 1 && folder % 7 == 3) continue;
    json += R"(,[{"name":"d)" + std::to_string(folder) + "\"}";
    for (int file = 0; file < 80; ++file) {
      const int size = 4096 * (1 + (folder * file + seed) % 7);
      json += R"(,{"name":"f)" + std::to_string(file) + R"(","dsize":)" + std::to_string(size) +
              R"(,"asize":)" + std::to_string(size - (folder + file + seed) % 100) + "}";
    }
    json += "]";
  }
  return json + "]]";
}

// A file grown (and shorter), a file become a folder, names not UTF-8
// that differ by a byte, a folder gone and one new two levels deep.
const std::string kByFoldersSaved =
    R"([1,2,{},[{"name":"/old"},[{"name":"a"},{"name":"g","dsize":100,"asize":90}],{"name":"kind","dsize":10},)"
    R"({"name":"caf\udcff","dsize":5},[{"name":"gone"},{"name":"x","dsize":20}]]])";
const std::string kByFoldersCurrent =
    R"([1,2,{},[{"name":"/new"},[{"name":"a"},{"name":"g","dsize":300,"asize":10}],[{"name":"kind"},)"
    R"({"name":"f","dsize":4}],{"name":"caf\udcfe","dsize":6},[{"name":"c"},[{"name":"deep"},)"
    R"({"name":"n","dsize":70}]]]])";

// A root "r" with "a" (a size on disk only) and "u", listed though it could
// not be examined (type -1, a length only), with the folder's sum.
std::string byFoldersUnreadableEntry(const char* aSize, const char* uLength, const char* sum) {
  return craftedExport({{fileItem('a', std::string("04") + aSize, 1),
                         fileItem('u', std::string("03") + uLength + "0200", 2, "20"),
                         folderItem('r', std::string("0c0808") + sum, 2)}},
                       18);
}

enum class ByFoldersSides { kSavedFromFile, kCurrentFromFile, kBothFromFiles };

struct ByFoldersCase {
  const char* name;
  std::function<std::string()> saved;  // binary exports
  std::function<std::string()> current;
  ByFoldersSides sides;
  bool byLength = false;
};

class TMComparisonByFolders : public ::testing::TestWithParam<ByFoldersCase> {};

TEST_P(TMComparisonByFolders, FindsWhatComparingTheWholeTreesFinds) {
  const ByFoldersCase& given = GetParam();
  const std::string savedBytes = given.saved();
  const std::string currentBytes = given.current();
  const std::shared_ptr<TMFileTree> savedTree = wholeTreeOfExport(savedBytes);
  const std::shared_ptr<TMFileTree> currentTree = wholeTreeOfExport(currentBytes);
  ASSERT_TRUE(savedTree && currentTree);
  if (given.byLength) {
    for (TMFileTree* tree : {savedTree.get(), currentTree.get()})
      remeasureTree(*tree, TMSizeMeasure::kOnDisk, TMSizeMeasure::kLength);
  }
  const TMTreeComparison expected = compareTrees(*savedTree, *currentTree);
  ASSERT_FALSE(expected.largest.empty()) << "the case changes nothing";

  const bool savedFromFile = given.sides != ByFoldersSides::kCurrentFromFile;
  const bool currentFromFile = given.sides != ByFoldersSides::kSavedFromFile;
  std::unique_ptr<TMComparedTree> saved = savedFromFile ? byFoldersSide(savedBytes, given.byLength)
                                                        : std::make_unique<TMComparedFileTree>(*savedTree);
  std::unique_ptr<TMComparedTree> current = currentFromFile ? byFoldersSide(currentBytes, given.byLength)
                                                            : std::make_unique<TMComparedFileTree>(*currentTree);
  ASSERT_TRUE(saved && current);
  const TMTreeComparison got = compareScans(*saved, *current);
  ASSERT_FALSE(got.error) << *got.error;
  EXPECT_EQ(got.oldTotal, expected.oldTotal);
  EXPECT_EQ(got.newTotal, expected.newTotal);
  EXPECT_EQ(got.newItems, expected.newItems);
  EXPECT_EQ(got.removedItems, expected.removedItems);
  EXPECT_EQ(got.grownItems, expected.grownItems);
  EXPECT_EQ(got.shrunkItems, expected.shrunkItems);
  ASSERT_EQ(got.largest.size(), expected.largest.size());
  for (size_t i = 0; i < got.largest.size(); ++i) {
    const TMChangedItem& item = got.largest[i];
    const TMChangedItem& wanted = expected.largest[i];
    EXPECT_EQ(item.path, wanted.path) << i;
    EXPECT_EQ(item.oldSize, wanted.oldSize) << wanted.path;
    EXPECT_EQ(item.newSize, wanted.newSize) << wanted.path;
    EXPECT_EQ(item.kind, wanted.kind) << wanted.path;
    EXPECT_EQ(item.folder, wanted.folder) << wanted.path;
    // Only a tree held in memory has nodes to colour.
    EXPECT_EQ(item.node, currentFromFile ? nullptr : wanted.node) << wanted.path;
  }
  EXPECT_EQ(got.nodeChanges->size(), currentFromFile ? 0 : expected.nodeChanges->size());
}

const ByFoldersCase kByFoldersCases[] = {
    {"both sides from their files", [] { return binaryExportOfJson(kByFoldersSaved); },
     [] { return binaryExportOfJson(kByFoldersCurrent); }, ByFoldersSides::kBothFromFiles},
    {"the saved side from its file", [] { return binaryExportOfJson(kByFoldersSaved); },
     [] { return binaryExportOfJson(kByFoldersCurrent); }, ByFoldersSides::kSavedFromFile},
    {"the current side from its file", [] { return binaryExportOfJson(kByFoldersSaved); },
     [] { return binaryExportOfJson(kByFoldersCurrent); }, ByFoldersSides::kCurrentFromFile},
    {"measured by length", [] { return binaryExportOfJson(kByFoldersSaved); },
     [] { return binaryExportOfJson(kByFoldersCurrent); }, ByFoldersSides::kBothFromFiles, true},
    {"thousands of files across blocks", [] { return binaryExportOfJson(byFoldersGenerated(0)); },
     [] { return binaryExportOfJson(byFoldersGenerated(1)); }, ByFoldersSides::kBothFromFiles},
    {"thousands of files by length", [] { return binaryExportOfJson(byFoldersGenerated(0)); },
     [] { return binaryExportOfJson(byFoldersGenerated(1)); }, ByFoldersSides::kSavedFromFile, true},
    {"an entry not examined and a size missing", [] { return byFoldersUnreadableEntry("0a", "05", "0f"); },
     [] { return byFoldersUnreadableEntry("0c", "07", "13"); }, ByFoldersSides::kBothFromFiles},
};
INSTANTIATE_TEST_SUITE_P(Pairs, TMComparisonByFolders, ::testing::ValuesIn(kByFoldersCases), caseNamesByName);

struct ByFoldersBrokenCase {
  const char* name;
  std::function<std::string()> bytes;
  const char* error;  // a part of the reason told
  bool atOpening = false;
};

class TMComparisonByFoldersBroken : public ::testing::TestWithParam<ByFoldersBrokenCase> {};

// The export is compared with itself: a walk that follows its references
// on both sides would find the same folders again and again.
TEST_P(TMComparisonByFoldersBroken, TellsWhyInsteadOfComparing) {
  const std::string bytes = GetParam().bytes();
  std::string error;
  std::unique_ptr<TMBinaryExportReader> reader = TMBinaryExportReader::fromBytes(bytes, error);
  ASSERT_TRUE(reader) << error;
  std::unique_ptr<TMComparedBinaryExport> side = TMComparedBinaryExport::open(std::move(reader), false, error);
  if (GetParam().atOpening) {
    EXPECT_FALSE(side);
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
    return;
  }
  ASSERT_TRUE(side) << error;
  std::unique_ptr<TMComparedTree> other = byFoldersSide(bytes, false);
  ASSERT_TRUE(other);
  const TMTreeComparison comparison = compareScans(*side, *other);
  ASSERT_TRUE(comparison.error) << "compared as if whole";
  EXPECT_NE(comparison.error->find(GetParam().error), std::string::npos) << *comparison.error;
}

const ByFoldersBrokenCase kByFoldersBrokenCases[] = {
    {"a root that is a file", [] { return craftedExport({{fileItem('f')}}, 0); }, "must be a folder", true},
    {"a name holding a slash", [] { return craftedExport({{"a2000101436" "12f62", folderItem('r', "0c00", 1)}}, 8); },
     "cannot be the name"},
    {"a folder whose entry is the folder above",
     [] { return craftedExport({{folderItem('r', "0c08", 1), folderItem('d', "0c00", 1)}}, 0); },
     "referred to more than once"},
    {"an entry before it past its block",
     [] { return craftedExport({{fileItem('a', "021864", 1), folderItem('r', "0c00", 1)}}, 9); }, "past the end"},
};
INSTANTIATE_TEST_SUITE_P(Files, TMComparisonByFoldersBroken, ::testing::ValuesIn(kByFoldersBrokenCases),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
