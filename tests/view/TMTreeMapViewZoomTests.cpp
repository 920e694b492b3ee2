// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom, scrolling and the animations of the tree map view, on a manual clock.

#include <gtest/gtest.h>

#include <functional>

#include "support/TMCaseNames.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMViewFixture.h"

namespace tilemora::test {
namespace {

class TMViewZoom : public TMViewFixture {};

TEST_F(TMViewZoom, ZoomInAnimatesForATenthOfASecondToTheStretchedRectangle) {
  show(nested());
  view->zoomStep(+1);
  EXPECT_EQ(notices, 1);
  ASSERT_TRUE(host.animating());
  EXPECT_EQ(host.animationSeconds.back(), double(0.1f));
  EXPECT_TRUE(view->isLocked());
  EXPECT_EQ(view->virtualSize(), canvas);  // the animation moves it from there
  host.advanceAnimation(0.5f);
  EXPECT_NEAR(view->virtualSize().width, 950, 1e-3);
  host.finishAnimation();
  EXPECT_FALSE(view->isLocked());
  EXPECT_NEAR(view->virtualSize().x, 50, 1e-3);
  EXPECT_NEAR(view->virtualSize().height, 720, 1e-3);
  EXPECT_NEAR(host.scrollers.horizontalProportion, 0.9, 1e-6);
  EXPECT_FALSE(view->isZoomMaximum() || view->isZoomMinimum());
}

TEST_F(TMViewZoom, ZoomOutAtTheWholeCanvasRunsFromTheCanvasToItself) {
  show(nested());
  view->zoomStep(-1);
  host.advanceAnimation(0.5f);
  EXPECT_EQ(view->virtualSize(), canvas);
  host.finishAnimation();
  EXPECT_EQ(view->virtualSize(), canvas);
}

TEST_F(TMViewZoom, StepsInStopAtTheMaximumAndAsManyOutComeBackExactly) {
  show(nested());
  view->scrollWheel(0, 3, true);  // off the steps: the first step lands on one
  int stepsIn = 0;
  for (int i = 0; i < 240; ++i) {
    const size_t animations = host.animationSeconds.size();
    view->zoomStep(+1);
    stepsIn += int(host.animationSeconds.size() - animations);
    host.finishAnimation();
  }
  // 800 / 7 px: the view still shows at least one smallest tile of the map.
  EXPECT_TRUE(view->isZoomMaximum());
  EXPECT_LE(canvas.height / view->virtualSize().height, 800 / 7.0);
  EXPECT_GT(canvas.height / view->virtualSize().height, 800 / 7.0 * 0.9);
  EXPECT_EQ(stepsIn, 44);
  const TMRect deepest = view->virtualSize();
  view->zoomStep(-1);
  host.finishAnimation();
  EXPECT_FALSE(view->isZoomMaximum());
  view->zoomStep(+1);
  host.finishAnimation();
  EXPECT_EQ(view->virtualSize(), deepest);
  for (int i = 0; i < 250; ++i) {
    view->zoomStep(-1);
    host.finishAnimation();
  }
  EXPECT_EQ(view->virtualSize(), canvas);
}

// What the lock keeps out while an animation runs: each changes neither
// the visible rectangle nor the selection, and reveals nothing.
struct LockedCase {
  const char* name;
  std::function<void(TMTreeMapView&)> input;
};
class TMViewLockedInput : public TMViewFixture, public ::testing::WithParamInterface<LockedCase> {};

TEST_P(TMViewLockedInput, IsIgnoredWhileAnAnimationRuns) {
  show(nested());
  click(centreOf(rectOf("/data/e")));
  view->zoomStep(+1);
  host.advanceAnimation(0.5f);
  const TMRect during = view->virtualSize();
  const size_t animations = host.animationSeconds.size();
  GetParam().input(*view);
  EXPECT_EQ(view->virtualSize(), during);
  EXPECT_EQ(selectedPath(), "/data/e");
  EXPECT_TRUE(host.reveals.empty());
  EXPECT_EQ(host.animationSeconds.size(), animations);
  EXPECT_EQ(host.cursorDepth, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Inputs, TMViewLockedInput,
    ::testing::Values(LockedCase{"a second zoom", [](TMTreeMapView& v) { v.zoomStep(-1); }},
                      LockedCase{"a focus", [](TMTreeMapView& v) { v.animateZoom(0, {0, 0, 10, 10}, {0, 0, 20, 20}); }},
                      LockedCase{"the wheel", [](TMTreeMapView& v) { v.scrollWheel(5, 5, false); }},
                      LockedCase{"the zooming wheel", [](TMTreeMapView& v) { v.scrollWheel(0, 5, true); }},
                      LockedCase{"a pinch", [](TMTreeMapView& v) { v.magnifyWithEvent(0.5); }},
                      LockedCase{"a drag", [](TMTreeMapView& v) { v.mouseDown(), v.mouseDragged(30, 30); }},
                      LockedCase{"a click", [](TMTreeMapView& v) { v.mouseDown(), v.mouseUp({5, 795}, 1); }},
                      LockedCase{"going up", [](TMTreeMapView& v) { v.popNarrowing(); }},
                      LockedCase{"reveal", [](TMTreeMapView& v) { v.revealSelectionInFinder(); }}),
    caseNamesByName);

TEST_F(TMViewZoom, KeysAndSelectFirstItemStillSelectDuringAnAnimation) {
  show(nested());
  click(titleOf(rectOf("/data/big")));
  view->narrowSelected();
  ASSERT_TRUE(view->isLocked());
  view->selectSubItem();
  EXPECT_EQ(selectedPath(), "/data/big/c");
  view->keyDown(TMArrowKey::kDown);
  EXPECT_EQ(selectedPath(), "/data/big/sub");
}

TEST_F(TMViewZoom, ATreeHandedOverDuringAFocusKeepsTheNewTreeWhole) {
  show(nested());
  click(titleOf(rectOf("/data/big")), 2);
  host.advanceAnimation(0.5f);
  view->setTreeMap(makeSharedLayout(scanned, 3, layoutBuiltUnderTest()), TMFileURL::fromPath("/data"));
  const TMNodeState* newRoot = view->root();
  host.advanceAnimation(0.8f);
  host.finishAnimation();
  EXPECT_FALSE(view->isLocked());
  EXPECT_EQ(view->current(), newRoot);
  EXPECT_EQ(view->selected(), nullptr);
  EXPECT_EQ(view->virtualSize(), canvas);
  view->zoomStep(+1);  // usable again
  EXPECT_TRUE(host.animating());
}

TEST_F(TMViewZoom, NoTreeHandedOverDuringAnAnimationEndsItQuietly) {
  show(nested());
  view->zoomStep(+1);
  view->setTreeMap(nullptr, TMFileURL::fromPath("/data"));
  host.finishAnimation();
  EXPECT_FALSE(view->isLocked());
  EXPECT_EQ(view->current(), nullptr);
}

struct WheelCase {
  const char* name;
  double dx, dy;
  bool zoom;
  TMRect expected;  // from {250, 200, 500, 400}
};
class TMViewWheel : public TMViewFixture, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(TMViewWheel, ScrollsInVirtualUnitsOrZooms) {
  show(nested());
  view->stretchBy(-0.5, -0.5);
  const int repaints = host.repaints;
  view->scrollWheel(GetParam().dx, GetParam().dy, GetParam().zoom);
  const TMRect v = view->virtualSize();
  EXPECT_NEAR(v.x, GetParam().expected.x, 1e-4);
  EXPECT_NEAR(v.y, GetParam().expected.y, 1e-4);
  EXPECT_NEAR(v.width, GetParam().expected.width, 1e-4);
  EXPECT_NEAR(v.height, GetParam().expected.height, 1e-4);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(host.repaints, repaints + 1);
}
INSTANTIATE_TEST_SUITE_P(
    Deltas, TMViewWheel,
    ::testing::Values(WheelCase{"up moves the view up", 0, 30, false, {250, 230, 500, 400}},
                      WheelCase{"left moves the view left", 40, 0, false, {210, 200, 500, 400}},
                      WheelCase{"zooming up zooms in", 0, 10, true, {300, 240, 400, 320}},
                      WheelCase{"zooming down zooms out", 0, -10, true, {200, 160, 600, 480}},
                      WheelCase{"a huge zoom stops at the maximum", 0, 100, true, {495.625, 396.5, 8.75, 7}}),
    caseNamesByName);

TEST_F(TMViewZoom, APinchZoomsByItsMagnification) {
  show(nested());
  view->magnifyWithEvent(0.5);
  EXPECT_EQ(view->virtualSize(), (TMRect{250, 200, 500, 400}));
  EXPECT_EQ(notices, 1);
}

TEST_F(TMViewZoom, ScrollBarsPageAndLetTheDraggedKnobBe) {
  show(nested());
  view->stretchBy(-0.5, -0.5);
  view->scrollVertical(TMScrollerPart::kIncrementPage, 0.5);
  EXPECT_NEAR(view->virtualSize().y, 0.4 * 400, 1e-9);
  EXPECT_NEAR(host.scrollers.verticalValue, 0.6, 1e-9);
  host.scrollers.horizontalValue = -1;  // not written back for a knob
  view->scrollHorizontal(TMScrollerPart::kKnob, 0.25);
  EXPECT_EQ(view->virtualSize().x, 125);
  EXPECT_EQ(host.scrollers.horizontalValue, -1);
}

}  // namespace
}  // namespace tilemora::test
