// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutSpaceLeaves.h"

#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

namespace {

// Free and unscanned space are selections of their own: the selected one
// takes the selection colour like any node.
const TMColor* spaceColor(const TMDrawInfo_t& info, const TMLayoutNode& space, const TMColor& own) {
  return info.selection.layout == &space ? info.colorWheel->getSelectionColor() : &own;
}

}  // namespace

void TMLayoutEmptySpace::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  info.gatherer->addRectangle(bounds, spaceColor(info, *this, TMColor::windowBackgroundColor()));
  drawFileName(info, bounds);
}

void TMLayoutUnscanned::drawGeometry(TMDrawInfo_t& info, const TMRect& bounds) {
  info.gatherer->addRectangle(bounds, spaceColor(info, *this, TMColor::whiteColor()));
  drawFileName(info, bounds);
}

}  // namespace tilemora
