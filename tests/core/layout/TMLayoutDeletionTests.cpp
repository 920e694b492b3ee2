// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting from the layout in place: the target is cut out of its split
// node, and the folders on the path rebuild from their new sizes.

#include <gtest/gtest.h>

#include "core/layout/TMLayoutBuilding.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

namespace tilemora::test {
namespace {

using E = TMMemoryEntry;

// A scanned tree and its full layout, deleted from as the view does: the
// file tree first (the trash takes everything), then the layout.
struct DeletableTree {
  explicit DeletableTree(E tree) : root(scanToEnd("/" + tree.name, std::make_shared<TMMemoryFileSystem>(tree)).root) {
    layout = createLayoutTree(*root, 65536, 0, layoutBuiltUnderTest());
  }
  void remove(const std::string& path) {
    const TMFileTreePath resolved = TMFileTreePath::resolve(*root, TMFileURL::fromPath(path).pathComponents(), 1);
    ASSERT_NE(TMFileTree::deleteNodeOnPath(resolved, [](const TMFileURL&) { return TMTrashResult{true, {}}; }).code,
              DeletionFailed);
    parentLayout = TMLayoutNode::deleteNode(*layout, resolved);
  }
  TMLayoutFolder& folder(const std::string& path) {
    TMRect canvas{0, 0, 100, 100};
    TMDrawInfo_t info = searchInfo(canvas, TMFileURL());
    auto* found = dynamic_cast<TMLayoutFolder*>(
        layout->getNodeAtPathParts(TMFileURL::fromPath(path).pathComponents(), 1, info, canvas));
    EXPECT_NE(found, nullptr) << path;
    return *found;
  }
  static TMLayoutTree& split(TMLayoutFolder& folder) {
    auto& split = static_cast<TMLayoutTree&>(*folder.contents());
    split.layOutSides();
    return split;
  }
  static std::string nameOf(const TMLayoutNode* node) {
    return node ? std::string(node->fileNode()->filename()) : "none";
  }

  std::shared_ptr<TMFileTree> root;
  std::unique_ptr<TMLayoutNode> layout;
  TMLayoutFolder* parentLayout = nullptr;
};

TEST(TMLayoutDeletion, AFolderOfThreeRebuildsFromWhatIsLeft) {
  DeletableTree tree(E::directory("F", {E::file("a", 50), E::file("b", 30), E::file("c", 20)}));
  tree.remove("/F/b");
  TMLayoutTree& split = DeletableTree::split(tree.folder("/F"));
  EXPECT_EQ(DeletableTree::nameOf(split.left()), "a");
  EXPECT_EQ(DeletableTree::nameOf(split.right()), "c");
  EXPECT_FLOAT_EQ(split.splitPos(), 50.0f / 70.0f);
}

TEST(TMLayoutDeletion, AnEmptiedFolderTakesNoAreaAndStaysValid) {
  DeletableTree tree(E::directory("R", {E::directory("A", {E::file("a1", 20)}), E::file("b", 10)}));
  TMLayoutFolder& folderA = tree.folder("/R/A");
  tree.remove("/R/A/a1");
  TMLayoutTree& split = DeletableTree::split(tree.folder("/R"));
  EXPECT_EQ(DeletableTree::nameOf(split.left()), "b");
  EXPECT_EQ(split.right(), nullptr);
  EXPECT_EQ(split.splitPos(), 1.0f);
  // No longer placed, yet alive for whoever still holds it.
  EXPECT_EQ(folderA.fileNode()->filename(), "A");
  EXPECT_EQ(folderA.nodeSize(), 0u);
}

TEST(TMLayoutDeletion, OneOfTwoFilesLeavesTheOtherFillingTheFolderThenTheSecondGoesToo) {
  DeletableTree tree(E::directory("F", {E::file("a", 60), E::file("b", 40)}));
  tree.remove("/F/a");
  TMLayoutTree& split = DeletableTree::split(tree.folder("/F"));
  EXPECT_EQ(DeletableTree::nameOf(split.left()), "b");  // rebuilt: no hole beside it
  EXPECT_EQ(split.right(), nullptr);
  EXPECT_FLOAT_EQ(split.splitPos(), 1.0f);
  tree.remove("/F/b");
  EXPECT_EQ(split.left(), nullptr);
}

TEST(TMLayoutDeletion, AFileThreeLevelsDownRebuildsTheFoldersOnItsPathOnly) {
  DeletableTree tree(E::directory(
      "R", {E::directory("X", {E::directory("Y", {E::file("f", 40), E::file("g", 10), E::file("i", 10)}),
                               E::file("h", 30)}),
            E::directory("Z", {E::file("p", 5), E::file("q", 5)})}));
  const TMLayoutNode* beside = tree.folder("/R/Z").child();
  tree.remove("/R/X/Y/f");
  // Rebuilt on the path, as their split positions tell (a new split tree
  // may well take the freed one's address, so addresses cannot tell).
  EXPECT_EQ(tree.folder("/R/Z").child(), beside);
  EXPECT_FLOAT_EQ(DeletableTree::split(tree.folder("/R/X/Y")).splitPos(), 0.5f);  // g 10 of 20
  EXPECT_FLOAT_EQ(DeletableTree::split(tree.folder("/R")).splitPos(), 50.0f / 60.0f);  // X 50 of 60
  EXPECT_FLOAT_EQ(DeletableTree::split(tree.folder("/R/X")).splitPos(), 30.0f / 50.0f);  // h 30 of 50
}

TEST(TMLayoutDeletion, AFolderWithChildrenButNoLayoutsGetsAnEmptyInterior) {
  DeletableTree tree(E::directory("F", {E::file("a", 10), E::directory("D1", {}), E::directory("D2", {})}));
  tree.remove("/F/a");
  EXPECT_EQ(tree.folder("/F").child(), nullptr);
  TMFrame frame({0, 0, 200, 100});
  frame.draw(*tree.layout);  // the folder alone, without an interior
  EXPECT_EQ(frame.rectangles().size(), 1u);
}

TEST(TMLayoutDeletion, TheRootAsTargetIsLeftToItsHolder) {
  DeletableTree tree(E::directory("R", {E::file("a", 10), E::file("b", 5)}));
  const TMLayoutNode* split = tree.folder("/R").child();
  EXPECT_EQ(TMLayoutNode::deleteNode(*tree.layout, TMFileTreePath::resolve(*tree.root, {"/", "R"}, 1)), nullptr);
  EXPECT_EQ(tree.folder("/R").child(), split);
}

}  // namespace
}  // namespace tilemora::test
