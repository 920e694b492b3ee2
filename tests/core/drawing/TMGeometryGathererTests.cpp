// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/drawing/TMGeometryGatherer.h"

#include <gtest/gtest.h>

#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

TMGeometryGatherer makeGatherer(int32_t capacity = 4) {
  return TMGeometryGatherer(capacity, std::make_shared<TMFixedWidthMeasurer>(12));
}

struct ClipCase {
  const char* what;
  TMRect rectangle;
  bool counts;
  TMRect stored;  // in view coordinates, with F = V = {0, 0, 100, 50}
};

class TMGathererClipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(TMGathererClipping, ClipsNearEdgesAndCapsTheExtent) {
  TMGeometryGatherer gatherer = makeGatherer();
  const TMRect canvas{0, 0, 100, 50};
  gatherer.startGathering(canvas, canvas);
  gatherer.addRectangle(GetParam().rectangle, &TMColor::whiteColor());
  gatherer.stopGathering();
  ASSERT_EQ(gatherer.rectangleCount(), GetParam().counts ? 1u : 0u) << GetParam().what;
  if (GetParam().counts) {
    EXPECT_EQ(gatherer.getRectangles()[0], GetParam().stored) << GetParam().what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, TMGathererClipping,
    ::testing::Values(ClipCase{"inside", {10, 10, 20, 5}, true, {10, 10, 20, 5}},
                      ClipCase{"wholly before the canvas in x", {-30, 0, 30, 10}, false, {}},
                      ClipCase{"wholly before the canvas in y", {0, -10, 10, 10}, false, {}},
                      ClipCase{"zero width", {5, 5, 0, 10}, false, {}},
                      ClipCase{"zero height", {5, 5, 10, 0}, false, {}},
                      ClipCase{"crossing the near edge", {-10, -5, 30, 20}, true, {0, 0, 20, 15}},
                      ClipCase{"wider than the canvas", {20, 0, 500, 10}, true, {20, 0, 100, 10}},
                      ClipCase{"past the far edge but no wider", {80, 0, 90, 10}, true,
                               {80, 0, 90, 10}}),
    caseNamesBy([](const ClipCase& c) { return identifierFrom(c.what); }));

TEST(TMGeometryGatherer, ARectangleThatDoesNotCountGivesItsSlotToTheNext) {
  TMGeometryGatherer gatherer = makeGatherer();
  const TMRect canvas{0, 0, 100, 50};
  gatherer.startGathering(canvas, canvas);
  gatherer.addRectangle(TMRect{-20, 0, 10, 10}, &TMColor::blackColor());
  gatherer.addRectangle(TMRect{1, 2, 3, 4}, &TMColor::whiteColor());
  gatherer.stopGathering();
  ASSERT_EQ(gatherer.rectangleCount(), 1u);
  EXPECT_EQ(gatherer.getRectangles()[0], (TMRect{1, 2, 3, 4}));
  EXPECT_EQ(gatherer.getColors()[0], &TMColor::whiteColor());
}

struct MappingCase {
  const char* name;
  TMRect visible;  // of the canvas 1000 x 800, shown on a view of that size
  double pixelWidth;
  double pixelHeight;
  TMRect rectangle;  // where {300, 200, 100, 50} goes
  TMPoint visibleEnd;  // the visible rectangle's far corner, mapped to 1000, 800
};

class TMGathererMapping : public ::testing::TestWithParam<MappingCase> {};

TEST_P(TMGathererMapping, MapsTheVisibleRectangleOntoTheView) {
  const MappingCase& c = GetParam();
  TMGeometryGatherer gatherer = makeGatherer();
  gatherer.startGathering(TMRect{0, 0, 1000, 800}, c.visible);
  EXPECT_EQ(gatherer.virtualPixelWidthSize(), c.pixelWidth);
  EXPECT_EQ(gatherer.virtualPixelHeightSize(), c.pixelHeight);
  gatherer.addRectangle(TMRect{300, 200, 100, 50}, &TMColor::whiteColor());
  gatherer.addText("name", TMRect{300, 200, 100, 10});
  gatherer.stopGathering();
  EXPECT_EQ(gatherer.getRectangles()[0], c.rectangle);
  // A text's width is scaled, its height (already in view units) is not.
  EXPECT_EQ(gatherer.getText()[0].position(), (TMRect{c.rectangle.x, c.rectangle.y, c.rectangle.width, 10}));

  TMPoint start{c.visible.x, c.visible.y}, end = c.visibleEnd;
  gatherer.scalePoint(start);
  gatherer.scalePoint(end);
  EXPECT_EQ(start.x, 0);
  EXPECT_EQ(start.y, 0);
  EXPECT_EQ(end.x, 1000);
  EXPECT_EQ(end.y, 800);
  TMPoint back{123.25, 456.5};
  gatherer.scalePoint(back);
  gatherer.unscalePoint(back);
  EXPECT_DOUBLE_EQ(back.x, 123.25);
  EXPECT_DOUBLE_EQ(back.y, 456.5);
}

INSTANTIATE_TEST_SUITE_P(
    Views, TMGathererMapping,
    ::testing::Values(MappingCase{"twice magnified", {250, 100, 500, 400}, 0.5, 0.5, {100, 200, 200, 100}, {750, 500}},
                      // x magnified four times, y twice: no axis may borrow the other's scale.
                      MappingCase{"stretched unequally", {250, 100, 250, 400}, 0.25, 0.5, {200, 200, 400, 100},
                                  {500, 500}}),
    caseNamesByName);

TEST(TMGeometryGatherer, TextsLastUntilTheNextFrameStarts) {
  TMGeometryGatherer gatherer = makeGatherer();
  const TMRect canvas{0, 0, 10, 10};
  gatherer.startGathering(canvas, canvas);
  gatherer.addText("kept", canvas);
  gatherer.stopGathering();
  EXPECT_EQ(gatherer.getText().size(), 1u);
  EXPECT_EQ(gatherer.getText().size(), 1u);
  gatherer.startGathering(canvas, canvas);
  gatherer.stopGathering();
  EXPECT_EQ(gatherer.getText().size(), 0u);
  EXPECT_EQ(gatherer.evaluateStringWidth("anything"), 12);
}

// Room is filled as frames need it, within the capacity and past it: every
// rectangle is kept, in order, and a later smaller frame reuses the room.
struct GrowthCase {
  const char* name;
  int32_t capacity;
  int rectangles;
};

class TMGeometryGathererGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(TMGeometryGathererGrowth, KeepsEveryRectangleInOrder) {
  TMGeometryGatherer gatherer = makeGatherer(GetParam().capacity);
  const TMRect canvas{0, 0, 100000, 100};
  for (int frame : {GetParam().rectangles, GetParam().rectangles / 2}) {
    gatherer.startGathering(canvas, canvas);
    for (int i = 0; i < frame; ++i) gatherer.addRectangle(TMRect{double(i), 0, 1, 1}, &TMColor::whiteColor());
    gatherer.stopGathering();
    ASSERT_EQ(gatherer.rectangleCount(), uint64_t(frame));
    EXPECT_GE(gatherer.capacity(), uint64_t(std::max(frame, GetParam().capacity)));
    for (int i = 0; i < frame; ++i) ASSERT_EQ(gatherer.getRectangles()[i].x, double(i)) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Frames, TMGeometryGathererGrowth,
                         ::testing::Values(GrowthCase{"past a small capacity", 2, 50},
                                           GrowthCase{"within a capacity, past the first room filled", 10000, 9000},
                                           GrowthCase{"past a capacity larger than the first room", 5000, 12000}),
                         caseNamesByName);

TEST(TMGeometryGathererDeathTest, GuardsItsCallingOrder) {
  const TMRect canvas{0, 0, 10, 10};
  EXPECT_DEATH(makeGatherer().addRectangle(canvas, &TMColor::whiteColor()),
               "\\(collecting\\), function addRectangle");
  EXPECT_DEATH(makeGatherer().addText("t", canvas), "\\(collecting\\), function addText");
  EXPECT_DEATH(makeGatherer().stopGathering(), "\\(collecting\\), function stopGathering");
  EXPECT_DEATH(
      {
        TMGeometryGatherer gatherer = makeGatherer();
        gatherer.startGathering(canvas, canvas);
        gatherer.startGathering(canvas, canvas);
      },
      "\\(!collecting\\), function startGathering");
  EXPECT_DEATH(
      {
        TMGeometryGatherer gatherer = makeGatherer();
        gatherer.startGathering(canvas, canvas);
        gatherer.getRectangles();
      },
      "\\(!collecting\\), function getRectangles");
}

}  // namespace
}  // namespace tilemora::test
