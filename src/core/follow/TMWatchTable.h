// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which folders of a scanned tree are watched, and through which watch:
// each folder is named by its path below the scanned folder ("" for the
// scanned folder itself, "a/b" below it). The watcher reads events on one
// thread while the work that lists folders again adds watches on another
// and the main thread drops those of folders that went, so every call
// takes a lock.
//
// The table keeps to a limit on watches below the user's own (watches are
// shared by every program of the user: an editor or a file manager needs
// some too); folders past it, or refused by the kernel for want of
// watches, are counted as not followed.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/platform/TMFolderWatch.h"

namespace tilemora {

class TMWatchTable {
 public:
  // Watches through `watch` (which must outlive the table) the folders
  // below `rootPath`, at most `limit` of them.
  TMWatchTable(TMFolderWatch& watch, std::string rootPath, uint64_t limit);

  // Watches the folder at `relative`; answers whether it is watched now.
  // A folder the limit or the kernel refuses counts as not followed.
  bool watch(const std::string& relative);
  // The folder a watch reports on, if it is one of the table's.
  std::optional<std::string> folderOf(int watch) const;
  // The kernel ended a watch (its folder went): it is forgotten.
  void forget(int watch);
  // Ends the watches of the folder at `relative` and of every folder
  // below it (they left the tree).
  void forgetBelow(const std::string& relative);
  // Whether the watch of the folder at `relative` ended (the folder was
  // removed or moved away) since the table last told: a folder of that
  // name now is another one. Told once.
  bool takeEnded(const std::string& relative);
  // Every folder watched, for a check after events were lost.
  std::vector<std::string> watchedFolders() const;

  // Folders followed, and those that could not be.
  uint64_t watchedCount() const;
  uint64_t unwatchedCount() const;
  // What the table itself takes, about, in bytes (the kernel's share is
  // apart: TMFolderWatch::kKernelBytesPerWatch each).
  uint64_t tableBytes() const;

  // The absolute path of the folder at `relative`.
  std::string absolutePath(const std::string& relative) const;

  // How many watches a table keeps to when the user may have `userLimit`:
  // three quarters of it, so that other programs keep some.
  static uint64_t limitFor(uint64_t userLimit) { return userLimit - userLimit / 4; }

 private:
  TMFolderWatch& watch_;
  const std::string rootPath_;
  const uint64_t limit_;
  mutable std::mutex mutex_;
  std::map<std::string, int> watches_;  // by folder, in path order
  // The same by watch: the paths are the map's own keys, which stay put.
  std::unordered_map<int, const std::string*> folders_;
  std::unordered_set<std::string> ended_;         // folders whose watch ended
  uint64_t refused_ = 0;
  uint64_t pathBytes_ = 0;
};

}  // namespace tilemora
