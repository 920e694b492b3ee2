// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two scroll bars as the view sees them: where their knobs sit, and
// which part of a scroll bar the user hit.

namespace tilemora {

// The knobs of the two scroll bars: proportions of the track the knob
// fills, and positions from 0 to 1 (vertical 0 is the top of the canvas).
struct TMScrollerPositions {
  double horizontalProportion = 1;
  double horizontalValue = 0;
  double verticalValue = 0;
  double verticalProportion = 1;
};

// The part of a scroll bar a click or drag hit.
enum class TMScrollerPart {
  kNoPart = 0,
  kDecrementPage = 1,
  kKnob = 2,
  kIncrementPage = 3,
  kDecrementLine = 4,
  kIncrementLine = 5,
  kKnobSlot = 6,
};

}  // namespace tilemora
