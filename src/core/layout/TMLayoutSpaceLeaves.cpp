// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutSpaceLeaves.h"

#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

void TMLayoutEmptySpace::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  info.gatherer->addRectangle(bounds, &TMColor::windowBackgroundColor());
  drawFileName(info, bounds);
}

void TMLayoutUnscanned::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  info.gatherer->addRectangle(bounds, &TMColor::whiteColor());
  drawFileName(info, bounds);
}

}  // namespace tilemora
