// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting from the tree map view: trash, file tree, layout, one redraw;
// and what it does to the selection, the shown folder and the window.

#include <gtest/gtest.h>

#include "core/drawing/TMTypeColoring.h"
#include "support/TMCaseNames.h"
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

// A selection narrowed onto or not, in a folder scan and in a volume's
// folder (whose layout sits in a split tree beside the free space): the
// item's tile goes, its folder shrinks by it, and the view shows what is
// left of what it showed.
struct ShownFolderCase {
  const char* name;
  const char* scannedPath;
  const char* target;
  bool narrowedOnto;
  const char* shownAfter;
  uint64_t parentBlocksAfter;
};

class TMViewDeletionShownFolder : public TMViewDeletion, public ::testing::WithParamInterface<ShownFolderCase> {};

TEST_P(TMViewDeletionShownFolder, TheTileGoesAndTheViewShowsWhatIsLeft) {
  const ShownFolderCase& c = GetParam();
  const bool volume = std::string(c.scannedPath) == "/";
  show(nested(), c.scannedPath, volume ? TMFileSystemSizes{4 << 20, 2 << 20} : TMFileSystemSizes{});
  const TMFileURL target = TMFileURL::fromPath(c.target);
  const TMPoint centre = centreOf(rectOf(c.target));
  if (c.narrowedOnto) {
    view->focusOn(target);
    host.finishAnimation();
  } else {
    click(centre);
  }
  ASSERT_EQ(selectedPath(), c.target);
  view->deleteSelection(true);
  EXPECT_EQ(host.trashed, std::vector<TMFileURL>{target});
  EXPECT_EQ(view->current()->url.path(), c.shownAfter);
  EXPECT_EQ(view->selected(), nullptr);
  const TMFileURL parent = target.deletingLastPathComponent();
  view->focusOn(parent);
  host.finishAnimation();
  EXPECT_EQ(view->current()->file->diskSize(), c.parentBlocksAfter * 512);
  if (!c.narrowedOnto) {
    view->focusOn(TMFileURL::fromPath(c.scannedPath));
    host.finishAnimation();
    EXPECT_NE(view->describeNodeAt(centre)->url, target);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Items, TMViewDeletionShownFolder,
    ::testing::Values(ShownFolderCase{"a file of a folder scan", "/data", "/data/big/c", false, "/data", 600},
                      ShownFolderCase{"a file narrowed onto", "/data", "/data/big/c", true, "/data/big", 600},
                      ShownFolderCase{"a file of a volume", "/", "/big/sub/a", false, "/", 200},
                      ShownFolderCase{"a folder of a volume narrowed onto", "/", "/big/sub", true, "/big", 300}),
    caseNamesByName);

// A folder too small to enter shows what it holds; once part of that is
// trashed from inside it, what is left.
TEST_F(TMViewDeletion, ASmallFolderShowsWhatIsLeftInIt) {
  show(E::directory("R", {E::file("huge.mp4", 1000000), E::directory("T", {E::file("x.gz", 20), E::file("y.mp4", 10)})}),
       "/R");
  const TMTypeColoring type;
  view->setFileColoring(std::shared_ptr<const TMFileColoring>(&type, [](const TMFileColoring*) {}));
  // T's fill is the last rectangle of the frame: R, huge.mp4, T.
  auto colourOfT = [&] { return *view->geometry()->getColors()[view->geometry()->rectangleCount() - 1]; };
  EXPECT_EQ(colourOfT(), type.colorOfCategory(TMFileCategory::kArchives));
  view->selectURL(TMFileURL::fromPath("/R/T/x.gz"));
  while (view->isLocked()) host.finishAnimation();
  ASSERT_EQ(selectedPath(), "/R/T/x.gz");
  view->deleteSelection(true);
  view->focusOn(TMFileURL::fromPath("/R"));
  while (view->isLocked()) host.finishAnimation();
  ASSERT_EQ(view->current()->url.path(), "/R");
  EXPECT_EQ(colourOfT(), type.colorOfCategory(TMFileCategory::kVideo));
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
