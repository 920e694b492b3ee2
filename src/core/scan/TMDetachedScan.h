// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder found after a scan (created, or moved in) scanned alone, as the
// scan would have, into a new node of the scanned tree's arena that is
// linked nowhere yet: whoever asked links it once nothing else reads the
// tree.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/TMFileURL.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMUnreadableFolder.h"

namespace tilemora {

class TMFolderTree;
class TMNodeArena;

struct TMDetachedScan {
  TMFolderTree* folder = nullptr;  // null when the path is no folder to scan any more
  uint64_t unreadableFolderCount = 0;
  std::vector<TMUnreadableFolder> unreadableFolders;
  uint64_t excludedCount = 0;
};

// Scans the folder at `url`, `startPath` below the scanned folder (for the
// exclusions' paths), with `environment`'s options, into nodes of `arena`
// (one that borrows from the tree's). `stop` ends it early (then the folder
// is only partly listed, as a stopped scan's).
TMDetachedScan scanDetachedFolder(const TMFileURL& url, std::string startPath, TMNodeArena& arena,
                                  const TMScanEnvironment& environment, const std::atomic<bool>* stop);

}  // namespace tilemora
