// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHighlightColoring.h"

#include <algorithm>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

TMHighlightColoring::TMHighlightColoring(std::shared_ptr<const TMFileColoring> base,
                                         std::shared_ptr<const Files> picked,
                                         std::shared_ptr<const TMBytesByFolder> pickedBytes)
    : base_(std::move(base)), picked_(std::move(picked)), pickedBytes_(std::move(pickedBytes)) {}

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

TMHeldBytes TMHighlightColoring::pickedBytesIn(const TMFileTree& folder) const {
  auto found = pickedBytes_->find(&folder);
  return found == pickedBytes_->end() ? TMHeldBytes{} : found->second;
}

bool TMHighlightColoring::tallyBelow(const TMFileTree& folder, TMAreaTally& tally) const {
  // By depth, every picked file is of one kind and the bytes of each
  // folder's are known. What an area shows depends only on those; the
  // rest of its size is counted as dimmed.
  if (base_ || !pickedBytes_ || folder.asFolder() == nullptr) return false;
  const uint64_t picked = pickedBytesIn(folder).below;
  tally.bytes[0] += picked;
  tally.bytes[pickedKinds()] += folder.diskSize() - std::min(picked, folder.diskSize());
  return true;
}

size_t TMHighlightColoring::onlyKindOfFilesIn(const TMFileTree& folder) const {
  if (!pickedBytes_) return TMAreaTally::kNone;
  const TMHeldBytes held = pickedBytesIn(folder);
  if (held.here == 0) return pickedKinds();  // dimmed, all of them
  return !base_ && held.allHere ? 0 : TMAreaTally::kNone;  // by depth, picked all of them
}

const TMColor& TMHighlightColoring::dimmedColor() {
  static const TMColor dimmed = colorFromHtmlVal(0xF2F2F2);
  return dimmed;
}

}  // namespace tilemora
