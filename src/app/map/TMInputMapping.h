// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How Qt's input becomes the view's: wheel deltas in the view's scroll
// units, and scroll bar actions as the parts of a scroll bar they hit.

#include <QPoint>
#include <QPointF>

#include "view/map/TMScrollers.h"

namespace tilemora {

// A scroll unit is one line: a wheel notch scrolls `linesPerNotch` of
// them (Qt's 120 eighths of a degree), a touchpad kTouchpadPixelsPerLine
// pixels one. Positive y scrolls up, positive x left. Pixel deltas win
// where both are given (they are the precise ones).
QPointF wheelUnitsOf(QPoint pixelDelta, QPoint angleDelta, int linesPerNotch);
inline constexpr double kTouchpadPixelsPerLine = 10;

// The part of a scroll bar a QAbstractSlider::SliderAction stands for: a
// page or line step, or the knob for a move (drag, wheel, Home, End).
TMScrollerPart scrollerPartOf(int sliderAction);

}  // namespace tilemora
