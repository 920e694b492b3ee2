// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting from the tree map view: trash, file tree, layout, one redraw;
// and what it does to the selection, the shown folder and the window.

#include <gtest/gtest.h>

#include "support/TMViewFixture.h"

namespace tilemora::test {
namespace {

class TMViewDeletion : public TMViewFixture {
 protected:
  // R (30 blocks): A (holding a1, 20) and b (10).
  void showR() {
    show(E::directory("R", {E::directory("A", {E::file("a1", 20)}), E::file("b", 10)}), "/R");
    view->setCleanupResponder([this] { ++cleanups; });
  }
  int cleanups = 0;
};

TEST_F(TMViewDeletion, AFileGoesTheMapIsRedrawnWithoutItAndNothingStaysSelected) {
  showR();
  std::vector<std::string> gone;
  view->setDeletionResponder([&](const TMFileTree& node) { gone.emplace_back(node.filename()); });
  const TMPoint a1 = centreOf(rectOf("/R/A/a1"));
  click(a1);
  ASSERT_EQ(selectedPath(), "/R/A/a1");
  const int repaints = host.repaints;
  view->deleteSelection(true);
  EXPECT_EQ(host.trashed, std::vector<TMFileURL>{TMFileURL::fromPath("/R/A/a1")});
  EXPECT_EQ(gone, std::vector<std::string>{"a1"});
  EXPECT_EQ(scanned->diskSize(), 10u * 512);
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(view->current(), view->root());
  EXPECT_EQ(host.paths.back().path(), "/R");
  EXPECT_EQ(host.title, "R");  // the shown folder's name
  EXPECT_FALSE(host.represented.has_value());
  EXPECT_EQ(notices, 2);  // the click, the deletion
  EXPECT_EQ(host.repaints, repaints + 1);
  EXPECT_EQ(view->describeNodeAt(a1)->url.path(), "/R/b");  // b fills R now
  EXPECT_FALSE(view->isSelectionNarrowable() || view->isSelectionDeletable());

  view->deleteSelection(false);  // a second Delete at once takes nothing
  EXPECT_EQ(host.trashed.size(), 1u);
  EXPECT_EQ(view->root()->url.path(), "/R");

  click(titleOf(rectOf("/R")));  // the scanned folder itself
  view->deleteSelection(true);
  EXPECT_EQ(host.trashed.back(), TMFileURL::fromPath("/R"));
  EXPECT_EQ(gone.back(), "R");
  EXPECT_EQ(view->root(), nullptr);
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(cleanups, 1);
  EXPECT_EQ(host.paths.back(), TMFileURL());
  EXPECT_EQ(host.title, "Tilemora");
  EXPECT_TRUE(view->isAtTopLevel());
}

TEST_F(TMViewDeletion, AVolumesScannedFolderGoesWholeAndNothingFreedIsTouched) {
  show(nested(), "/", {4 << 20, 2 << 20});  // the scanned folder takes a seventh
  click(titleOf(rectOf("/")));
  ASSERT_TRUE(view->isSelectionRoot());
  view->deleteSelection(true);  // under AddressSanitizer: no use of the freed layout
  EXPECT_EQ(host.trashed, std::vector<TMFileURL>{TMFileURL::fromPath("/")});
  EXPECT_EQ(view->root(), nullptr);
  EXPECT_EQ(cleanups, 0);  // none registered here
  view->updateGeometry();
  EXPECT_FALSE(view->paintsFramesAndTexts());
}

TEST_F(TMViewDeletion, ARefusedTrashChangesNothingAndSaysWhy) {
  showR();
  click(centreOf(rectOf("/R/A/a1")));
  host.trashRefusal = "Permission denied";
  const int repaints = host.repaints;
  view->deleteSelection(true);
  EXPECT_EQ(host.failures, std::vector<std::string>{"/R/A/a1: Permission denied"});
  EXPECT_EQ(scanned->diskSize(), 30u * 512);
  EXPECT_EQ(selectedPath(), "/R/A/a1");
  EXPECT_EQ(host.repaints, repaints);
  EXPECT_EQ(view->describeNodeAt(centreOf(rectOf("/R/A/a1")))->url.path(), "/R/A/a1");
}

TEST_F(TMViewDeletion, DeletingTheFolderThatFillsTheViewShowsItsParent) {
  showR();
  click(titleOf(rectOf("/R/A")), 2);
  host.finishAnimation();
  ASSERT_EQ(view->current()->url.path(), "/R/A");
  view->deleteSelection(true);
  EXPECT_EQ(view->current(), view->root());
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(view->virtualSize(), canvas);
  EXPECT_TRUE(view->isAtTopLevel());
}

TEST_F(TMViewDeletion, AFileNarrowedOntoGivesWayToItsFolder) {
  show(nested());
  view->focusOn(TMFileURL::fromPath("/data/big/c"));
  host.finishAnimation();
  ASSERT_FALSE(view->isSelectionNarrowable());
  view->deleteSelection(true);
  EXPECT_EQ(view->current()->url.path(), "/data/big");
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_FALSE(view->isSelectionNarrowable());
  EXPECT_EQ(scanned->diskSize(), 900u * 512);
}

TEST_F(TMViewDeletion, FreeSpaceIsNeverDeleted) {
  show(nested(), "/", {4 << 20, 2 << 20});
  click({5, 5});
  ASSERT_EQ(selectedPath(), "/Free space");
  EXPECT_FALSE(view->isSelectionDeletable());
  view->deleteSelection(true);
  EXPECT_TRUE(host.trashed.empty());
  EXPECT_EQ(selectedPath(), "/Free space");
}

}  // namespace
}  // namespace tilemora::test
