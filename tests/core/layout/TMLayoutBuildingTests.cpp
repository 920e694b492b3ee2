// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/layout/TMLayoutBuilding.h"
#include "core/filetree/TMVolume.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutSpaceLeaves.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

// root / a (file 4) / level1 / level2 / level3 (folder holding x) and a
// file deep at level 3.
E deepTree() {
  return E::directory("root",
                      {E::file("a", 4), E::directory("level1", {E::directory("level2", {
                                                  E::directory("level3", {E::file("x", 8)}),
                                                  E::file("deepfile", 2)})})});
}

// Asking for what a folder holds lays it out, whatever the layout's build.
TMLayoutFolder* asFolder(TMLayoutNode* node) { return dynamic_cast<TMLayoutFolder*>(node); }

std::vector<TMLayoutNode*> placedIn(TMLayoutNode* node) {
  std::vector<TMLayoutNode*> placed;
  if (auto* split = dynamic_cast<TMLayoutTree*>(node)) {
    split->layOutSides();
    for (TMLayoutNode* side : {split->left(), split->right()}) {
      auto more = placedIn(side);
      placed.insert(placed.end(), more.begin(), more.end());
    }
  } else if (node != nullptr) {
    placed.push_back(node);
  }
  return placed;
}

TMLayoutNode* childNamed(TMLayoutNode* folder, std::string_view name) {
  for (TMLayoutNode* node : placedIn(asFolder(folder)->contents())) {
    if (node->fileNode() && node->fileNode()->filename() == name) return node;
  }
  return nullptr;
}

TEST(TMLayoutBuilding, TheScanDepthLeavesOutFoldersThreeLevelsDownButNotFiles) {
  TMFinishedScan scan = scanToEnd("/root", std::make_shared<TMMemoryFileSystem>(deepTree()));
  auto layout = createLayoutTree(*scan.root, 3, 0, layoutBuiltUnderTest());
  ASSERT_NE(asFolder(layout.get()), nullptr);
  TMLayoutNode* level1 = childNamed(layout.get(), "level1");
  ASSERT_NE(asFolder(level1), nullptr);
  TMLayoutNode* level2 = childNamed(level1, "level2");
  ASSERT_NE(asFolder(level2), nullptr);
  EXPECT_NE(childNamed(level2, "deepfile"), nullptr);
  EXPECT_EQ(childNamed(level2, "level3"), nullptr);
  // level2 still lays out its one file against its whole size: [2] of 10 is
  // short of half, so the split stays unsplit.
  EXPECT_EQ(level2->nodeSize(), 10u * 512);
}

TEST(TMLayoutBuilding, EmptyFoldersAndTheDepthLimitGiveNoNode) {
  TMFinishedScan scan = scanToEnd(
      "/root", std::make_shared<TMMemoryFileSystem>(E::directory(
                   "root", {E::file("a", 4), E::directory("empty", {}),
                            E::directory("zero", {E::file("nothing", 0)})})));
  EXPECT_EQ(createLayoutTree(*scan.root, 0, 0, layoutBuiltUnderTest()), nullptr);
  auto layout = createLayoutTree(*scan.root, 65536, 0, layoutBuiltUnderTest());
  EXPECT_NE(childNamed(layout.get(), "a"), nullptr);
  EXPECT_EQ(childNamed(layout.get(), "empty"), nullptr);
  EXPECT_EQ(childNamed(layout.get(), "zero"), nullptr);
}

// A saved scan read a folder at a time knows the size of a folder before
// its entries: such a folder is drawn, as a leaf; one without a size is not.
TEST(TMLayoutBuilding, AFolderNotListedYetIsALeafOfItsSize) {
  TMFinishedScan scan = scanToEnd(
      "/root", std::make_shared<TMMemoryFileSystem>(E::directory(
                   "root", {E::file("a", 4), E::directory("later", {}), E::directory("pending", {})})));
  TMFolderTree& root = *scan.root->asFolder();
  for (uint32_t i = 0; i < root.children()->count(); ++i) {
    const TMFolderTree* folder = root.children()->at(i)->asFolder();
    if (folder != nullptr) folder->markCutShort();
    if (folder != nullptr && folder->filename() == "later") const_cast<TMFolderTree*>(folder)->setMeasuredSize(8 * 512);
  }
  root.setMeasuredSize(root.diskSize() + 8 * 512);
  auto layout = createLayoutTree(root, 65536, 0, layoutBuiltUnderTest());
  TMLayoutNode* later = childNamed(layout.get(), "later");
  ASSERT_NE(later, nullptr);
  EXPECT_EQ(asFolder(later), nullptr);
  EXPECT_EQ(later->nodeSize(), 8u * 512);
  EXPECT_EQ(childNamed(layout.get(), "pending"), nullptr);
}

TEST(TMLayoutBuilding, AFolderWhoseChildrenAllGiveNoNodeIsALeaf) {
  TMFinishedScan scan = scanToEnd(
      "/root", std::make_shared<TMMemoryFileSystem>(E::directory(
                   "root", {E::directory("inner", {E::directory("deeper", {E::file("f", 3)})})})));
  auto layout = createLayoutTree(*scan.root, 2, 0, layoutBuiltUnderTest());
  TMLayoutNode* inner = childNamed(layout.get(), "inner");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(asFolder(inner), nullptr);  // a plain leaf, drawn like a file
  EXPECT_EQ(inner->nodeSize(), 3u * 512);
}

TEST(TMLayoutBuilding, AVolumeLaysOutItsFolderFreeAndUnscannedSpaceLargestFirst) {
  // The memory file system has no mount table: scan "/" to get a volume.
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(E::directory("/", {E::file("f", 100)}));
  fileSystem->sizes = {512 * 400, 512 * 250};
  TMFinishedScan scan = scanToEnd("/", fileSystem);
  auto* volume = scan.root->asVolume();
  ASSERT_NE(volume, nullptr);
  auto layout = createLayoutTree(*volume, 65536, 0, layoutBuiltUnderTest());
  EXPECT_EQ(volume->unscannedSpace()->diskSize(), 512u * 50);
  auto parts = placedIn(layout.get());
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_NE(dynamic_cast<const TMLayoutEmptySpace*>(parts[0]), nullptr);  // 250 blocks
  EXPECT_NE(asFolder(parts[1]), nullptr);                                  // 100 blocks
  EXPECT_NE(dynamic_cast<const TMLayoutUnscanned*>(parts[2]), nullptr);    // 50 blocks
  EXPECT_EQ(layout->fileNode(), volume->child());
}

TEST(TMLayoutBuilding, AVolumeWhoseScanExceedsItsUsedSpaceShowsNoUnscannedPart) {
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(E::directory("/", {E::file("f", 100)}));
  fileSystem->sizes = {512 * 300, 512 * 250};
  TMFinishedScan scan = scanToEnd("/", fileSystem);
  auto* volume = scan.root->asVolume();
  ASSERT_NE(volume, nullptr);
  auto layout = createLayoutTree(*volume, 65536, 0, layoutBuiltUnderTest());
  EXPECT_EQ(volume->unscannedSpace()->diskSize(), 0u);
  EXPECT_EQ(placedIn(layout.get()).size(), 2u);
}

}  // namespace
}  // namespace tilemora::test
