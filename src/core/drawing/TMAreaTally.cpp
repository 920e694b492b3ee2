// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMAreaTally.h"

#include "TMFileColoring.h"

#include <algorithm>

#include "core/filetree/TMFilesBelow.h"

namespace tilemora {

size_t TMAreaTally::largest() const {
  size_t most = kNone;
  for (size_t kind = 0; kind < kMaxKinds; ++kind) {
    if (bytes[kind] != 0 && (most == kNone || bytes[kind] > bytes[most])) most = kind;
  }
  return most;
}

void TMAreaTally::addByDepth(const TMFileTree& item, uint64_t amount) {
  bytes[item.asFolder() != nullptr ? kFilesDeeper : kFilesHere] += amount;
}

TMAreaTally TMAreaTallies::ofFiles(const TMFileTree& node, const TMFileColoring& coloring) {
  TMAreaTally tally;
  // Kept only for a folder whose files are walked: a file alone, or a
  // folder the colouring tells at once, would cost more to keep.
  const bool folder = node.asFolder() != nullptr;
  if (folder && coloring.tallyBelow(node, tally)) return tally;
  if (const TMAreaTally* kept = folder ? find(&node) : nullptr) return *kept;
  forEachFileBelow(node, [&](const TMFileTree& file) {
    // Free and unscanned space are no files of any kind.
    if (file.kind() == TMNodeKind::File) tally.bytes[coloring.kindOf(file)] += file.diskSize();
  });
  return folder ? keep(&node, tally) : tally;
}

TMAreaTally TMAreaTallies::ofItems(const TMFileTree& folder) {
  TMAreaTally tally;
  const TMChildList* items = folder.asFolder() != nullptr ? folder.asFolder()->children() : nullptr;
  // Largest first: a few items usually hold more than half, and decide.
  const uint64_t half = folder.diskSize() / 2;
  for (uint32_t i = 0; items != nullptr && i < items->count(); ++i) {
    tally.addByDepth(*items->at(i), items->at(i)->diskSize());
    if (std::max(tally.bytes[TMAreaTally::kFilesHere], tally.bytes[TMAreaTally::kFilesDeeper]) > half) break;
  }
  return tally;
}

const TMAreaTally* TMAreaTallies::find(const void* area) const {
  auto found = tallies_.find(area);
  return found == tallies_.end() ? nullptr : &found->second;
}

const TMAreaTally& TMAreaTallies::keep(const void* area, const TMAreaTally& tally) {
  if (tallies_.size() >= kMostKept) tallies_.clear();
  return tallies_.insert_or_assign(area, tally).first->second;
}

}  // namespace tilemora
