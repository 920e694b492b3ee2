// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the initial message view draws its dashed square and its text, in
// the view's own coordinates with y up: a 70-point square in the middle,
// and a 240 × 50 text box right below it.

#include "core/drawing/TMGeometry.h"

namespace tilemora {

struct TMMessageGeometry {
  TMRect square;
  TMRect textBox;

  static constexpr double kSquareSide = 70;
  static constexpr double kCornerRadius = 10;
  static constexpr double kLineWidth = 5;
  static constexpr double kDashOn = 7;
  static constexpr double kDashOff = 5;
  static constexpr double kTextWidth = 240;
  static constexpr double kTextHeight = 50;

  static TMMessageGeometry forBounds(const TMRect& bounds) {
    TMMessageGeometry geometry;
    geometry.square = {(bounds.width - kSquareSide) / 2 + bounds.x,
                       (bounds.height - kSquareSide) / 2 + bounds.y, kSquareSide, kSquareSide};
    geometry.textBox = {(bounds.width - kTextWidth) / 2 + bounds.x, geometry.square.y - kTextHeight,
                        kTextWidth, kTextHeight};
    return geometry;
  }
};

}  // namespace tilemora
