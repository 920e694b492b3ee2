// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The root of a volume scan: the volume's folder tree, its total size, and
// nodes for its free space and for the used space the scan has not reached.
// Those four are set on the scan thread while other threads may read them,
// so each is published atomically.

#include "TMFolderTree.h"
#include "TMSizeMeasure.h"
#include "TMSpaceNodes.h"

namespace tilemora {

class TMVolume : public TMFileTree {
 public:
  // An empty volume node (made with create(), named after the mount point's
  // last component).
  TMVolume();

  // initWithFilePath:andContext: — measures the file system once, then scans
  // the whole volume into `child` (the scan is core/scan's).
  void initWithFilePath(const TMFileURL& url, TMScanningContext_t* context);

  // Takes the volume's sizes and makes its free and unscanned space and its
  // still empty folder, which it answers; each published for other threads.
  TMFolderTree* measure(TMNodeArena& arena, const TMFileSystemSizes& sizes);

  // The fraction of the used space scanned so far: 0.0 before anything is
  // found, about 1.0 at the end, more when hard links count a file twice.
  double advancementPercentage() const;


  // Deletes nothing: deletions go to the volume's folder. Logs "called".
  FileDeleteRez_t deleteNodeWithURLParts(const std::vector<std::string>& parts, uint64_t index,
                                         const TMTrashFunction& trash);

  // Null until the scan has measured the volume.
  TMFolderTree* child() const { return child_.load(std::memory_order_acquire); }
  TMEmptyNode* emptySpace() const { return emptySpace_.load(std::memory_order_acquire); }
  TMUnscannedTree* unscannedSpace() const { return unscannedSpace_.load(std::memory_order_acquire); }
  uint64_t volumeSize() const { return volumeSize_.load(std::memory_order_acquire); }

  // The volume size less the scanned and free sizes, never below 0: hard
  // links can make the scanned size exceed the used space.
  uint64_t unscannedSizeNow() const;
  // The size the volume's map divides: the volume's own, or, with files
  // measured by length, their length beside the free and unscanned space
  // (which lengths do not change).
  uint64_t shownSize() const;
  // What the volume's files are measured by (remeasureTree sets it).
  TMSizeMeasure measure() const { return measure_.load(std::memory_order_relaxed); }
  void setMeasure(TMSizeMeasure measure) { measure_.store(measure, std::memory_order_relaxed); }
  // What the scanned files take on disk, kept when they are measured by
  // length (their folder's size then being their length).
  void setScannedAllocatedSize(uint64_t size) { scannedAllocated_.store(size, std::memory_order_relaxed); }
  // The scanned files' size on disk, whatever they are measured by.
  uint64_t scannedAllocatedSize() const;

 private:
  std::atomic<TMFolderTree*> child_;
  std::atomic<uint64_t> volumeSize_;
  std::atomic<TMEmptyNode*> emptySpace_;
  std::atomic<TMUnscannedTree*> unscannedSpace_;
  std::atomic<TMSizeMeasure> measure_{TMSizeMeasure::kOnDisk};
  std::atomic<uint64_t> scannedAllocated_{0};

  TM_FILE_TREE_STORAGE(TMVolume)
};

// Whether `url` is scanned as a volume: its path equals, as a string, the
// mount point of a local volume, or is "/".
bool isVolume(const TMFileURL& url, const TMFileSystem& fileSystem);

}  // namespace tilemora
