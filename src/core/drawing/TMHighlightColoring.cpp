// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHighlightColoring.h"

namespace tilemora {

TMHighlightColoring::TMHighlightColoring(std::shared_ptr<const TMFileColoring> base,
                                         std::shared_ptr<const Files> picked)
    : base_(std::move(base)), picked_(std::move(picked)) {}

const TMColor* TMHighlightColoring::colorOf(const TMFileTree& file, const TMColor& depthColor) const {
  if (picked_ == nullptr || picked_->count(&file) == 0) return &dimmedColor();
  return base_ ? base_->colorOf(file, depthColor) : &depthColor;
}

const TMColor& TMHighlightColoring::dimmedColor() {
  static const TMColor dimmed = colorFromHtmlVal(0xF2F2F2);
  return dimmed;
}

}  // namespace tilemora
