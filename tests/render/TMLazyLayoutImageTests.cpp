// SPDX-License-Identifier: GPL-3.0-or-later
// A map whose folders are laid out as they are looked at paints exactly
// what the whole layout paints, pixel for pixel, on random trees: drawn
// small first (most folders left as they are), then large after deletions
// made in both layouts, mostly in folders the lazy one had not laid out.

#include <gtest/gtest.h>

#include <random>

#include "core/drawing/TMTypeColoring.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/filetree/TMFilesBelow.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutBuilding.h"
#include "render/TMMapImage.h"
#include "support/TMCaseNames.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMRandomTree.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

struct LazyMapCase {
  unsigned seed;
  bool byType;  // else by depth
  int32_t depth = blockSizes.finalLayoutDepth;  // the folder levels laid out
};

std::string describeLazyCase(const LazyMapCase& c) {
  return "seed " + std::to_string(c.seed) + (c.byType ? " by type" : " by depth") +
         (c.depth == blockSizes.finalLayoutDepth ? "" : " to level " + std::to_string(c.depth));
}

class TMLazyLayoutImage : public ::testing::TestWithParam<LazyMapCase> {
 protected:
  void SetUp() override {
    std::mt19937 random{GetParam().seed};
    scan = scanToEnd("/root", std::make_shared<TMMemoryFileSystem>(randomBranch(random, "root", 0)));
    whole = createLayoutTree(*scan.root, GetParam().depth, 0, TMLayoutBuilt::kAtOnce);
    lazy = createLayoutTree(*scan.root, GetParam().depth, 0, TMLayoutBuilt::kWhenLookedAt);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(lazy, nullptr);
    if (GetParam().byType) coloring = std::make_unique<TMTypeColoring>();
  }

  // Both layouts painted at `width` × `height`: how many pixels differ.
  int differingPixels(int width, int height) {
    const QImage expected = renderTreeMap(*whole, width, height, coloring.get());
    const QImage drawn = renderTreeMap(*lazy, width, height, coloring.get());
    if (expected == drawn) return 0;
    int differing = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) differing += expected.pixel(x, y) != drawn.pixel(x, y);
    }
    return differing;
  }

  // Deletes `count` entries picked at random, from the tree and both layouts.
  void deleteSome(int count, std::mt19937& random) {
    for (int done = 0; done < count; ++done) {
      std::vector<std::vector<std::string>> paths;
      std::vector<std::string> components{"/", "root"};
      collectPaths(*scan.root, components, paths);
      if (paths.empty()) return;
      const auto& parts = paths[std::uniform_int_distribution<size_t>(0, paths.size() - 1)(random)];
      const TMFileTreePath path = TMFileTreePath::resolve(*scan.root, parts, 1);
      ASSERT_NE(path.target(), nullptr);
      TMFileTree::deleteNodeOnPath(path, [](const TMFileURL&) { return TMTrashResult{true, {}}; });
      TMLayoutNode::deleteNode(*whole, path);
      TMLayoutNode::deleteNode(*lazy, path);
    }
  }

  static void collectPaths(const TMFileTree& node, std::vector<std::string>& components,
                           std::vector<std::vector<std::string>>& paths) {
    const TMFolderTree* folder = node.asFolder();
    const TMChildList* list = folder ? folder->children() : nullptr;
    for (uint32_t i = 0; list != nullptr && i < list->count(); ++i) {
      components.emplace_back(list->at(i)->filename());
      paths.push_back(components);
      collectPaths(*list->at(i), components, paths);
      components.pop_back();
    }
  }

  TMFinishedScan scan;
  std::unique_ptr<TMLayoutNode> whole;
  std::unique_ptr<TMLayoutNode> lazy;
  std::unique_ptr<TMFileColoring> coloring;
};

TEST_P(TMLazyLayoutImage, PaintsWhatTheWholeLayoutPaints) {
  std::mt19937 random{GetParam().seed + 1000};
  EXPECT_EQ(differingPixels(240, 180), 0) << "small, the lazy map drawn first";
  deleteSome(4, random);  // mostly in folders the lazy map has not laid out
  EXPECT_EQ(differingPixels(1400, 1000), 0) << "large, after deletions";
  deleteSome(4, random);
  EXPECT_EQ(differingPixels(1800, 1350), 0) << "larger, after more deletions";
}

std::vector<LazyMapCase> lazyMapCases() {
  std::vector<LazyMapCase> cases;
  for (unsigned seed = 1; seed <= 8; ++seed) cases.push_back({seed, seed % 2 == 0});
  // Folders at the depth limit have no layout: their bytes stay unfilled.
  for (unsigned seed = 10; seed <= 11; ++seed) cases.push_back({seed, false, int32_t(seed) - 8});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(RandomTrees, TMLazyLayoutImage, ::testing::ValuesIn(lazyMapCases()),
                         caseNamesBy([](const LazyMapCase& c) { return describeLazyCase(c); }));

}  // namespace
}  // namespace tilemora::test
