// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileTreePath.h"

#include "TMFileDeleteRez.h"
#include "TMFolderTree.h"
#include "core/platform/TMAssert.h"

namespace tilemora {

TMFileTreePath TMFileTreePath::resolve(TMFileTree& start, const std::vector<std::string>& parts, uint64_t index) {
  TMFileTreePath path;
  path.url_ = TMFileURL::fromPathComponents(parts);
  if (index >= parts.size() || parts[index] != start.filename()) return path;
  path.startsHere_ = true;
  TMFileTree* node = &start;
  for (uint64_t i = index + 1; i < parts.size(); ++i) {
    TMFolderTree* folder = node->asFolder();
    // A path going on below a plain file: no selection names one.
    if (folder == nullptr) TM_ASSERT(DeletionDigg == -1);
    const TMChildList* list = folder->children();
    const uint32_t count = list ? list->count() : 0;
    uint32_t position = 0;
    while (position < count && list->at(position)->filename() != parts[i]) ++position;
    if (position == count) return path;  // gone from the tree: nothing to delete
    path.folders_.push_back(folder);
    path.targetPosition_ = position;
    node = list->at(position);
  }
  path.target_ = node;
  return path;
}

}  // namespace tilemora
