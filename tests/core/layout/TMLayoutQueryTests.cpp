// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>

#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutSpaceLeaves.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

// Folder A (100) holds folder B (60, holding file f) and file g (40), laid
// out over 400 × 300: B takes x 3…239.4, and f fills B's contents.
struct SampleTree {
  SampleTree() {
    std::vector<std::unique_ptr<TMLayoutNode>> insideB;
    f = factory.file(60, "f");
    insideB.push_back(std::make_unique<TMLayoutLeaf>(f));
    b = factory.file(60, "B");
    auto folderB = std::make_unique<TMLayoutFolder>(std::move(insideB), b, 60);
    layoutB = folderB.get();
    std::vector<std::unique_ptr<TMLayoutNode>> insideA;
    insideA.push_back(std::move(folderB));
    insideA.push_back(factory.leaf(40, "g"));
    root = std::make_unique<TMLayoutFolder>(std::move(insideA), factory.file(100, "A"), 100);
  }
  TMDrawInfo_t info() const { return searchInfo(canvas, url); }

  TMLeafFactory factory;
  TMFileTree* f;
  TMFileTree* b;
  TMLayoutFolder* layoutB;
  std::unique_ptr<TMLayoutFolder> root;
  TMRect canvas{0, 0, 400, 300};
  TMFileURL url = TMFileURL::fromPath("/home/A");
};

TEST(TMLayoutQueries, AClickOnAFileFindsItWithItsPathAndRectangle) {
  SampleTree tree;
  TMDrawInfo_t info = tree.info();
  TMLayoutNode* found = tree.root->getNodeAtPoint({100, 100}, info, tree.canvas);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->fileNode(), tree.f);
  EXPECT_EQ(info.selection.layout, found);
  EXPECT_EQ(info.selection.url.path(), "/home/A/B/f");
  EXPECT_EQ(info.selection.isFile, 1);
  EXPECT_EQ(info.selection.rect, (TMRect{6, 6, double(0.6f) * 394 - 6, 268}));
  EXPECT_EQ(info.depth, 0);
}

TEST(TMLayoutQueries, AClickOnATitleBandFindsTheWholeFolder) {
  SampleTree tree;
  TMDrawInfo_t info = tree.info();
  TMLayoutNode* found = tree.root->getNodeAtPoint({100, 280}, info, tree.canvas);
  EXPECT_EQ(found, tree.layoutB);
  EXPECT_EQ(info.selection.url.path(), "/home/A/B");
  EXPECT_EQ(info.selection.isFile, 0);
  EXPECT_EQ(info.selection.file, tree.b);
  EXPECT_EQ(info.selection.rect, (TMRect{3, 3, double(0.6f) * 394, 284}));
}

TEST(TMLayoutQueries, APathSearchFindsWhatTheClickFound) {
  SampleTree tree;
  TMDrawInfo_t clicked = tree.info();
  TMLayoutNode* byPoint = tree.root->getNodeAtPoint({100, 100}, clicked, tree.canvas);
  TMDrawInfo_t searched = tree.info();
  TMLayoutNode* byPath = tree.root->getNodeAtPathParts(
      TMFileURL::fromPath("/home/A/B/f").pathComponents(), 2, searched, tree.canvas);
  EXPECT_EQ(byPath, byPoint);
  EXPECT_EQ(searched.selection.url, clicked.selection.url);
  EXPECT_EQ(searched.selection.rect, clicked.selection.rect);
}

struct PathCase {
  const char* what;
  const char* path;
  int32_t index;
  const char* foundName;  // null: nothing found
};

class TMLayoutPathSearch : public ::testing::TestWithParam<PathCase> {};

TEST_P(TMLayoutPathSearch, FollowsOneNamePerFolderLevel) {
  SampleTree tree;
  TMDrawInfo_t info = tree.info();
  TMLayoutNode* found = tree.root->getNodeAtPathParts(
      TMFileURL::fromPath(GetParam().path).pathComponents(), GetParam().index, info, tree.canvas);
  if (GetParam().foundName == nullptr) {
    EXPECT_EQ(found, nullptr) << GetParam().what;
    EXPECT_EQ(info.selection.url, tree.url) << GetParam().what;
  } else {
    ASSERT_NE(found, nullptr) << GetParam().what;
    EXPECT_EQ(info.selection.url.lastPathComponent(), GetParam().foundName) << GetParam().what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TMLayoutPathSearch,
    ::testing::Values(PathCase{"a file", "/home/A/g", 2, "g"},
                      PathCase{"the start itself", "/home/A", 2, "A"},
                      PathCase{"an unknown name stops at the deepest match", "/home/A/B/nope", 2, "B"},
                      PathCase{"a start of another name", "/home/X/B/f", 2, nullptr},
                      PathCase{"an index past the names", "/home/A/B/f", 4, nullptr},
                      PathCase{"a negative index", "/home/A/B/f", -1, nullptr},
                      PathCase{"names differing in case", "/home/A/b/f", 2, "A"}),
    caseNamesBy([](const PathCase& c) { return identifierFrom(c.what); }));

TEST(TMLayoutQueries, APathFindsAFileEvenWhenItIsTooSmallToDraw) {
  SampleTree tree;
  TMRect tiny{0, 0, 5, 5};
  TMDrawInfo_t info = searchInfo(tiny, tree.url);
  TMLayoutNode* found = tree.root->getNodeAtPathParts(
      TMFileURL::fromPath("/home/A/B/f").pathComponents(), 2, info, tiny);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->fileNode(), tree.f);
}

// Clicks on a pair of files side by side, 60 and 40 units wide, 50 high:
// every edge belongs to a tile (the split line to the first), what lies
// past the map to none.
struct QueryClickCase {
  const char* name;
  TMPoint point;
  uint64_t found;  // the size of the tile found; 0 for none
};

class TMLayoutClicks : public ::testing::TestWithParam<QueryClickCase> {};

TEST_P(TMLayoutClicks, FindTheTileUnderThePoint) {
  TMLeafFactory factory;
  TMLayoutTree pair(factory.leaves({60, 40}), 100);
  TMRect canvas{0, 0, 100, 50};
  TMDrawInfo_t info = searchInfo(canvas, TMFileURL::fromPath("/r"));
  TMLayoutNode* found = pair.getNodeAtPoint(GetParam().point, info, canvas);
  EXPECT_EQ(found == nullptr ? 0 : found->nodeSize(), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Points, TMLayoutClicks,
    ::testing::Values(QueryClickCase{"the split line goes to the first", {60, 25}, 60},
                      QueryClickCase{"the right edge", {100, 25}, 40}, QueryClickCase{"the top edge", {30, 50}, 60},
                      QueryClickCase{"the top right corner", {100, 50}, 40}, QueryClickCase{"the origin", {0, 0}, 60},
                      QueryClickCase{"past the right edge", {100.5, 25}, 0}, QueryClickCase{"above the top", {30, 50.5}, 0},
                      QueryClickCase{"not a number", {std::nan(""), 25}, 0}),
    caseNamesByName);

// A file 1.94 px wide inside a folder is drawn but not found: the click
// finds the folder.
TEST(TMLayoutQueries, AThinFileInsideAFolderIsDrawnButNotFound) {
  TMLeafFactory factory;
  TMLayoutFolder folder(factory.leaves({990, 10}), factory.file(1000, "F"), 1000);
  TMRect wide{0, 0, 200, 100};
  TMDrawInfo_t info = searchInfo(wide, TMFileURL::fromPath("/F"));
  EXPECT_EQ(folder.getNodeAtPoint({196, 50}, info, wide), &folder);
  EXPECT_EQ(info.selection.isFile, 0);
}

TEST(TMLayoutQueries, FreeSpaceIsFoundAsALeafWithoutAFileNode) {
  TMLeafFactory factory;
  std::vector<std::unique_ptr<TMLayoutNode>> parts;
  parts.push_back(std::make_unique<TMLayoutEmptySpace>(factory.file(70, "Free space")));
  parts.push_back(factory.leaf(30, "data"));
  TMLayoutTree volume(std::move(parts), 100);
  TMRect canvas{0, 0, 100, 100};
  TMDrawInfo_t info = searchInfo(canvas, TMFileURL::fromPath("/"));
  TMLayoutNode* found = volume.getNodeAtPoint({10, 10}, info, canvas);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->fileNode(), nullptr);
  EXPECT_EQ(info.selection.isFile, 1);
  EXPECT_EQ(info.selection.url.path(), "/Free space");
  EXPECT_EQ(volume.fileNode()->filename(), "data");
}

TEST(TMLayoutQueries, AFolderLaidOutAsALeafIsFoundLikeAFile) {
  TMLeafFactory factory;
  TMLayoutLeaf folderAsLeaf(factory.file(10, "empty-ish"));
  TMRect canvas{0, 0, 50, 50};
  TMDrawInfo_t info = searchInfo(canvas, TMFileURL::fromPath("/top"));
  EXPECT_EQ(folderAsLeaf.getNodeAtPoint({5, 5}, info, canvas), &folderAsLeaf);
  EXPECT_EQ(info.selection.isFile, 1);
  EXPECT_EQ(info.selection.file, nullptr);
  EXPECT_EQ(info.selection.url.path(), "/top/empty-ish");
}

}  // namespace
}  // namespace tilemora::test
