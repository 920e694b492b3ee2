// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSerialScan.h"

#include <utility>

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
  context.sizeOwedAbove += size;
}

void TMSerialScan::settleSizesAbove(TMScanningContext_t& context) {
  const uint64_t owed = std::exchange(context.sizeOwedAbove, 0);
  if (owed == 0) return;
  for (int32_t i = context.parentCount - 1; i >= 0; --i) context.parentStack[size_t(i)]->addToDiskSize(owed);
}

void TMSerialScan::entryAccepted(TMScanningContext_t& context) {
  if (++unreportedEntries_ == kEntriesBetweenNotices) finish(context);
}

void TMSerialScan::finish(TMScanningContext_t& context) {
  settleSizesAbove(context);
  const uint32_t entries = std::exchange(unreportedEntries_, 0);
  if (entries != 0 && context.updateReceiver != nullptr && !context.shouldStop())
    context.updateReceiver->notifyFilesScanned(entries);
}

void TMSerialScan::sortWhenHandedOffListed(TMFolderTree&) {
  tmAssertionFailed(__func__, __FILE__, __LINE__, "a scan by one thread hands nothing off");
}

}  // namespace tilemora
