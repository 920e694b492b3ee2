// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHighlightColoring.h"

#include <algorithm>
#include <vector>

#include "core/filetree/TMFolderTree.h"

namespace tilemora {

TMHighlightColoring::TMHighlightColoring(std::shared_ptr<const TMFileColoring> base,
                                         std::shared_ptr<const Files> picked,
                                         std::shared_ptr<const BytesByFolder> pickedBytesIn)
    : base_(std::move(base)), picked_(std::move(picked)), pickedBytesIn_(std::move(pickedBytesIn)) {}

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

uint64_t TMHighlightColoring::pickedBytesBelow(const TMFileTree& folder) const {
  auto found = pickedBytesIn_->find(&folder);
  return found == pickedBytesIn_->end() ? 0 : found->second;
}

bool TMHighlightColoring::tallyBelow(const TMFileTree& folder, TMAreaTally& tally) const {
  if (!pickedBytesIn_ || folder.asFolder() == nullptr) return false;
  const size_t dimmed = pickedKinds();
  if (!base_) {
    // One kind for every picked file: its bytes are known. What an area
    // shows depends only on the picked bytes; the rest is its size.
    const uint64_t picked = pickedBytesBelow(folder);
    tally.bytes[0] += picked;
    tally.bytes[dimmed] += folder.diskSize() - std::min(picked, folder.diskSize());
    return true;
  }
  // The base sorts picked files by kind: only the folders holding some are
  // entered, every other one is dimmed whole.
  std::vector<const TMFolderTree*> pending{folder.asFolder()};
  while (!pending.empty()) {
    const TMChildList* list = pending.back()->children();
    pending.pop_back();
    for (uint32_t i = 0; list != nullptr && i < list->count(); ++i) {
      const TMFileTree* child = list->at(i);
      if (const TMFolderTree* below = child->asFolder()) {
        if (pickedBytesBelow(*below) != 0) pending.push_back(below);
        else tally.bytes[dimmed] += below->diskSize();
      } else if (child->kind() == TMNodeKind::File) {
        tally.bytes[kindOf(*child)] += child->diskSize();
      }
    }
  }
  return true;
}

size_t TMHighlightColoring::onlyKindBelow(const TMFileTree& folder) const {
  return pickedBytesIn_ && pickedBytesBelow(folder) == 0 ? pickedKinds() : TMAreaTally::kNone;
}

const TMColor& TMHighlightColoring::dimmedColor() {
  static const TMColor dimmed = colorFromHtmlVal(0xF2F2F2);
  return dimmed;
}

}  // namespace tilemora
