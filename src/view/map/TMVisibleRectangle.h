// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of the visible rectangle v, the part of the canvas B that
// the view shows (both in virtual coordinates, y up): moving and stretching
// it inside the canvas, the scroll bars' knobs, and the animation's
// interpolation. Pure functions, so every case is testable alone.

#include "view/map/TMScrollers.h"
#include "core/drawing/TMGeometry.h"

namespace tilemora {

// v moved by (dx, dy): the near edges are clamped at 0 first, the far edges
// at the canvas last (so a v larger than the canvas keeps its far edge in).
TMRect translatedRect(const TMRect& v, const TMRect& canvas, double dx, double dy);

// v scaled by (1 + sx, 1 + sy) about its centre, capped at the canvas and
// moved back inside it. A factor that would make v empty or negative (or
// is not a number) becomes kSmallestStretchFactor instead, so v stays a
// real rectangle that later stretches can undo.
TMRect stretchedRect(const TMRect& v, const TMRect& canvas, double sx, double sy);
inline constexpr double kSmallestStretchFactor = 0.01;

// The zoom steps: each step in shows the canvas kZoomStepFactor times
// larger. A zoom is measured in steps, so that n steps in and n steps out
// land exactly where they began, whatever zoomed in between.
inline constexpr double kZoomStepFactor = 1.0 / double(0.9f);
// How many steps v is zoomed in (by its width): a whole number when v sits
// on a step, within rounding.
double zoomLevelOf(const TMRect& v, const TMRect& canvas);
// The level one step in (direction +1) or out (-1) from `level`: the next
// whole step, never below 0.
double nextZoomLevel(double level, int direction);
// The factor of a level.
double zoomFactorOfLevel(double level);
// v resized about its centre to show the canvas `factor` times larger
// (never smaller than the canvas), moved back inside it.
TMRect zoomedRect(const TMRect& v, const TMRect& canvas, double factor);

// The knobs for v: proportions v/B, positions v.x / (B.width - v.width)
// and 1 - v.y / (B.height - v.height). An axis on which v spans the whole
// canvas has no position; it shows 0.
TMScrollerPositions scrollerPositionsFor(const TMRect& v, const TMRect& canvas);

// The scroll bar value after a hit on `part` of a bar whose value is
// `value`: pages step by 0.1 and lines by 0.05, clamped to [0, 1], and
// `replace` says the bar must be set to it; any other part keeps the bar's
// own value (a dragged knob) and `replace` is false.
double extractScrollerValue(TMScrollerPart part, double value, bool& replace);

// The rectangle at `progress` (0 to 1) from `from` to `to`, each
// coordinate a + (b - a) × p computed in single precision.
TMRect interpolatedRect(const TMRect& from, const TMRect& to, float progress);

}  // namespace tilemora
