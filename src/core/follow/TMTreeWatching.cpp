// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeWatching.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <deque>
#include <utility>

#include "TMChangeCollector.h"
#include "TMWatchTable.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMDirectoryRecords.h"
#include "core/platform/TMFileSystem.h"

namespace tilemora {

void watchScannedTree(const TMFolderTree& top, TMWatchTable& watches, const std::stop_token& stop) {
  // Breadth first; a queue of paths as long as the widest level.
  std::deque<std::pair<const TMFolderTree*, std::string>> pending;
  pending.emplace_back(&top, std::string());
  while (!pending.empty() && !stop.stop_requested()) {
    auto [folder, path] = std::move(pending.front());
    pending.pop_front();
    // Past the limit every folder is still offered, so that the table
    // counts each one not followed.
    watches.watch(path);
    const TMChildList* list = folder->children();
    for (uint32_t i = 0, count = list ? list->count() : 0; i < count; ++i) {
      if (const TMFolderTree* child = list->at(i)->asFolder())
        pending.emplace_back(child, pathBelow(path, std::string(child->filename())));
    }
  }
}

void watchFoldersOnDisk(TMWatchTable& watches, const std::string& relative, const TMScanEnvironment& environment) {
  const TMFileSystem& fileSystem = *environment.fileSystem;
  std::vector<std::string> pending{relative};
  alignas(TMDirectoryRecord) char buffer[16 * 1024];
  while (!pending.empty()) {
    const std::string path = std::move(pending.back());
    pending.pop_back();
    if (!watches.watch(path)) continue;
    const int directory = fileSystem.openDirectory(watches.absolutePath(path).c_str());
    if (directory < 0) continue;
    struct stat own {};
    if (fileSystem.statOpen(directory, &own) == 0) {
      for (long bytes; (bytes = fileSystem.readEntries(directory, buffer, sizeof buffer)) > 0;) {
        forEachDirectoryRecord(buffer, bytes, [&](const TMDirectoryRecord& record) {
          const char* name = record.d_name;
          if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return;
          if (record.d_type != DT_DIR && record.d_type != DT_UNKNOWN) return;
          struct stat info {};
          bool mountRoot = false;
          if (fileSystem.statAt(directory, name, &info, &mountRoot) != 0 || !S_ISDIR(info.st_mode)) return;
          if ((info.st_dev != own.st_dev || mountRoot) && !environment.options.crossMountPoints) return;
          pending.push_back(pathBelow(path, name));
        });
      }
    }
    fileSystem.closeDirectory(directory);
  }
}

}  // namespace tilemora
