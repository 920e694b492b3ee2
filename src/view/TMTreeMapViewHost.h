#pragma once
// What the tree map view's logic needs from the toolkit around it. The Qt
// widget implements it; tests use a fake.

#include "core/platform/TMFileURL.h"

namespace tilemora {

// The knobs of the two scroll bars: proportions of the track the knob
// fills, and positions from 0 to 1 (vertical 0 is the top). A position may
// be NaN when the knob fills its whole track.
struct TMScrollerPositions {
  double horizontalProportion = 1;
  double horizontalValue = 0;
  double verticalValue = 0;
  double verticalProportion = 1;
};

class TMTreeMapViewHost {
 public:
  virtual ~TMTreeMapViewHost() = default;
  // The view will be painted again from its last gathered frame.
  virtual void requestRepaint() = 0;
  // The path bar shows `url`.
  virtual void showPath(const TMFileURL& url) = 0;
  virtual void setScrollerPositions(const TMScrollerPositions& positions) = 0;
};

}  // namespace tilemora
