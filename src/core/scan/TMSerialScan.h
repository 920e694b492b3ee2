// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decisions of a scan by one thread: nothing is handed off, a size
// found is added to the folders above as the walk moves (this thread is
// their one writer), and the receiver hears of the accepted entries a few
// hundred at a time.

#include "TMInodeSet.h"
#include "TMScanStrategy.h"

namespace tilemora {

class TMSerialScan final : public TMScanStrategy {
 public:
  static constexpr uint32_t kEntriesBetweenNotices = 256;

  bool handOff(TMFolderTree* folder, int descriptor, dev_t device, ino_t inode,
               TMScanningContext_t& context) override;
  bool isFirstLink(dev_t device, ino_t inode) override;
  void addToSizesAbove(TMFolderTree& folder, uint64_t size, TMScanningContext_t& context) override;
  void settleSizesAbove(TMScanningContext_t& context) override;
  void entryAccepted(TMScanningContext_t& context) override;
  // Settles what is owed and tells the entries not told yet.
  void finish(TMScanningContext_t& context);
  void sortWhenHandedOffListed(TMFolderTree& folder) override;

 private:
  TMInodeSet linkedFilesSeen_;
  uint32_t unreportedEntries_ = 0;
};

}  // namespace tilemora
