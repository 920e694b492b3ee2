// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state of one scan, passed by address down the whole depth-first walk
// (one per thread when several threads scan).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <unordered_set>
#include <vector>

#include "TMUnreadableFolder.h"

#include <sys/types.h>

#include "TMListingStack.h"
#include "TMOpenFolderChain.h"
#include "TMProgressNotifiable.h"
#include "TMFileTree.h"
#include "TMScanObserver.h"

namespace tilemora {

class TMChildListRecycler;
class TMFileSystem;
class TMFileTree;
class TMFolderTree;
class TMNodeArena;
class TMParallelScan;
struct TMScanBranch;

// Hashes a file's device and inode.
struct TMInodeHash {
  size_t operator()(const std::pair<dev_t, ino_t>& file) const {
    return std::hash<uint64_t>()(uint64_t(file.second) * 0x9E3779B97F4A7C15ull ^ uint64_t(file.first));
  }
};

struct TMScanningContext_t {
  // The folders above the one being listed: entry 0 is the folder the scan
  // started at, entry parentCount - 1 the parent of the folder being listed.
  // It grows with the depth of the tree; it owns nothing.
  std::vector<TMFolderTree*> parentStack;
  int32_t parentCount = 0;
  TMProgressNotifiable* updateReceiver = nullptr;  // not owned; may be null
  TMScanObserver* observer = nullptr;              // not owned; may be null
  TMScanOptions options;
  // With options.hardLinksOnce: the files of several links met so far.
  std::unordered_set<std::pair<dev_t, ino_t>, TMInodeHash> linkedFilesSeen;
  // With options.crossMountPoints: the device and inode of each folder on
  // the path being listed, the start first, so that a mount of one of them
  // below itself is not entered again and again.
  std::vector<std::pair<dev_t, ino_t>> pathIdentities;

  const TMFileSystem* fileSystem = nullptr;
  TMNodeArena* arena = nullptr;                    // where the scan creates nodes
  TMChildListRecycler* recycler = nullptr;         // where replaced child lists go
  const std::atomic<bool>* stopRequested = nullptr;  // may be null: never stops early

  // The open folders on the path being listed, and the entries they have
  // read but not yet handled. The chain belongs to the folder the scan
  // started at, for the length of its listing.
  TMOpenFolderChain* openFolders = nullptr;
  TMListingStack listing;
  // Reused scratch space: the sort keys of the folder being sorted (a few
  // thousand at most; bigger folders sort in place).
  std::vector<std::pair<uint64_t, TMFileTree*>> sortScratch;

  // Folders listed in their parent that could not be opened (they count 0
  // bytes): how many, and each one. `rootPath` is the path the scan
  // started at.
  std::string rootPath;
  uint64_t unreadableFolderCount = 0;
  std::vector<TMUnreadableFolder> unreadableFolders;

  // Set when several threads scan the tree, each with a context of its
  // own; a one-thread scan leaves them as they are.
  TMParallelScan* parallel = nullptr;
  TMScanBranch* branch = nullptr;    // what this thread lists now
  uint64_t handOffs = 0;             // sub-folders this thread handed off so far
  uint64_t sizeOwedAbove = 0;        // bytes found not yet added above the branch
  uint32_t unreportedEntries = 0;    // entries accepted since the last notice
  static constexpr uint32_t kEntriesBetweenSettlements = 256;

  bool shouldStop() const {
    return stopRequested != nullptr && stopRequested->load(std::memory_order_relaxed);
  }
};

}  // namespace tilemora
