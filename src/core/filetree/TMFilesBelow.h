// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file below a folder, visited without recursion: the walk behind the
// counts, the totals by type or age and the files a choice picks out.

#include <cstdint>
#include <utility>
#include <vector>

#include "TMFolderTree.h"

namespace tilemora {

// Calls `visit` with every node below `start` that is not a folder, or with
// `start` itself when it is not one. Only once no scan writes the tree.
template <class Visit>
void forEachFileBelow(const TMFileTree& start, Visit&& visit) {
  const TMFolderTree* first = start.asFolder();
  if (first == nullptr) {
    visit(start);
    return;
  }
  std::vector<const TMFolderTree*> pending{first};
  while (!pending.empty()) {
    const TMChildList* list = pending.back()->children();
    pending.pop_back();
    for (uint32_t i = 0; list && i < list->count(); ++i) {
      const TMFileTree* child = list->at(i);
      if (const TMFolderTree* folder = child->asFolder()) {
        pending.push_back(folder);
      } else {
        visit(*child);
      }
    }
  }
}

// Files and folders below `root` (itself not counted), without recursion.
inline std::pair<uint64_t, uint64_t> countEntriesBelow(const TMFileTree& root) {
  uint64_t files = 0, folders = 0;
  std::vector<const TMFileTree*> pending{&root};
  while (!pending.empty()) {
    const TMFileTree* node = pending.back();
    pending.pop_back();
    const TMChildList* list = node->asFolder() ? node->asFolder()->children() : nullptr;
    for (uint32_t i = 0; list && i < list->count(); ++i) {
      const TMFileTree* child = list->at(i);
      if (child->asFolder()) {
        ++folders;
        pending.push_back(child);
      } else {
        ++files;
      }
    }
  }
  return {files, folders};
}

}  // namespace tilemora
