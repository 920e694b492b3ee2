// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of one scan, passed by address down the whole depth-first walk
// (one per thread when several threads scan).

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TMListingStack.h"
#include "TMOpenFolderChain.h"
#include "TMProgressNotifiable.h"
#include "TMScanObserver.h"
#include "TMScanOptions.h"
#include "TMUnreadableFolder.h"
#include "core/platform/TMTrash.h"

namespace tilemora {

class TMChildListRecycler;
class TMFileSystem;
class TMFileTree;
class TMFolderTree;
class TMNodeArena;
class TMScanStrategy;
struct TMScanBranch;

struct TMScanningContext_t {
  // The folders above the one being listed: entry 0 is the folder this walk
  // started at, entry parentCount - 1 the parent of the folder being listed.
  // It grows with the depth of the tree; it owns nothing.
  std::vector<TMFolderTree*> parentStack;
  int32_t parentCount = 0;
  // Bytes of files found in the folder being listed (and added to it) not
  // yet added to the folders above it: they are added when the walk goes
  // into a sub-folder or back out, and every few hundred entries, not once
  // per file and folder level.
  uint64_t sizeOwedAbove = 0;
  TMProgressNotifiable* updateReceiver = nullptr;  // not owned; may be null
  TMScanObserver* observer = nullptr;              // not owned; may be null
  TMScanOptions options;
  // With options.crossMountPoints: the device and inode of each folder on
  // the path being listed, from the folder this walk started at (those
  // above are its branch's), so that a mount of one of them below itself is
  // not entered again and again.
  std::vector<std::pair<dev_t, ino_t>> pathIdentities;

  const TMFileSystem* fileSystem = nullptr;
  TMNodeArena* arena = nullptr;                    // where the scan creates nodes
  TMChildListRecycler* recycler = nullptr;         // where replaced child lists go
  const std::atomic<bool>* stopRequested = nullptr;  // may be null: never stops early

  // The open folders on the path being listed, and the entries they have
  // read but not yet handled. The chain belongs to the folder this walk
  // started at, for the length of its listing.
  TMOpenFolderChain* openFolders = nullptr;
  TMListingStack listing;
  // Reused scratch space: the sort keys of the folder being sorted.
  std::vector<uint64_t> sortScratch;

  // Folders listed in their parent that could not be opened (they count 0
  // bytes): how many, and each one. `rootPath` is the path the scan
  // started at.
  std::string rootPath;
  TMFileIdentity rootIdentity;  // of the folder the scan opened at rootPath
  uint64_t unreadableFolderCount = 0;
  std::vector<TMUnreadableFolder> unreadableFolders;
  // Folders the scan was stopped in before it had listed them whole.
  uint64_t cutShortFolderCount = 0;
  // Entries the exclusions left out.
  uint64_t excludedCount = 0;

  // Who decides what one thread cannot alone (see TMScanStrategy); set by
  // whoever starts the walk.
  TMScanStrategy* strategy = nullptr;
  // With several threads, the branch this walk lists: what lies above the
  // folder it started at. Null for a walk from the scan's start.
  const TMScanBranch* branch = nullptr;
  // Sub-folders this walk handed to another thread so far.
  uint64_t handOffs = 0;

  bool shouldStop() const {
    return stopRequested != nullptr && stopRequested->load(std::memory_order_relaxed);
  }
};

}  // namespace tilemora
