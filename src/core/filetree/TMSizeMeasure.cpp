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
    top = volume->child();
    // The used space the scan did not reach is counted in blocks, whatever
    // the measure: the volume keeps what its files take on disk.
    if (top != nullptr && to == TMSizeMeasure::kLength) volume->setScannedAllocatedSize(top->diskSize());
    volume->setMeasure(to);
  }
  root.swapSizes();  // a file alone; nothing for a folder
  if (top == nullptr) return;
  // Files swap their sizes on the way down; each folder is then summed
  // again and sorted after every folder below it, the deepest first.
  // Without recursion: a tree can be deeper than the stack.
  std::vector<TMFolderTree*> folders{top};
  for (size_t next = 0; next < folders.size(); ++next) {
    TMChildList* list = folders[next]->mutableChildren();
    for (uint32_t i = 0; list != nullptr && i < list->count(); ++i) {
      TMFileTree* child = list->at(i);
      if (TMFolderTree* below = child->asFolder()) {
        folders.push_back(below);
      } else {
        child->swapSizes();
      }
    }
  }
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
    TMChildList* list = (*folder)->mutableChildren();
    const uint32_t count = list != nullptr ? list->count() : 0;
    uint64_t size = 0;
    for (uint32_t i = 0; i < count; ++i) size += list->at(i)->diskSize();
    (*folder)->setMeasuredSize(size);
    if (list != nullptr)
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
