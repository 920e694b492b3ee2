// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a walk cannot decide alone when other threads may walk the same
// tree: whether a sub-folder goes to another thread, whether a file's link
// is the first one met, how a size found reaches the folders above, what
// follows an accepted entry, and when a folder whose sub-folders were
// handed off is sorted. TMSerialScan answers for one thread, the threads of
// TMParallelScan for several; the walk (TMFolderScan) is the same.

#include <sys/types.h>

#include <cstdint>

namespace tilemora {

class TMFolderTree;
struct TMScanningContext_t;

class TMScanStrategy {
 public:
  virtual ~TMScanStrategy() = default;

  // Offers the sub-folder `folder`, just appended to the folder being listed
  // and open at `descriptor` (on `device`, as `inode`), to another thread.
  // True when taken: the walk then neither lists it nor closes it.
  virtual bool handOff(TMFolderTree* folder, int descriptor, dev_t device, ino_t inode,
                       TMScanningContext_t& context) = 0;
  // With hard links counted once: whether this link of the file is the
  // first one the scan meets.
  virtual bool isFirstLink(dev_t device, ino_t inode) = 0;
  // Adds the size of a file just found in `folder` to it, and owes it to
  // every folder above it (the context's sizeOwedAbove).
  virtual void addToSizesAbove(TMFolderTree& folder, uint64_t size, TMScanningContext_t& context) = 0;
  // Adds what is owed to the folders above the one being listed: before
  // the walk changes folder, and now and then.
  virtual void settleSizesAbove(TMScanningContext_t& context) = 0;
  // An entry of the folder being listed has been accepted.
  virtual void entryAccepted(TMScanningContext_t& context) = 0;
  // `folder` has been listed, but some sub-folder below it went to another
  // thread: it is to be sorted once all of them have been listed.
  virtual void sortWhenHandedOffListed(TMFolderTree& folder) = 0;
};

}  // namespace tilemora
