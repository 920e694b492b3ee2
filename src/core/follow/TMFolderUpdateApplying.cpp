// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFolderUpdateApplying.h"

#include <algorithm>
#include <vector>

#include "core/filetree/TMFilesBelow.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

// Largest first; of equal sizes, the node made first (the arena only grows).
bool comesBefore(const TMFileTree* a, const TMFileTree* b) {
  if (a->diskSize() != b->diskSize()) return a->diskSize() > b->diskSize();
  return a < b;
}

// Writes `children` as the list of `folder`: into its own list when it has
// room, else into `roomier`, which it then adopts.
void setChildren(TMFolderTree& folder, const std::vector<TMFileTree*>& children, TMChildList* roomier) {
  TMChildList* list = folder.mutableChildren();
  if (list == nullptr || children.size() > list->capacity()) {
    list = roomier;
    folder.adoptChildList(list);
  }
  for (size_t i = 0; i < children.size(); ++i) list->setUnpublished(uint32_t(i), children[i]);
  list->setUnpublishedCount(uint32_t(children.size()));
}

// The children of `folder` in order again, those in `moved` having
// changed size: the others keep their order, the moved ones are merged in.
void reorder(TMFolderTree& folder, const std::unordered_set<const TMFileTree*>& moved,
             std::vector<TMFileTree*> added, TMChildList* roomier) {
  const TMChildList* list = folder.children();
  std::vector<TMFileTree*> still;
  std::vector<TMFileTree*> placed = std::move(added);
  for (uint32_t i = 0, count = list ? list->count() : 0; i < count; ++i) {
    TMFileTree* child = list->at(i);
    (moved.count(child) != 0 ? placed : still).push_back(child);
  }
  std::sort(placed.begin(), placed.end(), comesBefore);
  std::vector<TMFileTree*> children(still.size() + placed.size());
  std::merge(still.begin(), still.end(), placed.begin(), placed.end(), children.begin(), comesBefore);
  setChildren(folder, children, roomier);
}

// Adds `delta` (two's complement) to a folder's size.
void addToSize(TMFolderTree& folder, uint64_t delta) { folder.setMeasuredSize(folder.diskSize() + delta); }

}  // namespace

TMAppliedChanges applyFolderUpdates(const TMChangePlan& plan, TMFileTree& root, TMSizeMeasure measure) {
  TMAppliedChanges applied;
  TMVolume* volume = root.asVolume();
  // A volume measured by length keeps its allocated total apart.
  uint64_t allocatedDelta = 0;
  for (const TMFolderUpdate& update : plan.updates) {
    TMFolderTree& folder = *update.folder;
    uint64_t delta = 0;
    std::unordered_set<const TMFileTree*> moved;

    const std::unordered_set<const TMFileTree*> removed(update.removed.begin(), update.removed.end());
    if (!removed.empty()) {
      std::vector<TMFileTree*> kept;
      const TMChildList* list = folder.children();
      for (uint32_t i = 0, count = list ? list->count() : 0; i < count; ++i) {
        TMFileTree* child = list->at(i);
        if (removed.count(child) == 0) {
          kept.push_back(child);
          continue;
        }
        delta -= child->diskSize();
        allocatedDelta -= allocatedSizeOf(*child, measure);
        const auto [files, folders] = child->asFolder() ? countEntriesBelow(*child) : std::pair<uint64_t, uint64_t>{1, 0};
        applied.files -= int64_t(files);
        applied.folders -= int64_t(folders) + (child->asFolder() ? 1 : 0);
      }
      setChildren(folder, kept, update.roomierList);
    }
    for (const TMFolderUpdate::Resized& resized : update.resized) {
      TMFileTree& file = *resized.node;
      const bool byLength = measure == TMSizeMeasure::kLength;
      allocatedDelta += resized.allocated - allocatedSizeOf(file, measure);
      delta += (byLength ? resized.length : resized.allocated) - file.diskSize();
      file.resize(byLength ? resized.length : resized.allocated, byLength ? resized.allocated : resized.length);
      file.setModifiedTime(resized.modified);
      moved.insert(&file);
      applied.changed.insert(&file);
    }
    for (TMFileTree* node : update.added) {
      delta += node->diskSize();
      allocatedDelta += allocatedSizeOf(*node, measure);
      const auto [files, folders] = node->asFolder() ? countEntriesBelow(*node) : std::pair<uint64_t, uint64_t>{1, 0};
      applied.files += int64_t(files);
      applied.folders += int64_t(folders) + (node->asFolder() ? 1 : 0);
      applied.changed.insert(node);
      if (const TMFolderTree* added = node->asFolder(); added && (added->holdsUnreadable() || added->isUnreadable())) {
        folder.markUnreadableBelow();
        for (TMFolderTree* above : update.above) above->markUnreadableBelow();
      }
    }
    if (!update.removed.empty() || !update.added.empty()) applied.regrouped.insert(&folder);
    reorder(folder, moved, update.added, update.roomierList);
    addToSize(folder, delta);
    applied.changed.insert(&folder);
    // Each folder above holds the next one, whose size changed.
    const TMFileTree* changedChild = &folder;
    for (auto above = update.above.rbegin(); above != update.above.rend(); ++above) {
      addToSize(**above, delta);
      reorder(**above, {changedChild}, {}, nullptr);
      applied.changed.insert(*above);
      changedChild = *above;
    }
  }
  if (volume != nullptr) {
    applied.changed.insert(volume);
    if (measure != TMSizeMeasure::kOnDisk)
      volume->setScannedAllocatedSize(volume->scannedAllocatedSize() + allocatedDelta);
  }
  return applied;
}

}  // namespace tilemora
