// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns what the watches tell into the folders to list again. Any event
// about an entry marks its folder: the listing finds what changed, so a
// burst of events on one folder costs one listing. A folder that went or
// moved away marks its parent (which tells it too, when watched) and its
// watches end, since the paths they stand for are no longer its.
//
// When the kernel's queue overflowed, the events lost concern folders
// whose entries were created, removed or renamed (which sets a folder's
// change time) after the queue was last read empty: those folders are
// found by their times, not by listing the whole tree again.

#include <ctime>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/platform/TMFolderWatch.h"

namespace tilemora {

class TMFileSystem;
class TMWatchTable;

class TMChangeCollector {
 public:
  explicit TMChangeCollector(TMWatchTable& table) : table_(table) {}

  // Takes the events read from the table's watches.
  void take(const std::vector<TMFolderWatch::Event>& events);
  // The queue was read empty at `now`: whatever overflows later happened
  // after it.
  void noteDrained(const timespec& now) { drainedAt_ = now; }
  // Whether events were lost since this was last asked.
  bool takeOverflow() { return std::exchange(overflowed_, false); }
  // After an overflow: marks every watched folder changed since the queue
  // was last read empty (a margin before it, for coarse file times).
  void markFoldersChangedSinceDrained(const TMFileSystem& fileSystem);

  // The folders to list again, in path order (parents before what lies
  // below them), taken.
  std::set<std::string> takeFolders();
  bool hasFolders() const { return !folders_.empty(); }

  // The margin before the last empty read within which a folder's time
  // counts as a change it may not have told: file times are coarser than
  // the clock.
  static constexpr time_t kTimeMarginSeconds = 2;

 private:
  void mark(std::string folder) { folders_.insert(std::move(folder)); }

  TMWatchTable& table_;
  std::set<std::string> folders_;
  bool overflowed_ = false;
  timespec drainedAt_{};
};

// The folder `relative` lies in ("" for one right below the scanned
// folder, and for the scanned folder itself).
std::string parentFolderOf(const std::string& relative);
// The path of the entry `name` of the folder at `relative`.
std::string pathBelow(const std::string& relative, const std::string& name);

}  // namespace tilemora
