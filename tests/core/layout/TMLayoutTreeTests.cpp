// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/TMLayoutTree.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

uint64_t sizeOf(const TMLayoutNode* node) { return node ? node->nodeSize() : ~uint64_t(0); }
const TMLayoutTree* split(const TMLayoutNode* node) { return dynamic_cast<const TMLayoutTree*>(node); }

TEST(TMLayoutTree, SplitsFiftyThirtyTwentyAtHalfThenSixTenths) {
  TMLeafFactory factory;
  TMLayoutTree tree(factory.leaves({50, 30, 20}), 100);
  EXPECT_EQ(tree.splitPos(), 0.5f);
  EXPECT_EQ(sizeOf(tree.left()), 50u);
  const TMLayoutTree* right = split(tree.right());
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(right->splitPos(), 0.6f);
  EXPECT_EQ(sizeOf(right->left()), 30u);
  EXPECT_EQ(sizeOf(right->right()), 20u);
}

TEST(TMLayoutTree, TheNodeThatCrossesHalfStillGoesFirst) {
  TMLeafFactory factory;
  TMLayoutTree tree(factory.leaves({40, 35, 25}), 100);
  EXPECT_EQ(tree.splitPos(), 0.75f);
  EXPECT_EQ(sizeOf(tree.right()), 25u);
  const TMLayoutTree* left = split(tree.left());
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->splitPos(), 40.0f / 75.0f);
  EXPECT_EQ(sizeOf(left->left()), 40u);
  EXPECT_EQ(sizeOf(left->right()), 35u);
}

struct SplitCase {
  const char* what;
  std::vector<uint64_t> sizes;
  uint64_t total;
  float splitPos;
  bool hasLeft;
  bool hasRight;
};

class TMSplitCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(TMSplitCases, PlacesNodesAsTheWalkDecides) {
  const SplitCase& c = GetParam();
  TMLeafFactory factory;
  std::vector<std::unique_ptr<TMLayoutNode>> list;
  for (uint64_t size : c.sizes) list.push_back(factory.leaf(size));
  TMLayoutTree tree(std::move(list), c.total);
  EXPECT_EQ(tree.splitPos(), c.splitPos) << c.what;
  EXPECT_EQ(tree.left() != nullptr, c.hasLeft) << c.what;
  EXPECT_EQ(tree.right() != nullptr, c.hasRight) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Walks, TMSplitCases,
    ::testing::Values(
        SplitCase{"one empty node takes it all", {0}, 0, 1.0f, true, false},
        SplitCase{"two equal nodes", {7, 7}, 14, 0.5f, true, true},
        SplitCase{"two thirds in float", {2, 1}, 3, float(2.0) / float(3.0), true, true},
        SplitCase{"the walk stops at 0", {1, 0}, 1, 1.0f, true, false},
        SplitCase{"nothing but empty nodes stays unsplit", {0, 0}, 0, -40.0f, false, false},
        SplitCase{"short of half fills its share", {5, 3}, 100, 8.0f / 100.0f, true, false},
        SplitCase{"short of half then empty", {5, 3, 0}, 100, 8.0f / 100.0f, true, false},
        SplitCase{"a total below the sizes read counts the sizes", {5, 3}, 0, 5.0f / 8.0f, true, true},
        SplitCase{"an empty node in listing order hides nothing", {3, 0, 9}, 12, 0.25f, true, true},
        SplitCase{"small before big in listing order", {1, 10}, 11, 1.0f / 11.0f, true, true},
        SplitCase{"a lone node takes its share", {25}, 100, 0.25f, true, false},
        // Half of an odd total rounds down: 3 of 7 is not below it.
        SplitCase{"an odd total's half rounds down", {3, 2, 2}, 7, 3.0f / 7.0f, true, true},
        SplitCase{"beyond 2^24 the share is a float",
                  {(uint64_t(1) << 40) + 1, uint64_t(1) << 39},
                  (uint64_t(1) << 40) + 1 + (uint64_t(1) << 39),
                  float(double((uint64_t(1) << 40) + 1)) /
                      float(double((uint64_t(1) << 40) + 1 + (uint64_t(1) << 39))),
                  true, true}),
    caseNamesBy([](const SplitCase& c) { return identifierFrom(c.what); }));

TEST(TMLayoutTree, OrientationDividesTheLongerSideAndSquaresStack) {
  EXPECT_EQ(TMLayoutTree::computeOrientationWithWidth(10, 10), TMLayoutTree::kStacked);
  EXPECT_EQ(TMLayoutTree::computeOrientationWithWidth(10, 11), TMLayoutTree::kStacked);
  EXPECT_EQ(TMLayoutTree::computeOrientationWithWidth(11, 10), TMLayoutTree::kSideBySide);
  EXPECT_EQ(TMLayoutTree::computeOrientationWithWidth(std::nan(""), 1), TMLayoutTree::kStacked);
}

TEST(TMLayoutTree, AStackedQuarterSplitGivesTheLowerQuarterFirst) {
  TMLeafFactory factory;
  // 75 bytes of the folder have no layout: the second side stays unfilled.
  TMLayoutTree tree(factory.leaves({25, 0}), 100);
  ASSERT_EQ(tree.splitPos(), 0.25f);
  TMFrame frame({0, 0, 50, 100});
  frame.draw(tree);
  EXPECT_EQ(tree.orientation() & 3, TMLayoutTree::kStacked);
  EXPECT_EQ(frame.rectangles(), std::vector<TMRect>{(TMRect{0, 0, 50, 25})});
  TMRect first = frame.canvas, second = frame.canvas;
  tree.splitRectangles(first, second);
  EXPECT_EQ(first, (TMRect{0, 0, 50, 25}));
  EXPECT_EQ(second, (TMRect{0, 25, 50, 75}));
}

TEST(TMLayoutTreeDeathTest, AnEmptyListIsRefused) {
  EXPECT_DEATH(TMLayoutTree(std::vector<std::unique_ptr<TMLayoutNode>>(), 10),
               "Assertion failed: \\(subSize > 0\\)");
}

}  // namespace
}  // namespace tilemora::test
