// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Points and rectangles: origin x, y and size width, height, in doubles. In
// the map's own coordinates y grows upwards.

namespace tilemora {

struct TMPoint {
  double x = 0;
  double y = 0;
};

struct TMRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  bool operator==(const TMRect&) const = default;
};

}  // namespace tilemora
