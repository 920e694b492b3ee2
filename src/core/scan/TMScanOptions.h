// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a scan counts where the user may choose otherwise, and what it needs
// from its surroundings besides the path.

#include <cstdint>
#include <memory>

#include "core/platform/TMFileSystem.h"
#include "core/platform/TMMainQueue.h"

namespace tilemora {

class TMExclusions;
class TMScanObserver;

struct TMScanOptions {
  // A file with several hard links counts at its first link only (as du
  // counts); by default every link counts.
  bool hardLinksOnce = false;
  // Folders mounted inside the scanned one are scanned too; by default
  // they are skipped.
  bool crossMountPoints = false;
  // How many threads list folders at once; 0, the default everywhere, means
  // one per processor, at most kMostAutomaticThreads. With more than one the
  // tree is the same, found in another order.
  unsigned threads = 0;
  // What is left out and not counted; null: nothing.
  std::shared_ptr<const TMExclusions> exclusions = nullptr;

  // `threads` with 0 resolved, within what a scan ever starts.
  unsigned threadCount() const;
  static constexpr unsigned kMostThreads = 64;
  static constexpr unsigned kMostAutomaticThreads = 8;
};

struct TMScanEnvironment {
  std::shared_ptr<TMMainQueue> mainQueue;  // receives the end notice
  std::shared_ptr<TMFileSystem> fileSystem = TMFileSystem::posix();
  // Told about every entry on the scan thread, when given.
  std::shared_ptr<TMScanObserver> observer = nullptr;
  TMScanOptions options = {};
  // Of a saved scan read a folder at a time (a binary export), how many
  // entries are read, the largest folders first, before it is shown whole:
  // about 50 MB of tree, whatever the size of the export.
  uint64_t savedScanEntriesAtOnce = 1'000'000;
};

}  // namespace tilemora
