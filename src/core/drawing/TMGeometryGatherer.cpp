// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMGeometryGatherer.h"

#include <algorithm>

#include "core/platform/TMAssert.h"

namespace tilemora {

TMGeometryGatherer::TMGeometryGatherer(int32_t rectCount,
                                       std::shared_ptr<const TMTextMeasuring> measurer)
    : maxRectangleCount(uint64_t(std::max<int64_t>(rectCount, 0))), measurer(std::move(measurer)) {
  // Room is kept, not filled: a view's bound is about a million rectangles
  // (tens of megabytes), which a new map or a resize would otherwise clear
  // on the main thread before the first frame, however few it draws.
  rects.reserve(maxRectangleCount);
  colors.reserve(maxRectangleCount);
  styles.reserve(maxRectangleCount);
  textWrite.reserve(50);
}

void TMGeometryGatherer::scalePoint(TMPoint& point) const {
  point.x = point.x * widthScale + translateX;
  point.y = point.y * heightScale + translateY;
}

void TMGeometryGatherer::unscalePoint(TMPoint& point) const {
  point.x = (point.x - translateX) / widthScale;
  point.y = (point.y - translateY) / heightScale;
}

void TMGeometryGatherer::scaleRectangle(TMRect& rectangle) const {
  rectangle.width *= widthScale;
  rectangle.height *= heightScale;
  TMPoint origin{rectangle.x, rectangle.y};
  scalePoint(origin);
  rectangle.x = origin.x;
  rectangle.y = origin.y;
}

void TMGeometryGatherer::addRectangle(const TMRect& r, const TMColor* color, TMRectStyle style) {
  TM_ASSERT(collecting);
  if (rectangleWrite >= rects.size()) {
    // The capacity computed from the view's size is not a true bound (nested
    // folders count too): grow rather than lose or overrun rectangles.
    if (rectangleWrite >= maxRectangleCount) maxRectangleCount = std::max<uint64_t>(16, maxRectangleCount * 2);
    // Filled as frames need them, within the room kept while it lasts.
    const size_t filled = std::min<uint64_t>(maxRectangleCount, std::max<uint64_t>(4096, rects.size() * 2));
    rects.resize(filled);
    colors.resize(filled);
    styles.resize(filled);
  }
  const TMRect& f = frameRect;
  colors[rectangleWrite] = color;
  styles[rectangleWrite] = style;
  TMRect& clipped = rects[rectangleWrite];
  clipped.x = std::max(f.x, r.x);
  clipped.y = std::max(f.y, r.y);
  clipped.width = std::min(r.width - (clipped.x - r.x), f.width);
  clipped.height = std::min(r.height - (clipped.y - r.y), f.height);
  if (clipped.width > 0 && clipped.height > 0) ++rectangleWrite;
  scaleRectangle(clipped);
}

void TMGeometryGatherer::addText(std::string text, const TMRect& rectangle, const TMRect* node) {
  TM_ASSERT(collecting);
  TMRect position = rectangle;
  TMPoint origin{position.x, position.y};
  scalePoint(origin);
  position.x = origin.x;
  position.y = origin.y;
  position.width *= widthScale;
  if (node == nullptr) return void(textWrite.emplace_back(std::move(text), position));
  TMRect nodeRectangle = *node;
  scaleRectangle(nodeRectangle);
  textWrite.emplace_back(std::move(text), position, nodeRectangle);
}

void TMGeometryGatherer::startGathering(const TMRect& frame, const TMRect& visible) {
  TM_ASSERT(!collecting);
  rectangleWrite = 0;
  frameRect = frame;
  widthScale = frame.width / visible.width;
  heightScale = frame.height / visible.height;
  translateX = -(visible.x * widthScale);
  translateY = -(visible.y * heightScale);
  textWrite.clear();
  collecting = true;
}

void TMGeometryGatherer::stopGathering() {
  TM_ASSERT(collecting);
  collecting = false;
}

uint64_t TMGeometryGatherer::rectangleCount() const {
  TM_ASSERT(!collecting);
  return rectangleWrite;
}

const TMRect* TMGeometryGatherer::getRectangles() const {
  TM_ASSERT(!collecting);
  return rects.data();
}

const TMColor* const* TMGeometryGatherer::getColors() const {
  TM_ASSERT(!collecting);
  return colors.data();
}

const std::vector<TMStringDraw>& TMGeometryGatherer::getText() const {
  TM_ASSERT(!collecting);
  return textWrite;
}

}  // namespace tilemora
