// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/map/TMVisibleRectangle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/TMCaseNames.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora::test {
namespace {

const TMRect kCanvas{0, 0, 1000, 800};

void expectWithinATenThousandth(const TMRect& actual, const TMRect& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-4);
  EXPECT_NEAR(actual.y, expected.y, 1e-4);
  EXPECT_NEAR(actual.width, expected.width, 1e-4);
  EXPECT_NEAR(actual.height, expected.height, 1e-4);
}

struct MoveCase {
  const char* name;
  TMRect visible;
  double dx, dy;  // a translation, or a stretch
  TMRect expected;
};

class TMStretching : public ::testing::TestWithParam<MoveCase> {};
TEST_P(TMStretching, ScalesAboutTheCentreInsideTheCanvas) {
  const MoveCase& c = GetParam();
  const TMRect result = stretchedRect(c.visible, kCanvas, c.dx, c.dy);
  expectWithinATenThousandth(result, c.expected);
  EXPECT_GT(result.width, 0);
  EXPECT_GT(result.height, 0);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TMStretching,
    ::testing::Values(
        MoveCase{"zoom out at the whole canvas", kCanvas, 0.1, 0.1, kCanvas},
        MoveCase{"zoom out near a corner", {0, 0, 500, 400}, 0.1, 0.1, {0, 0, 550, 440}},
        MoveCase{"zoom in about the centre", kCanvas, double(-0.1f), double(-0.1f), {50, 40, 900, 720}},
        MoveCase{"zoom out past the far edge", {900, 700, 100, 100}, 1, 1, {800, 600, 200, 200}},
        MoveCase{"a factor below zero is bounded", kCanvas, -1.2, -1.2, {495, 396, 10, 8}},
        MoveCase{"a factor of zero is bounded", {250, 200, 500, 400}, -1, 0, {497.5, 200, 5, 400}},
        MoveCase{"not a number is bounded", kCanvas, NAN, 0, {495, 0, 10, 800}}),
    caseNamesByName);

class TMTranslation : public ::testing::TestWithParam<MoveCase> {};
TEST_P(TMTranslation, StopsAtTheEdges) {
  const MoveCase& c = GetParam();
  EXPECT_EQ(translatedRect(c.visible, kCanvas, c.dx, c.dy), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TMTranslation,
    ::testing::Values(
        MoveCase{"inside", {100, 100, 500, 400}, 50, -20, {150, 80, 500, 400}},
        MoveCase{"beyond the far edge", {400, 0, 600, 800}, 100, 0, {400, 0, 600, 800}},
        MoveCase{"beyond the near edge", {50, 30, 600, 400}, -100, -100, {0, 0, 600, 400}},
        MoveCase{"larger than the canvas keeps the far edge", {0, 0, 1200, 800}, 10, 0, {-200, 0, 1200, 800}}),
    caseNamesByName);

struct KnobCase {
  const char* name;
  TMRect visible;
  TMScrollerPositions expected;
};
class TMScrollerKnobs : public ::testing::TestWithParam<KnobCase> {};
TEST_P(TMScrollerKnobs, FollowTheVisibleRectangle) {
  const TMScrollerPositions p = scrollerPositionsFor(GetParam().visible, kCanvas);
  const TMScrollerPositions& e = GetParam().expected;
  EXPECT_DOUBLE_EQ(p.horizontalProportion, e.horizontalProportion);
  EXPECT_DOUBLE_EQ(p.horizontalValue, e.horizontalValue);
  EXPECT_DOUBLE_EQ(p.verticalValue, e.verticalValue);
  EXPECT_DOUBLE_EQ(p.verticalProportion, e.verticalProportion);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TMScrollerKnobs,
    ::testing::Values(KnobCase{"centred at half size", {250, 200, 500, 400}, {0.5, 0.5, 0.5, 0.5}},
                      KnobCase{"top left", {0, 400, 500, 400}, {0.5, 0, 0, 0.5}},
                      KnobCase{"bottom right", {500, 0, 500, 400}, {0.5, 1, 1, 0.5}},
                      KnobCase{"the whole canvas shows 0", kCanvas, {1, 0, 0, 1}},
                      KnobCase{"whole width only", {0, 100, 1000, 400}, {1, 0, 0.75, 0.5}}),
    caseNamesByName);

struct HitCase {
  const char* name;
  TMScrollerPart part;
  double value;
  double expected;
  bool replace;
};
class TMScrollerHits : public ::testing::TestWithParam<HitCase> {};
TEST_P(TMScrollerHits, StepPagesAndLinesAndKeepTheKnob) {
  bool replace = !GetParam().replace;
  EXPECT_DOUBLE_EQ(extractScrollerValue(GetParam().part, GetParam().value, replace), GetParam().expected);
  EXPECT_EQ(replace, GetParam().replace);
}
INSTANTIATE_TEST_SUITE_P(
    Parts, TMScrollerHits,
    ::testing::Values(HitCase{"increment page", TMScrollerPart::kIncrementPage, 0.5, 0.6, true},
                      HitCase{"decrement page clamps at 0", TMScrollerPart::kDecrementPage, 0.05, 0, true},
                      HitCase{"increment line clamps at 1", TMScrollerPart::kIncrementLine, 0.98, 1, true},
                      HitCase{"decrement line", TMScrollerPart::kDecrementLine, 0.5, 0.45, true},
                      HitCase{"knob keeps its value", TMScrollerPart::kKnob, 0.37, 0.37, false},
                      HitCase{"knob slot", TMScrollerPart::kKnobSlot, 0.2, 0.2, false},
                      HitCase{"no part", TMScrollerPart::kNoPart, 0.9, 0.9, false}),
    caseNamesByName);

TEST(TMAnimationInterpolation, RunsInSinglePrecisionFromEndToEnd) {
  const TMRect from{0, 0, 1000, 800};
  const TMRect to{50.1, 40.3, 900.7, 720.9};
  EXPECT_EQ(interpolatedRect(from, to, 0.0f), from);
  const TMRect end = interpolatedRect(from, to, 1.0f);
  EXPECT_EQ(end.x, double(float(50.1)));  // narrowed, not the double 50.1
  EXPECT_EQ(end.width, double(float(900.7)));
  const float p = 0.3f;
  EXPECT_EQ(interpolatedRect(from, to, p).y, double(0.0f + (float(40.3) - 0.0f) * p));
}

}  // namespace
}  // namespace tilemora::test
