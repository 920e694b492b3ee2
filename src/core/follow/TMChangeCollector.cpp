// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChangeCollector.h"

#include <sys/inotify.h>
#include <sys/stat.h>

#include <utility>

#include "TMWatchTable.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

std::string parentFolderOf(const std::string& relative) {
  const size_t slash = relative.rfind('/');
  return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string pathBelow(const std::string& relative, const std::string& name) {
  return relative.empty() ? name : relative + "/" + name;
}

void TMChangeCollector::take(const std::vector<TMFolderWatch::Event>& events) {
  for (const TMFolderWatch::Event& event : events) {
    if ((event.mask & IN_Q_OVERFLOW) != 0) {
      overflowed_ = true;
      continue;
    }
    if ((event.mask & IN_IGNORED) != 0) {
      table_.forget(event.watch);
      continue;
    }
    std::optional<std::string> folder = table_.folderOf(event.watch);
    if (!folder) continue;  // a watch dropped while its events were queued
    if ((event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
      // A folder moved elsewhere keeps its watches, now standing for
      // other paths: they go, and the parent is listed again (a folder
      // moved within the tree is watched again where it went).
      if ((event.mask & IN_MOVE_SELF) != 0) table_.forgetBelow(*folder);
      mark(parentFolderOf(*folder));
      continue;
    }
    mark(std::move(*folder));
  }
}

void TMChangeCollector::markFoldersChangedSinceDrained(const TMFileSystem& fileSystem) {
  const time_t since = drainedAt_.tv_sec - kTimeMarginSeconds;
  for (const std::string& folder : table_.watchedFolders()) {
    struct stat info {};
    if (fileSystem.statPath(table_.absolutePath(folder).c_str(), &info) != 0) {
      // Gone: its parent no longer holds it.
      mark(parentFolderOf(folder));
      continue;
    }
    if (info.st_ctim.tv_sec >= since || info.st_mtim.tv_sec >= since) mark(folder);
  }
}

std::set<std::string> TMChangeCollector::takeFolders() {
  return std::exchange(folders_, {});
}

}  // namespace tilemora
