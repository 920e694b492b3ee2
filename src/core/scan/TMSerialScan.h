// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decisions of a scan by one thread: nothing is handed off, a size
// found is added to every folder above at once (this thread is their one
// writer), and the receiver hears of every accepted entry.

#include "TMInodeSet.h"
#include "TMScanStrategy.h"

namespace tilemora {

class TMSerialScan final : public TMScanStrategy {
 public:
  bool handOff(TMFolderTree* folder, int descriptor, dev_t device, ino_t inode,
               TMScanningContext_t& context) override;
  bool isFirstLink(dev_t device, ino_t inode) override;
  void addToSizesAbove(TMFolderTree& folder, uint64_t size, TMScanningContext_t& context) override;
  void entryAccepted(TMScanningContext_t& context) override;
  void sortWhenHandedOffListed(TMFolderTree& folder) override;

 private:
  TMInodeSet linkedFilesSeen_;
};

}  // namespace tilemora
