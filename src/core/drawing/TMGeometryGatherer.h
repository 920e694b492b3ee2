// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Collects one frame of the map: filled rectangles with one colour each and
// short texts with their rectangles. The layout hands them over in virtual
// coordinates; each is clipped to the canvas and converted to view
// coordinates on arrival, so painting is a replay over flat arrays.
//
// A frame maps the visible rectangle V of the canvas F onto the view:
//   view x = virtual x × widthScale + translateX (likewise for y).
//
// Calling order: startGathering, any number of addRectangle / addText /
// evaluateStringWidth, stopGathering; then the results may be read until the
// next startGathering. The mapping functions work at any time, with the
// mapping of the last frame.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TMColor.h"
#include "TMGeometry.h"
#include "TMStringDraw.h"
#include "core/platform/TMTextMeasuring.h"

namespace tilemora {

// How a gathered rectangle is painted over its fill: nothing (the fill of
// nodes too small to draw one by one), a grey frame (every node), hatching
// (what could not be read) or dots (what a stopped scan did not finish).
enum class TMRectStyle : uint8_t { kPlain, kFramed, kHatched, kDotted };

class TMGeometryGatherer {
 public:
  // initWithRectCount: — room for `rectCount` rectangles before the arrays
  // grow; `measurer` measures texts in the map's font.
  TMGeometryGatherer(int32_t rectCount, std::shared_ptr<const TMTextMeasuring> measurer);

  double evaluateStringWidth(std::string_view text) const { return measurer->widthOf(text); }

  void scalePoint(TMPoint& point) const;
  void unscalePoint(TMPoint& point) const;
  void scaleRectangle(TMRect& rectangle) const;

  // Adds a filled rectangle given in virtual coordinates; `color` must
  // outlive the frame. Rectangles that clip to nothing are not counted.
  void addRectangle(const TMRect& rectangle, const TMColor* color, TMRectStyle style = TMRectStyle::kFramed);
  // Adds a text; the rectangle's x, y and width are virtual, its height is
  // in view units already. `node` (virtual) is the rectangle of the node it
  // names, which the text may reach into below its box; none: the box.
  void addText(std::string text, const TMRect& rectangle, const TMRect* node = nullptr);

  void startGathering(const TMRect& frame, const TMRect& visible);
  void stopGathering();

  double virtualPixelWidthSize() const { return 1.0 / widthScale; }
  double virtualPixelHeightSize() const { return 1.0 / heightScale; }

  uint64_t rectangleCount() const;
  const TMRect* getRectangles() const;
  const TMColor* const* getColors() const;
  // Per rectangle: what is painted over its fill.
  const TMRectStyle* getStyles() const { return styles.data(); }
  const std::vector<TMStringDraw>& getText() const;

  // Room for rectangles: the initial count, more once a frame needed more.
  uint64_t capacity() const { return maxRectangleCount; }

 private:
  uint64_t rectangleWrite = 0;
  uint64_t maxRectangleCount;
  TMRect frameRect;
  std::vector<TMRect> rects;
  std::vector<const TMColor*> colors;
  std::vector<TMRectStyle> styles;
  std::shared_ptr<const TMTextMeasuring> measurer;
  bool collecting = false;
  double widthScale = 0;
  double heightScale = 0;
  double translateX = 0;
  double translateY = 0;
  std::vector<TMStringDraw> textWrite;
};

}  // namespace tilemora
