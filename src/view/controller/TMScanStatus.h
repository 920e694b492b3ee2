// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window's status line tells about the scan of its folder: while
// it runs, how far it got; at its end, what the folder holds and what could
// not be read. The window words it (and groups the digits).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/filetree/TMSizeMeasure.h"

namespace tilemora {

// What the status line tells of the selection.
struct TMSelectionStatus {
  std::string name;     // of the main one
  uint64_t bytes = 0;
  bool space = false;   // free or unscanned space: no item on disk
  bool folder = false;
  uint64_t files = 0;   // inside a folder
  uint64_t folders = 0;
  uint64_t items = 1;   // several selected: how many (none inside another counted)
};

struct TMScanStatus {
  bool scanning = false;
  bool stopped = false;    // ended early at the user's request
  uint64_t entries = 0;    // files and folders found
  uint64_t bytes = 0;      // what they hold (the scanned folder's size)
  double seconds = 0;      // since the scan started, or what it took
  uint64_t files = 0;      // at the end: files (everything but folders)
  uint64_t folders = 0;    // at the end: folders below the scanned one
  uint64_t unreadableFolders = 0;
  uint64_t cutShortFolders = 0;  // a stopped scan: folders it had not listed whole
  std::vector<std::string> firstUnreadableFolders;  // the first few, for a tooltip
  static constexpr size_t kUnreadableFoldersTold = 5;
  bool volume = false;     // a volume also tells its used, free and unscanned space
  uint64_t usedBytes = 0;
  uint64_t freeBytes = 0;
  uint64_t unscannedBytes = 0;
  bool imported = false;   // a saved scan read from a file, not a scan run here
  bool administrator = false;  // a scan of this machine run as root, read as a saved scan
  uint64_t foldersNotRead = 0;  // of a saved scan read a folder at a time, the largest first
  int64_t scannedAt = 0;   // when the saved scan was made (seconds since the epoch); 0: not said
  // Entries left out by the exclusions: by the scan, or as a saved scan says.
  uint64_t excludedEntries = 0;
  std::vector<std::string> exclusionPatterns;  // what excluded them, where known
  // Files of a saved scan that gave one size for both: no length, or no
  // size on disk.
  uint64_t filesWithoutLength = 0;
  uint64_t filesWithoutAllocatedSize = 0;
  TMSizeMeasure measure = TMSizeMeasure::kOnDisk;  // what the sizes told are
  // Changes on disk followed since the scan: in how many folders, and how
  // many more could not be (the system's watches ran out).
  bool following = false;
  uint64_t followedFolders = 0;
  uint64_t unfollowedFolders = 0;
  std::optional<TMSelectionStatus> selection;  // once the full map is shown
};

}  // namespace tilemora
