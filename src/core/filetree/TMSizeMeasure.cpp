// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSizeMeasure.h"

#include <vector>

#include "TMFolderTree.h"
#include "TMVolume.h"

namespace tilemora {

void remeasureTree(TMFileTree& root, TMSizeMeasure from, TMSizeMeasure to) {
  if (from == to) return;
  TMFolderTree* top = root.asFolder();
  if (TMVolume* volume = root.asVolume()) {
    // The space nodes have one size, whatever the measure.
    volume->setMeasure(to);
    top = volume->child();
  }
  root.swapSizes();
  if (top == nullptr) return;
  if (top != &root) top->swapSizes();
  // Without recursion: a tree can be deeper than the stack.
  std::vector<TMFolderTree*> pending{top};
  while (!pending.empty()) {
    TMFolderTree* folder = pending.back();
    pending.pop_back();
    TMChildList* list = folder->mutableChildren();
    if (list == nullptr) continue;
    const uint32_t count = list->count();
    for (uint32_t i = 0; i < count; ++i) {
      TMFileTree* child = list->at(i);
      child->swapSizes();
      if (TMFolderTree* below = child->asFolder()) pending.push_back(below);
    }
    list->sortUnpublished(count, [](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); });
  }
}

uint64_t allocatedSizeOf(const TMFileTree& node, TMSizeMeasure measure) {
  return measure == TMSizeMeasure::kOnDisk ? node.diskSize() : node.alternateSize();
}

uint64_t lengthOf(const TMFileTree& node, TMSizeMeasure measure) {
  return measure == TMSizeMeasure::kLength ? node.diskSize() : node.alternateSize();
}

}  // namespace tilemora
