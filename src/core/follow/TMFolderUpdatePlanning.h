// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists again the folders of a scanned tree that changed, and plans what
// the tree must become: files that grew, shrank or went, and new entries,
// new folders watched and scanned whole (watched first, so that nothing
// made in them while they are scanned goes untold). Runs off the main
// thread, only reading the tree (see TMFolderUpdate).
//
// An entry is taken as the scan takes it: symbolic links, excluded
// entries, mount points (unless crossed) and tagged caches are left out;
// a file that cannot be examined counts nothing. A folder found where the
// tree has a folder of the same name is the same one, unless its watch
// ended meanwhile (it was removed or moved away, and another came).

#include <atomic>
#include <set>
#include <string>

#include "TMFolderUpdate.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/scan/TMScanOptions.h"

namespace tilemora {

class TMFolderTree;
class TMNodeArena;
class TMWatchTable;

struct TMFollowedTree {
  TMFolderTree* top = nullptr;        // the scanned folder (a volume's folder)
  TMNodeArena* arena = nullptr;       // the tree's own
  TMWatchTable* watches = nullptr;
  TMScanEnvironment environment;      // the file system, and what the scan counted
  TMSizeMeasure measure = TMSizeMeasure::kOnDisk;  // what the tree is measured by now
};

// The plan for the folders at `folders` (paths below the scanned folder);
// those the tree no longer holds are passed over. `stop` ends the scans of
// new folders early (the plan is then not to be made).
TMChangePlan planFolderUpdates(const std::set<std::string>& folders, const TMFollowedTree& tree,
                               const std::atomic<bool>* stop);

}  // namespace tilemora
