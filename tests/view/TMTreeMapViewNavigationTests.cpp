// SPDX-License-Identifier: GPL-3.0-or-later
// Selection and navigation of the tree map view, over scanned trees with a
// fake host and a manual animation clock.

#include <gtest/gtest.h>

#include "core/filetree/TMFolderTree.h"
#include "support/TMCaseNames.h"
#include "support/TMViewFixture.h"

namespace tilemora::test {
namespace {

class TMViewSelection : public TMViewFixture {};

struct ClickCase {
  const char* name;
  std::string target;  // clicked at its centre, or in its title band
  bool onTitle;
  std::string selected;
  bool narrowable;
};

class TMViewClicks : public TMViewFixture, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(TMViewClicks, SelectTheDeepestNodeAndShowIt) {
  show(nested());
  const TMRect target = rectOf(GetParam().target);
  click(GetParam().onTitle ? titleOf(target) : centreOf(target));
  EXPECT_EQ(selectedPath(), GetParam().selected);
  EXPECT_EQ(view->isSelectionNarrowable(), GetParam().narrowable);
  EXPECT_TRUE(view->isSelectionReavealableInFinder());
  EXPECT_EQ(host.paths.back().path(), GetParam().selected);
  EXPECT_EQ(host.represented->path(), GetParam().selected);
  EXPECT_EQ(host.title, TMFileURL::fromPath(GetParam().selected).lastPathComponent());
  EXPECT_EQ(notices, 1);
}
INSTANTIATE_TEST_SUITE_P(
    Targets, TMViewClicks,
    ::testing::Values(ClickCase{"a file", "/data/e", false, "/data/e", false},
                      ClickCase{"a file in nested folders", "/data/big/sub/a", false, "/data/big/sub/a", false},
                      ClickCase{"a folder's title band", "/data/big", true, "/data/big", true},
                      ClickCase{"the scanned folder's title band", "/data", true, "/data", true}),
    caseNamesByName);

TEST_F(TMViewSelection, TheSameNodeClickedTwiceChangesNothing) {
  show(nested());
  click(centreOf(rectOf("/data/e")));
  const int repaints = host.repaints;
  const TMPoint inside = centreOf(rectOf("/data/e"));
  click({inside.x + 5, inside.y + 5});  // another point of it
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(host.repaints, repaints);
}

TEST_F(TMViewSelection, FreeAndUnscannedSpaceAreTwoSelectionsDrawnSelectedAndNeverRevealed) {
  show(nested(), "/", {uint64_t(1) << 30, uint64_t(1) << 29});  // half free, most of the rest unscanned
  std::optional<TMPoint> freePoint, unscannedPoint;
  for (double x = 10; x < 1000; x += 20) {
    for (double y = 10; y < 800; y += 20) {
      std::optional<TMNodeDescription> d = view->describeNodeAt({x, y});
      if (!d || !d->isSpace) continue;
      (d->url.path() == "/Free space" ? freePoint : unscannedPoint) = TMPoint{x, y};
    }
  }
  ASSERT_TRUE(freePoint && unscannedPoint);
  const TMColor selection = *TMColorWheel().getSelectionColor();
  auto colourAt = [&](const TMPoint& p) {
    const TMGeometryGatherer& g = *view->geometry();
    for (uint64_t i = g.rectangleCount(); i-- > 0;) {
      const TMRect& r = g.getRectangles()[i];
      if (p.x >= r.x && p.x < r.x + r.width && p.y >= r.y && p.y < r.y + r.height) return *g.getColors()[i];
    }
    return TMColor{};
  };
  click(*freePoint);
  EXPECT_EQ(selectedPath(), "/Free space");
  EXPECT_EQ(colourAt(*freePoint), selection);
  EXPECT_FALSE(view->isSelectionNarrowable() || view->isSelectionReavealableInFinder() ||
               view->isSelectionDeletable());
  click(*unscannedPoint);
  EXPECT_EQ(selectedPath(), "/Unscanned space");
  EXPECT_EQ(colourAt(*unscannedPoint), selection);
  EXPECT_NE(colourAt(*freePoint), selection);
  EXPECT_EQ(notices, 2);
  click(*freePoint, 2);
  EXPECT_TRUE(host.reveals.empty());
  EXPECT_FALSE(host.animating());
}

TEST_F(TMViewSelection, UnreadableFoldersAreMarkedWhereTheyAreAndSayWhy) {
  show(nested());
  const TMChildList& children = *scanned->asFolder()->children();
  const TMFolderTree* big = nullptr;
  for (uint32_t i = 0; i < children.count(); ++i) {
    if (children.at(i)->filename() == "big") big = children.at(i)->asFolder();
  }
  ASSERT_NE(big, nullptr);
  big->markUnreadable(EACCES);
  scanned->asFolder()->markUnreadableBelow();
  view->updateGeometry();
  const TMGeometryGatherer& g = *view->geometry();
  std::vector<TMRect> bands;
  for (uint64_t i = 0; i < g.rectangleCount(); ++i) {
    if (g.getStyles()[i] == TMRectStyle::kHatched) bands.push_back(g.getRectangles()[i]);
  }
  const TMRect bigRect = rectOf("/data/big");
  ASSERT_EQ(bands.size(), 2u);  // the scanned folder's title band, and big's
  EXPECT_EQ(bands[1].y + bands[1].height, bigRect.y + bigRect.height);
  EXPECT_EQ(bands[1].height, 13);
  EXPECT_EQ(view->describeNodeAt(titleOf(bigRect))->readError, EACCES);
  EXPECT_TRUE(view->describeNodeAt(titleOf(rectOf("/data")))->holdsUnreadable);
  EXPECT_EQ(view->describeNodeAt(centreOf(rectOf("/data/e")))->readError, 0);
}

struct DoubleClickCase {
  const char* name;
  std::string target;
  bool onTitle;
  bool reveals;  // else narrows
};
class TMViewDoubleClicks : public TMViewFixture, public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(TMViewDoubleClicks, RevealALeafOrNarrowIntoAFolder) {
  show(nested());
  const TMRect target = rectOf(GetParam().target);
  click(GetParam().onTitle ? titleOf(target) : centreOf(target), 2);
  if (GetParam().reveals) {
    ASSERT_EQ(host.reveals.size(), 1u);
    EXPECT_EQ(host.reveals[0].first.path(), GetParam().target);
    EXPECT_EQ(host.reveals[0].second, TMFileURL::fromPath(GetParam().target).deletingLastPathComponent());
    EXPECT_FALSE(host.animating());
    return;
  }
  EXPECT_TRUE(host.reveals.empty());
  ASSERT_TRUE(host.animating());
  EXPECT_EQ(host.animationSeconds.back(), 0.25);
  host.advanceAnimation(0);
  EXPECT_EQ(view->virtualSize(), canvas);
  host.finishAnimation();
  EXPECT_EQ(view->current(), view->selected());
  EXPECT_EQ(view->current()->url.path(), GetParam().target);
  EXPECT_EQ(view->virtualSize(), canvas);
  EXPECT_EQ(host.paths.back().path(), GetParam().target);
  EXPECT_TRUE(view->isSelectionNarrowable());
  EXPECT_FALSE(view->isAtTopLevel());
}
INSTANTIATE_TEST_SUITE_P(Targets, TMViewDoubleClicks,
                         ::testing::Values(DoubleClickCase{"a file", "/data/e", false, true},
                                           DoubleClickCase{"a nested file", "/data/big/c", false, true},
                                           DoubleClickCase{"a folder", "/data/big", true, false},
                                           DoubleClickCase{"a nested folder", "/data/big/sub", true, false}),
                         caseNamesByName);

struct ArrowCase {
  const char* name;
  std::string from;  // none: nothing selected
  TMArrowKey key;
  std::string to;
  double width = 1000, height = 800;  // the view's size once the selection is made
};
class TMViewArrows : public TMViewFixture, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(TMViewArrows, ProbeJustBeyondAnEdgeOfTheSelection) {
  show(quarters());
  if (GetParam().from != "none") {
    const TMRect from = rectOf(GetParam().from);
    click(GetParam().from == "/data" ? titleOf(from) : centreOf(from));
  }
  ASSERT_EQ(selectedPath(), GetParam().from);
  view->setFrameSize(GetParam().width, GetParam().height);
  view->keyDown(GetParam().key);
  EXPECT_EQ(selectedPath(), GetParam().to);
}
INSTANTIATE_TEST_SUITE_P(
    Keys, TMViewArrows,
    ::testing::Values(ArrowCase{"up from the bottom left", "/data/a", TMArrowKey::kUp, "/data/b"},
                      ArrowCase{"right from the bottom left", "/data/a", TMArrowKey::kRight, "/data/c"},
                      ArrowCase{"down from the top left", "/data/b", TMArrowKey::kDown, "/data/a"},
                      ArrowCase{"left from the bottom right", "/data/c", TMArrowKey::kLeft, "/data/a"},
                      ArrowCase{"left into the folder's inset", "/data/a", TMArrowKey::kLeft, "/data"},
                      ArrowCase{"up past the top of the canvas", "/data", TMArrowKey::kUp, "/data"},
                      ArrowCase{"right with nothing selected takes the first item", "none", TMArrowKey::kRight,
                                "/data/b"},
                      ArrowCase{"down with nothing selected takes the first item", "none", TMArrowKey::kDown,
                                "/data/b"},
                      ArrowCase{"right after the view grew", "/data/a", TMArrowKey::kRight, "/data/c", 2000, 1600},
                      ArrowCase{"up after the view shrank", "/data/a", TMArrowKey::kUp, "/data/b", 400, 300}),
    caseNamesByName);

std::string arrowName(TMArrowKey key) {
  switch (key) {
    case TMArrowKey::kUp: return "Up";
    case TMArrowKey::kDown: return "Down";
    case TMArrowKey::kLeft: return "Left";
    case TMArrowKey::kRight: break;
  }
  return "Right";
}

// The shown folder selected after a narrowing fills the view: an arrow
// key takes its first item rather than looking past the view's edge.
class TMViewArrowsAfterNarrowing : public TMViewFixture, public ::testing::WithParamInterface<TMArrowKey> {};

TEST_P(TMViewArrowsAfterNarrowing, EnterTheShownFolder) {
  show(nested());
  click(titleOf(rectOf("/data/big")), 2);
  host.finishAnimation();
  ASSERT_EQ(view->current()->url.path(), "/data/big");
  ASSERT_EQ(selectedPath(), "/data/big");
  view->keyDown(GetParam());
  EXPECT_EQ(selectedPath(), "/data/big/sub");  // the top left of its contents
}
INSTANTIATE_TEST_SUITE_P(Keys, TMViewArrowsAfterNarrowing,
                         ::testing::Values(TMArrowKey::kUp, TMArrowKey::kDown, TMArrowKey::kLeft, TMArrowKey::kRight),
                         [](const auto& info) { return arrowName(info.param); });

TEST_F(TMViewSelection, TheDownArrowProbesOneUnitAndOnePixelBelow) {
  show(quarters());
  view->stretchBy(-0.75, -0.75);  // a pixel is a quarter unit; the bottom inset 0.75
  view->updateGeometry();
  view->selectWithFunction(
      [this](TMDrawInfo_t& info, const TMRect& bounds) {
        return view->current()->layout->getNodeAtPathParts({"/", "data", "a"}, 1, info, bounds);
      },
      view->current()->url);
  ASSERT_EQ(selectedPath(), "/data/a");
  // One pixel below would be the folder's inset; 1 + one pixel is off the canvas.
  view->keyDown(TMArrowKey::kDown);
  EXPECT_EQ(selectedPath(), "/data/a");
}

TEST_F(TMViewSelection, SelectFirstItemTakesTheTopLeftOfTheSelectedFolderOrOfTheShownOne) {
  show(nested());
  view->selectSubItem();
  EXPECT_EQ(selectedPath(), "/data/big");  // the top left of the shown folder's contents
  view->selectSubItem();
  EXPECT_EQ(selectedPath(), "/data/big/c");  // sub lies below it
  click(titleOf(rectOf("/data/small")));
  view->selectSubItem();
  EXPECT_EQ(selectedPath(), "/data/small/d");
  view->stretchBy(-0.5, -0.5);  // zoomed into the middle: the top left of what is shown
  view->updateGeometry();
  click(centreOf(rectOf("/data/e")));
  view->selectSubItem();
  EXPECT_NE(selectedPath(), "/data/e");
  EXPECT_NE(selectedPath(), "none");
}

TEST_F(TMViewSelection, DraggingPansWithThePointerAndTheClosedHandAndSelectsNothing) {
  show(nested());
  view->stretchBy(-0.75, -0.75);  // {375, 300, 250, 200}: 4 view pixels a canvas unit
  view->mouseDown();
  view->mouseDragged(10, 5);
  EXPECT_TRUE(host.closedHand);
  view->mouseDragged(10, 5);
  EXPECT_EQ(host.cursorDepth, 1);
  view->mouseUp({500, 400}, 1);
  EXPECT_EQ(view->virtualSize(), (TMRect{370, 302.5, 250, 200}));
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(host.cursorDepth, 0);
  EXPECT_EQ(notices, 0);
}

TEST_F(TMViewSelection, GoingUpAtTheTopDoesNothing) {
  show(nested());
  view->popNarrowing();
  view->focusOn(TMFileURL::fromPath("/"));  // above the scanned folder
  EXPECT_FALSE(host.animating());
  EXPECT_TRUE(view->isAtTopLevel());
}

TEST_F(TMViewSelection, GoingUpAnimatesFromTheOldFolderToTheWholeParent) {
  show(nested());
  const TMRect bigOnRoot = rectOf("/data/big");
  const TMRect subOnRoot = rectOf("/data/big/sub");
  click(titleOf(bigOnRoot), 2);
  host.finishAnimation();
  click(titleOf(rectOf("/data/big/sub")), 2);
  host.finishAnimation();
  ASSERT_EQ(view->current()->url.path(), "/data/big/sub");

  view->popNarrowing();  // from the old folder's area as the root's canvas has it
  ASSERT_TRUE(host.animating());
  host.advanceAnimation(0);
  EXPECT_EQ(view->virtualSize(), inSinglePrecision(subOnRoot));
  host.finishAnimation();
  EXPECT_EQ(view->current()->url.path(), "/data/big");

  view->pathDoubleClick(TMFileURL::fromPath("/data"));  // to the root in one step
  host.advanceAnimation(0);
  EXPECT_EQ(view->virtualSize(), inSinglePrecision(bigOnRoot));
  host.finishAnimation();
  EXPECT_EQ(view->current(), view->selected());
  EXPECT_EQ(view->virtualSize(), canvas);
  EXPECT_TRUE(view->isAtTopLevel());  // a new state, but the root's node
}

TEST_F(TMViewSelection, TwoLevelsUpFromThePathBarStartFromTheOldFolderOnTheRootCanvas) {
  show(nested());
  const TMRect subOnRoot = rectOf("/data/big/sub");
  view->focusOn(TMFileURL::fromPath("/data/big/sub"));
  host.finishAnimation();
  view->pathDoubleClick(TMFileURL::fromPath("/data"));
  host.advanceAnimation(0);
  EXPECT_EQ(view->virtualSize(), inSinglePrecision(subOnRoot));
  host.finishAnimation();
  EXPECT_EQ(view->current()->url.path(), "/data");
}

// "/" is its own parent; a volume mounted elsewhere is not.
class TMViewVolumeUp : public TMViewFixture, public ::testing::WithParamInterface<std::string> {};

TEST_P(TMViewVolumeUp, GoingUpFromAVolumesFolderShowsTheWholeVolumeAgain) {
  show(nested(), GetParam(), {4 << 20, 2 << 20}, true);  // the scanned folder takes a seventh
  const TMNodeState* volume = view->root();
  click(titleOf(rectOf(GetParam())), 2);
  host.finishAnimation();
  ASSERT_NE(view->current(), volume);
  EXPECT_FALSE(view->isAtTopLevel());
  view->popNarrowing();
  host.finishAnimation();
  EXPECT_EQ(view->current(), volume);
  EXPECT_TRUE(view->isAtTopLevel());
  EXPECT_TRUE(view->describeNodeAt({5, 5})->isSpace);  // the free space is back
  view->popNarrowing();
  EXPECT_FALSE(host.animating());
}

INSTANTIATE_TEST_SUITE_P(MountPoints, TMViewVolumeUp, ::testing::Values("/", "/mnt/vol"),
                         caseNamesBy([](const std::string& path) { return "at " + path; }));

TEST_F(TMViewSelection, AVolumeWithoutItsSpaceIsItsFolderFillingTheMap) {
  show(nested(), "/", {4 << 20, 2 << 20});  // the scanned folder takes a seventh
  ASSERT_TRUE(view->describeNodeAt({5, 5})->isSpace);
  click(centreOf(rectOf("/e")));
  view->setShowsSpace(false);
  EXPECT_EQ(view->selected(), nullptr);  // shown again, whole
  for (const TMPoint& corner : {TMPoint{5, 5}, TMPoint{995, 5}, TMPoint{5, 795}, TMPoint{995, 795}})
    EXPECT_FALSE(view->describeNodeAt(corner)->isSpace);
  EXPECT_EQ(rectOf("/"), canvas);
  EXPECT_TRUE(view->isAtTopLevel());
  view->setShowsSpace(true);
  EXPECT_TRUE(view->describeNodeAt({5, 5})->isSpace);
}

TEST_F(TMViewSelection, FocusingOnTheCurrentFolderOrAFileNarrowsOntoIt) {
  show(nested());
  view->focusOn(TMFileURL::fromPath("/data/e"));
  host.finishAnimation();
  EXPECT_EQ(view->current()->url.path(), "/data/e");
  view->focusOn(TMFileURL::fromPath("/data/nothing/there"));  // the deepest match, the current file
  host.finishAnimation();
  EXPECT_EQ(view->current()->url.path(), "/data/e");
  view->focusOn(TMFileURL::fromPath("/other/x"));  // not below the current node
  EXPECT_FALSE(host.animating());
}

// A row chosen in the list: selected where it can be seen, after showing
// its folder where it cannot.
struct ListChoiceCase {
  const char* name;
  const char* shownFirst;  // narrowed onto before the choice
  const char* chosen;
  const char* shownAfter;
  const char* selectedAfter;
};

class TMViewListChoice : public TMViewFixture, public ::testing::WithParamInterface<ListChoiceCase> {};

TEST_P(TMViewListChoice, SelectsWhereItCanBeSeen) {
  const ListChoiceCase& c = GetParam();
  // "tiny" takes 3 blocks of a million: a few pixels, no tile of its own.
  show(E::directory("data", {E::file("huge", 1000000), E::directory("tiny", {E::file("t", 2), E::file("u", 1)}),
                             E::directory("half", {E::file("h", 400000)})}));
  view->focusOn(TMFileURL::fromPath(c.shownFirst));
  while (view->isLocked()) host.finishAnimation();
  view->selectURL(TMFileURL::fromPath(c.chosen));
  while (view->isLocked()) host.finishAnimation();
  EXPECT_EQ(view->current()->url.path(), c.shownAfter);
  EXPECT_EQ(selectedPath(), c.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TMViewListChoice,
    ::testing::Values(ListChoiceCase{"a tile in sight", "/data", "/data/huge", "/data", "/data/huge"},
                      ListChoiceCase{"a file too small to see", "/data", "/data/tiny/t", "/data/tiny", "/data/tiny/t"},
                      ListChoiceCase{"a folder too small to see", "/data", "/data/tiny", "/data", "/data/tiny"},
                      ListChoiceCase{"an item outside the shown folder", "/data/half", "/data/huge", "/data",
                                     "/data/huge"},
                      ListChoiceCase{"the shown folder itself", "/data/half", "/data/half", "/data/half",
                                     "/data/half"}),
    caseNamesByName);

}  // namespace
}  // namespace tilemora::test
