// SPDX-License-Identifier: GPL-3.0-or-later
// Where layout nodes live: in the arena of the scope open on the building
// thread, else on the heap; a node deleted from an arena is not freed, and
// the arena's memory goes with it. (AddressSanitizer checks the frees.)

#include <gtest/gtest.h>

#include "core/layout/TMLayoutBuilding.h"
#include "core/layout/TMLayoutArena.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "view/map/TMSharedLayout.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

E folderOf(int files) {
  E folder = E::directory("data", {E::directory("inner", {E::file("x", 3)})});
  for (int i = 0; i < files; ++i) folder.children.push_back(E::file("f" + std::to_string(i), 1 + i % 5));
  return folder;
}

// Every node of a layout: leaves, folders and split nodes.
std::vector<const TMLayoutNode*> allNodes(TMLayoutNode* root) {
  std::vector<const TMLayoutNode*> nodes;
  std::vector<TMLayoutNode*> pending{root};
  while (!pending.empty()) {
    TMLayoutNode* node = pending.back();
    pending.pop_back();
    if (node == nullptr) continue;
    nodes.push_back(node);
    if (auto* split = dynamic_cast<TMLayoutTree*>(node)) {
      split->layOutSides();
      pending.push_back(split->left());
      pending.push_back(split->right());
    } else if (auto* folder = dynamic_cast<TMLayoutFolder*>(node)) {
      pending.push_back(folder->contents());
    }
  }
  return nodes;
}

struct PlacementCase {
  std::string name;
  bool shared;  // built by makeSharedLayout, which opens a scope
  int files;
};

class TMLayoutArenaPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(TMLayoutArenaPlacement, NodesLiveWhereTheirBuilderPutThem) {
  TMFinishedScan scan = scanToEnd("/data", std::make_shared<TMMemoryFileSystem>(folderOf(GetParam().files)));
  std::shared_ptr<TMLayoutNode> layout =
      GetParam().shared ? makeSharedLayout(scan.root, 65536, layoutBuiltUnderTest())
                        : std::shared_ptr<TMLayoutNode>(createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest()));
  ASSERT_NE(layout, nullptr);
  const std::vector<const TMLayoutNode*> nodes = allNodes(layout.get());
  EXPECT_EQ(nodes.size(), size_t(2 * (GetParam().files + 2)));  // each placed node and a split above it
  for (const TMLayoutNode* node : nodes) EXPECT_EQ(TMLayoutArena::contains(node), GetParam().shared);
  const TMLayoutNode* first = nodes.front();
  layout.reset();
  EXPECT_FALSE(TMLayoutArena::contains(first));  // the arena went with its layout
}

INSTANTIATE_TEST_SUITE_P(Builders, TMLayoutArenaPlacement,
                         ::testing::Values(PlacementCase{"shared_small", true, 10},
                                           PlacementCase{"shared_over_several_blocks", true, 60000},
                                           PlacementCase{"plain_on_the_heap", false, 10}),
                         caseNamesByName);

TEST(TMLayoutArena, NodesMadeOutsideTheScopeAreFreedAsUsual) {
  TMFinishedScan scan = scanToEnd("/data", std::make_shared<TMMemoryFileSystem>(folderOf(3)));
  TMLayoutArena arena;
  std::unique_ptr<TMLayoutNode> placed;
  {
    TMLayoutArena::Scope placing(arena);
    placed = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
    // A nested scope of another arena takes over, and gives back on leaving.
    TMLayoutArena other;
    {
      TMLayoutArena::Scope inner(other);
      EXPECT_EQ(TMLayoutArena::current(), &other);
    }
    EXPECT_EQ(TMLayoutArena::current(), &arena);
  }
  EXPECT_EQ(TMLayoutArena::current(), nullptr);
  std::unique_ptr<TMLayoutNode> loose = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
  EXPECT_TRUE(TMLayoutArena::contains(placed.get()));
  EXPECT_FALSE(TMLayoutArena::contains(loose.get()));
  EXPECT_GT(arena.reservedBytes(), 0u);
  placed.reset();
  loose.reset();
}

}  // namespace
}  // namespace tilemora::test
