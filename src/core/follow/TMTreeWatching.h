// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts watches on the folders of a scanned tree: those the scan found, the
// top levels first (so that when the watches run out, the folders left
// unfollowed are the deepest), and those of a folder found later, on disk,
// before it is scanned.

#include <stop_token>
#include <string>

#include "core/scan/TMScanOptions.h"

namespace tilemora {

class TMFolderTree;
class TMWatchTable;

// Watches `top` and every folder below it in the tree, level by level,
// until the table's limit or `stop`. Reads the tree.
void watchScannedTree(const TMFolderTree& top, TMWatchTable& watches, const std::stop_token& stop);

// Watches the folder at `relative` below the scanned folder and every
// folder below it on disk that a scan would enter (no links, no mounts
// unless crossed).
void watchFoldersOnDisk(TMWatchTable& watches, const std::string& relative, const TMScanEnvironment& environment);

}  // namespace tilemora
