// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes a planned change to a scanned tree (see TMFolderUpdatePlanning):
// children unlinked, resized and linked, each changed folder's list in
// order again, and every folder above it grown or shrunk by as much. The
// nodes that went stay alive in the arena (the map's states may name them).
// Main thread, while nothing else reads the tree; the work is in
// proportion to the children of the folders changed, not to the tree.

#include <cstdint>
#include <unordered_set>

#include "TMFolderUpdate.h"
#include "core/filetree/TMSizeMeasure.h"

namespace tilemora {

class TMFileTree;

struct TMAppliedChanges {
  // Every node whose size or children changed: the folders changed and
  // those above them, the files resized, the nodes added.
  std::unordered_set<const TMFileTree*> changed;
  // The folders whose children came or went.
  std::unordered_set<const TMFileTree*> regrouped;
  // How many files and folders the tree gained (negative: lost).
  int64_t files = 0;
  int64_t folders = 0;
};

// Makes `plan`'s changes to the tree of `root` (a folder, or a volume whose
// folder the plan's paths start at; its free space is measured again by
// whoever holds the file system), measured by `measure`.
TMAppliedChanges applyFolderUpdates(const TMChangePlan& plan, TMFileTree& root, TMSizeMeasure measure);

}  // namespace tilemora
