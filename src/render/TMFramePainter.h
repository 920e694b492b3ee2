// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a gathered frame onto any QPainter, as the desktop view and the PNG
// export both do: the fills in gathering order, then (when asked) a 1-pixel
// grey frame inside each rectangle, then every text confined to its
// rectangle and elided with "…" when too long. The frame's y axis points up;
// the painter's down, so y is flipped against `viewHeight`.

#include <QPainter>

#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

// A colour of the core as Qt's.
QColor qColorOf(const TMColor& color);

void paintGatheredFrame(QPainter& painter, const TMGeometryGatherer& gatherer, double viewHeight,
                        bool framesAndTexts);

}  // namespace tilemora
