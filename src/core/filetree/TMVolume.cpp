// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMVolume.h"

#include "TMNodeArena.h"

namespace tilemora {

TMVolume::TMVolume()
    : TMFileTree(0, TMNodeKind::Volume),
      child_(nullptr),
      volumeSize_(0),
      emptySpace_(nullptr),
      unscannedSpace_(nullptr) {}

TMFolderTree* TMVolume::measure(TMNodeArena& arena, const TMFileSystemSizes& sizes) {
  volumeSize_.store(sizes.totalSize, std::memory_order_release);
  emptySpace_.store(TMEmptyNode::initWithFileSize(arena, sizes.freeSize), std::memory_order_release);
  unscannedSpace_.store(TMUnscannedTree::init(arena), std::memory_order_release);
  // Published before its scan begins, so that progress and interim layouts
  // see the folder while it fills.
  auto* folder = create<TMFolderTree>(arena, filename());
  child_.store(folder, std::memory_order_release);
  return folder;
}

double TMVolume::advancementPercentage() const {
  TMFolderTree* folder = child();
  if (folder == nullptr) return 0.0;  // not measured yet: nothing found so far
  uint64_t scanned = scannedAllocatedSize();
  TMEmptyNode* free = emptySpace();
  uint64_t used = volumeSize() - (free ? free->diskSize() : 0);
  return double(scanned) / double(used);
}

uint64_t TMVolume::unscannedSizeNow() const {
  TMFolderTree* folder = child();
  TMEmptyNode* free = emptySpace();
  uint64_t accounted = folder ? scannedAllocatedSize() : 0;
  uint64_t freeSize = free ? free->diskSize() : 0;
  uint64_t total = volumeSize();
  if (accounted > total || freeSize > total - accounted) return 0;
  return total - accounted - freeSize;
}

uint64_t TMVolume::scannedAllocatedSize() const {
  TMFolderTree* folder = child();
  if (folder == nullptr) return 0;
  return measure() == TMSizeMeasure::kOnDisk ? folder->diskSize() : scannedAllocated_.load(std::memory_order_relaxed);
}

uint64_t TMVolume::shownSize() const {
  if (measure() == TMSizeMeasure::kOnDisk) return volumeSize();
  TMFolderTree* folder = child();
  TMEmptyNode* free = emptySpace();
  return (folder ? folder->diskSize() : 0) + (free ? free->diskSize() : 0) + unscannedSizeNow();
}

}  // namespace tilemora
