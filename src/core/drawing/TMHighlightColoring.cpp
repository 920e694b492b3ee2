// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHighlightColoring.h"

namespace tilemora {

TMHighlightColoring::TMHighlightColoring(std::shared_ptr<const TMFileColoring> base,
                                         std::shared_ptr<const Files> picked)
    : base_(std::move(base)), picked_(std::move(picked)) {}

const TMColor* TMHighlightColoring::colorOf(const TMFileTree& file, const TMColor& depthColor) const {
  if (!isPicked(file)) return &dimmedColor();
  return base_ ? base_->colorOf(file, depthColor) : &depthColor;
}

size_t TMHighlightColoring::kindOf(const TMFileTree& file) const {
  if (!isPicked(file)) return pickedKinds();
  return base_ ? base_->kindOf(file) : 0;
}

size_t TMHighlightColoring::shownKind(const TMAreaTally& tally) const {
  TMAreaTally picked = tally;
  picked.bytes[pickedKinds()] = 0;
  if (picked.largest() == TMAreaTally::kNone) return pickedKinds();
  return base_ ? base_->shownKind(picked) : 0;
}

const TMColor* TMHighlightColoring::colorOfKind(size_t kind, const TMColor& depthColor) const {
  if (kind >= pickedKinds()) return &dimmedColor();
  return base_ ? base_->colorOfKind(kind, depthColor) : &depthColor;
}

const TMColor& TMHighlightColoring::dimmedColor() {
  static const TMColor dimmed = colorFromHtmlVal(0xF2F2F2);
  return dimmed;
}

}  // namespace tilemora
