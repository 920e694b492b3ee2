// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small layout trees with exact sizes for the layout tests, and a text
// measurer whose widths are known in advance.

#include <memory>
#include <span>
#include <ostream>
#include <string>
#include <vector>

#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"
#include "core/filetree/TMFileTree.h"
#include "core/layout/TMFrameGathering.h"
#include "core/layout/TMLayoutLeaf.h"
#include "core/platform/TMTextMeasuring.h"

namespace tilemora {
// Readable rectangles in test failure messages.
inline void PrintTo(const TMRect& r, std::ostream* out) {
  *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
}  // namespace tilemora

namespace tilemora::test {

// Every text measures `width` view units.
class TMFixedWidthMeasurer : public TMTextMeasuring {
 public:
  explicit TMFixedWidthMeasurer(double width) : width_(width) {}
  double widthOf(std::string_view) const override { return width_; }

 private:
  double width_;
};

// File nodes of chosen sizes and leaves over them.
class TMLeafFactory {
 public:
  TMFileTree* file(uint64_t size, const std::string& name = "f") {
    return TMFileTree::create<TMFileTree>(arena_, name, size);
  }
  std::unique_ptr<TMLayoutNode> leaf(uint64_t size, const std::string& name = "f") {
    return std::make_unique<TMLayoutLeaf>(file(size, name));
  }
  std::vector<std::unique_ptr<TMLayoutNode>> leaves(std::span<const uint64_t> sizes) {
    std::vector<std::unique_ptr<TMLayoutNode>> list;
    for (uint64_t size : sizes) list.push_back(leaf(size, std::to_string(size)));
    return list;
  }
  std::vector<std::unique_ptr<TMLayoutNode>> leaves(std::initializer_list<uint64_t> sizes) {
    return leaves(std::span<const uint64_t>(sizes.begin(), sizes.size()));
  }
  TMNodeArena& arena() { return arena_; }

 private:
  TMNodeArena arena_;
};

// A gathering session over a canvas with pixel size 1 unless a visible
// rectangle says otherwise.
struct TMFrame {
  explicit TMFrame(TMRect canvas, double textWidth = 30)
      : canvas(canvas),
        visible(canvas),
        gatherer(1000, std::make_shared<TMFixedWidthMeasurer>(textWidth)) {}

  TMDrawInfo_t begin(TMFileTree* selected = nullptr) {
    gatherer.startGathering(canvas, visible);
    return drawInfoFor(gatherer, wheel, visible, selected);
  }
  void draw(TMLayoutNode& node, TMFileTree* selected = nullptr) {
    gatherFrame(node, gatherer, wheel, canvas, visible, selected);
  }
  std::vector<TMRect> rectangles() const {
    return {gatherer.getRectangles(), gatherer.getRectangles() + gatherer.rectangleCount()};
  }

  TMRect canvas;
  TMRect visible;
  TMGeometryGatherer gatherer;
  TMColorWheel wheel;
};

// A search record as the view fills it, starting from `url`.
inline TMDrawInfo_t searchInfo(const TMRect& visible, const TMFileURL& url) {
  TMDrawInfo_t info;
  info.visibleArea = &visible;
  info.selection.url = url;
  return info;
}

}  // namespace tilemora::test
