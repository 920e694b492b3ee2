// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMVisibleRectangle.h"

#include <algorithm>
#include <cmath>

namespace tilemora {

namespace {

double boundedFactor(double stretch) {
  const double factor = stretch + 1;
  return factor > 0 ? factor : kSmallestStretchFactor;
}

// The centre coordinate c of an extent `length` moved so that the extent
// lies inside [0, end].
double centredInside(double c, double length, double end) {
  if (c - length / 2 < 0) return length / 2;
  if (c + length / 2 > end) return end - length / 2;
  return c;
}

}  // namespace

TMRect translatedRect(const TMRect& v, const TMRect& b, double dx, double dy) {
  const double y1 = std::max(v.y + dy, 0.0);
  const double x1 = std::max(v.x + dx, 0.0);
  TMRect moved = v;
  moved.x = x1 + std::min(0.0, (b.x + b.width) - (x1 + v.width));
  moved.y = y1 + std::min(0.0, (b.y + b.height) - (y1 + v.height));
  return moved;
}

TMRect stretchedRect(const TMRect& v, const TMRect& b, double sx, double sy) {
  const double w = std::min(boundedFactor(sx) * v.width, b.width);
  const double h = std::min(boundedFactor(sy) * v.height, b.height);
  const double cx = centredInside(v.x + v.width / 2, w, b.x + b.width);
  const double cy = centredInside(v.y + v.height / 2, h, b.y + b.height);
  return {cx - w / 2, cy - h / 2, w, h};
}

double zoomLevelOf(const TMRect& v, const TMRect& canvas) {
  if (!(v.width > 0) || !(canvas.width > 0)) return 0;
  const double level = std::log(canvas.width / v.width) / std::log(kZoomStepFactor);
  // A level reached by steps is whole but for the rounding of its width.
  const double whole = std::round(level);
  return std::abs(level - whole) < 1e-6 ? whole : level;
}

double nextZoomLevel(double level, int direction) {
  const double next = direction > 0 ? std::floor(level) + 1 : std::ceil(level) - 1;
  return std::max(next, 0.0);
}

double zoomFactorOfLevel(double level) { return std::pow(kZoomStepFactor, level); }

TMRect zoomedRect(const TMRect& v, const TMRect& b, double factor) {
  factor = std::max(factor, 1.0);
  // Level 0 is the canvas itself, to the last bit.
  const double w = factor == 1.0 ? b.width : b.width / factor;
  const double h = factor == 1.0 ? b.height : b.height / factor;
  const double cx = centredInside(v.x + v.width / 2, w, b.x + b.width);
  const double cy = centredInside(v.y + v.height / 2, h, b.y + b.height);
  return {cx - w / 2, cy - h / 2, w, h};
}

TMScrollerPositions scrollerPositionsFor(const TMRect& v, const TMRect& b) {
  TMScrollerPositions positions;
  positions.horizontalProportion = v.width / b.width;
  // With no room to move on an axis the position means nothing: show 0.
  const double widthRoom = b.width - v.width;
  const double heightRoom = b.height - v.height;
  positions.horizontalValue = widthRoom == 0 ? 0 : v.x / widthRoom;
  positions.verticalValue = heightRoom == 0 ? 0 : 1 - v.y / heightRoom;
  positions.verticalProportion = v.height / b.height;
  return positions;
}

double extractScrollerValue(TMScrollerPart part, double value, bool& replace) {
  double step = 0;
  switch (part) {
    case TMScrollerPart::kDecrementPage: step = -0.1; break;
    case TMScrollerPart::kIncrementPage: step = 0.1; break;
    case TMScrollerPart::kDecrementLine: step = -0.05; break;
    case TMScrollerPart::kIncrementLine: step = 0.05; break;
    default:
      replace = false;
      return value;
  }
  replace = true;
  return std::clamp(value + step, 0.0, 1.0);
}

TMRect interpolatedRect(const TMRect& from, const TMRect& to, float p) {
  auto between = [p](double a, double b) {
    const float fa = float(a);
    const float fb = float(b);
    return double(fa + (fb - fa) * p);
  };
  return {between(from.x, to.x), between(from.y, to.y), between(from.width, to.width),
          between(from.height, to.height)};
}

}  // namespace tilemora
