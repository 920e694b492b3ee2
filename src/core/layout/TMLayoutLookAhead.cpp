// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutLookAhead.h"

#include <memory>

#include "TMFrameGathering.h"
#include "core/platform/TMTextMeasuring.h"

namespace tilemora {

namespace {

// Texts are gathered and thrown away: their widths do not decide what is
// entered.
class TMNoTextMeasuring : public TMTextMeasuring {
 public:
  double widthOf(std::string_view) const override { return 0.0; }
};

}  // namespace

void layOutFirstFrame(TMLayoutNode& layout, const TMRect& canvas) {
  TMGeometryGatherer gatherer(gathererCapacityFor(canvas.width, canvas.height), std::make_shared<TMNoTextMeasuring>());
  TMColorWheel wheel;
  gatherFrame(layout, gatherer, wheel, canvas, canvas);
}

}  // namespace tilemora
