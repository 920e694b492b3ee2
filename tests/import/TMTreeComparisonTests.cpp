// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/TMTreeComparison.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/filetree/TMFolderTree.h"
#include "import/TMNcduImport.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

std::shared_ptr<TMFileTree> treeOf(std::string entries) {
  std::string text = "[1,2,{}," + entries + "]";
  std::FILE* input = ::fmemopen(text.data(), text.size(), "r");
  auto result = importNcduExport(input);
  std::fclose(input);
  EXPECT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
  return std::get<TMImportedScan>(result).root;
}

// A folder scanned twice, on two machines (the roots' paths differ): a file
// grown, one shrunk, one removed, one new folder, a folder renamed, a file
// become a folder, and names that are not UTF-8 and differ by one byte.
const std::string kSaved =
    R"([{"name":"/home/old"},[{"name":"a"},{"name":"grow","dsize":100},{"name":"shrink","dsize":50}],)"
    R"([{"name":"b"},{"name":"gone","dsize":30}],{"name":"same","dsize":8},)"
    R"([{"name":"olddir"},{"name":"x","dsize":20}],{"name":"caf\udcff","dsize":5},{"name":"kind","dsize":10},)"
    R"([{"name":"keep"},{"name":"k","dsize":2}]])";
const std::string kCurrent =
    R"([{"name":"/srv/new"},[{"name":"a"},{"name":"grow","dsize":300},{"name":"shrink","dsize":1}],)"
    R"([{"name":"b"}],{"name":"same","dsize":8},[{"name":"newdir"},{"name":"x","dsize":20}],)"
    R"([{"name":"c"},{"name":"new","dsize":70}],{"name":"caf\udcff","dsize":5},{"name":"caf\udcfe","dsize":6},)"
    R"([{"name":"kind"},{"name":"f","dsize":4}],[{"name":"keep"},{"name":"k","dsize":2}]])";

struct ItemCase {
  const char* name;
  std::string path;
  TMChangeKind kind;
  uint64_t oldSize;
  uint64_t newSize;
  bool folder;
};

class TMTreeComparisonItems : public ::testing::TestWithParam<ItemCase> {
 protected:
  static void SetUpTestSuite() {
    saved_ = treeOf(kSaved);
    current_ = treeOf(kCurrent);
    comparison_ = compareTrees(*saved_, *current_);
  }
  static inline std::shared_ptr<TMFileTree> saved_, current_;
  static inline TMTreeComparison comparison_;
};

TEST_P(TMTreeComparisonItems, ListsTheChangeWithItsSizes) {
  const ItemCase& expected = GetParam();
  int found = 0;
  for (const TMChangedItem& item : comparison_.largest) {
    if (item.path != expected.path || item.kind != expected.kind) continue;
    ++found;
    EXPECT_EQ(item.oldSize, expected.oldSize);
    EXPECT_EQ(item.newSize, expected.newSize);
    EXPECT_EQ(item.folder, expected.folder);
    EXPECT_EQ(item.node == nullptr, expected.kind == TMChangeKind::kRemoved);
  }
  EXPECT_EQ(found, 1);
}

INSTANTIATE_TEST_SUITE_P(
    KnownPair, TMTreeComparisonItems,
    ::testing::Values(ItemCase{"grown file", "a/grow", TMChangeKind::kGrew, 100, 300, false},
                      ItemCase{"shrunk file", "a/shrink", TMChangeKind::kShrank, 50, 1, false},
                      ItemCase{"removed file in a kept folder", "b/gone", TMChangeKind::kRemoved, 30, 0, false},
                      ItemCase{"new folder as one item", "c", TMChangeKind::kNew, 0, 70, true},
                      ItemCase{"renamed folder removed", "olddir", TMChangeKind::kRemoved, 20, 0, true},
                      ItemCase{"renamed folder new", "newdir", TMChangeKind::kNew, 0, 20, true},
                      ItemCase{"name differing by a raw byte", "caf\xfe", TMChangeKind::kNew, 0, 6, false},
                      ItemCase{"file become folder removed", "kind", TMChangeKind::kRemoved, 10, 0, false},
                      ItemCase{"file become folder new", "kind", TMChangeKind::kNew, 0, 4, true}),
    caseNamesByName);

TEST_F(TMTreeComparisonItems, CountsTotalsAndOrdersLargestFirst) {
  EXPECT_EQ(comparison_.oldTotal, 225u);
  EXPECT_EQ(comparison_.newTotal, 416u);
  EXPECT_EQ(comparison_.newItems, 4u);
  EXPECT_EQ(comparison_.removedItems, 3u);
  EXPECT_EQ(comparison_.grownItems, 1u);
  EXPECT_EQ(comparison_.shrunkItems, 1u);
  // Nothing unchanged is listed, the same name with the same bytes included.
  EXPECT_EQ(comparison_.largest.size(), 9u);
  for (size_t i = 1; i < comparison_.largest.size(); ++i)
    EXPECT_GE(comparison_.largest[i - 1].difference(), comparison_.largest[i].difference());
  // Only the largest are kept when asked for fewer.
  const TMTreeComparison two = compareTrees(*saved_, *current_, 2);
  ASSERT_EQ(two.largest.size(), 2u);
  EXPECT_EQ(two.largest[0].path, "a/grow");
  EXPECT_EQ(two.largest[1].path, "c");
}

// The map's colours: each file of the current tree by its change.
TEST_F(TMTreeComparisonItems, ColoursEveryFileByItsChange) {
  const TMChangeColoring coloring(comparison_.nodeChanges);
  const TMColor depth{};
  const std::vector<std::pair<std::string, TMChangeKind>> files{
      {"a/grow", TMChangeKind::kGrew},      {"a/shrink", TMChangeKind::kShrank},   {"c/new", TMChangeKind::kNew},
      {"newdir/x", TMChangeKind::kNew},     {"kind/f", TMChangeKind::kNew},       {"caf\xfe", TMChangeKind::kNew},
      {"same", TMChangeKind::kUnchanged},   {"caf\xff", TMChangeKind::kUnchanged},
      // Folders tell their sizes too.
      {"a", TMChangeKind::kGrew},           {"c", TMChangeKind::kNew},            {"b", TMChangeKind::kShrank},
      {"keep", TMChangeKind::kUnchanged},   {"keep/k", TMChangeKind::kUnchanged}};
  EXPECT_EQ(comparison_.nodeChanges->largestChange(), 200u);
  for (const auto& [path, kind] : files) {
    const TMFileTree* node = current_.get();
    for (size_t start = 0; start <= path.size();) {
      const size_t end = std::min(path.find('/', start), path.size());
      const TMChildList* children = node->asFolder()->children();
      const TMFileTree* next = nullptr;
      for (uint32_t i = 0; i < children->count(); ++i)
        if (children->at(i)->filename() == path.substr(start, end - start)) next = children->at(i);
      ASSERT_NE(next, nullptr) << path;
      node = next;
      start = end + 1;
    }
    const TMNodeChange* change = comparison_.nodeChanges->find(*node);
    EXPECT_EQ(change == nullptr, kind == TMChangeKind::kUnchanged) << path;
    const TMColor* colour = coloring.colorOf(*node, depth);
    if (kind == TMChangeKind::kUnchanged) {
      EXPECT_EQ(colour, &coloring.colorOfStep(TMChangeKind::kUnchanged, 0)) << path;
    } else {
      EXPECT_EQ(changeKindOf(change->oldSize, node->diskSize()), kind) << path;
      EXPECT_NE(colour, &coloring.colorOfStep(TMChangeKind::kUnchanged, 0)) << path;
    }
  }
}

// The strongest colour is the largest change of a file: a folder's change,
// the sum of its files', is larger still and sets no scale.
TEST(TMChangeColoring, TheStrongestIsTheLargestFileChangeNotAFolders) {
  const auto saved = treeOf(R"([{"name":"/r"},[{"name":"d"},{"name":"x","dsize":10}]])");
  const auto current = treeOf(
      R"([{"name":"/r"},[{"name":"d"},{"name":"x","dsize":10},{"name":"y","dsize":30},{"name":"z","dsize":20}]])");
  const TMTreeComparison comparison = compareTrees(*saved, *current);
  EXPECT_EQ(comparison.nodeChanges->largestChange(), 30u);
  const TMChangeColoring coloring(comparison.nodeChanges);
  const TMFileTree* folder = current->asFolder()->children()->at(0);
  const TMFileTree* y = folder->asFolder()->children()->at(0);
  ASSERT_EQ(y->filename(), "y");
  EXPECT_EQ(coloring.colorOf(*y, TMColor()), &coloring.colorOfStep(TMChangeKind::kNew, kChangeSteps - 1));
}

struct ChangeStepCase {
  const char* name;
  uint64_t difference;
  uint64_t largest;
  size_t step;
};

class TMChangeSteps : public ::testing::TestWithParam<ChangeStepCase> {};

TEST_P(TMChangeSteps, GrowWithTheSquareRootOfTheShare) {
  EXPECT_EQ(changeStepOf(GetParam().difference, GetParam().largest), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Shares, TMChangeSteps,
                         ::testing::Values(ChangeStepCase{"nothing", 0, 100, 0}, ChangeStepCase{"a hundredth", 1, 100, 0},
                                           ChangeStepCase{"just under a twenty fifth", 3, 100, 0},
                                           ChangeStepCase{"a twenty fifth", 4, 100, 1}, ChangeStepCase{"a quarter", 25, 100, 2},
                                           ChangeStepCase{"just under all", 99, 100, 4}, ChangeStepCase{"all", 100, 100, 4},
                                           ChangeStepCase{"more than the largest", 500, 100, 4},
                                           ChangeStepCase{"no change at all", 0, 0, 0}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
