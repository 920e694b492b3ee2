// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/drawing/TMColorWheel.h"

#include <gtest/gtest.h>

namespace tilemora {
namespace {

TEST(TMColorWheel, CyclesThroughEightLevelsAndKeepsOneSelectionColour) {
  TMColorWheel wheel;
  EXPECT_EQ(*wheel.getLevelColor(), colorFromHtmlVal(0xE68164));
  const TMColor* selection = wheel.getSelectionColor();
  for (int level = 1; level <= 9; ++level) {
    wheel.pushColor();
    EXPECT_EQ(*wheel.getLevelColor(), colorFromHtmlVal(colorList[size_t(level % 8)])) << level;
    EXPECT_EQ(wheel.getSelectionColor(), selection);
  }
  EXPECT_EQ(*wheel.getLevelColor(), colorFromHtmlVal(0xF4C7A2));  // level 9
  for (int level = 9; level > 0; --level) wheel.popColor();
  EXPECT_EQ(wheel.level(), 0);
  EXPECT_EQ(selection->red, 0.46666666865348816);
  EXPECT_EQ(selection->green, selection->red);
  EXPECT_EQ(selection->blue, selection->red);
}

TEST(TMColorWheel, ColorsFromHtmlValuesUseSinglePrecisionChannels) {
  EXPECT_EQ(colorFromHtmlVal(0xFF0000), (TMColor{1.0, 0.0, 0.0, 1.0}));
  EXPECT_EQ(colorFromHtmlVal(0x00FF00), (TMColor{0.0, 1.0, 0.0, 1.0}));
  EXPECT_EQ(colorFromHtmlVal(0x0000FF), (TMColor{0.0, 0.0, 1.0, 1.0}));
  EXPECT_EQ(colorFromHtmlVal(0xAB0000FF), colorFromHtmlVal(0x0000FF));  // high byte ignored
  EXPECT_EQ(colorFromHtmlVal(0x777777).red, 0.46666666865348816);
}

TEST(TMColorWheelDeathTest, APopBelowLevelZeroEndsTheProcess) {
  TMColorWheel wheel;
  EXPECT_DEATH(wheel.popColor(), "Assertion failed: \\(currentLevel >= 0\\), function popColor");
}

}  // namespace
}  // namespace tilemora
