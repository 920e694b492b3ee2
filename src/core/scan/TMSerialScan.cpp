// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSerialScan.h"

#include "TMScanningContext.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMAssert.h"

namespace tilemora {

bool TMSerialScan::handOff(TMFolderTree*, int, dev_t, ino_t, TMScanningContext_t&) { return false; }

bool TMSerialScan::isFirstLink(dev_t device, ino_t inode) {
  return linkedFilesSeen_.emplace(device, inode).second;
}

void TMSerialScan::addToSizesAbove(TMFolderTree& folder, uint64_t size, TMScanningContext_t& context) {
  folder.addToDiskSize(size);
  for (int32_t i = context.parentCount - 1; i >= 0; --i) context.parentStack[size_t(i)]->addToDiskSize(size);
}

void TMSerialScan::entryAccepted(TMScanningContext_t& context) {
  if (context.updateReceiver != nullptr && !context.shouldStop()) context.updateReceiver->notifyFileScanned();
}

void TMSerialScan::sortWhenHandedOffListed(TMFolderTree&) {
  tmAssertionFailed(__func__, __FILE__, __LINE__, "a scan by one thread hands nothing off");
}

}  // namespace tilemora
