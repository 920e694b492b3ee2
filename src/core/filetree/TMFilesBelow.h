// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file below a folder, visited without recursion: the walk behind the
// counts, the totals by type or age and the files a choice picks out.

#include <cstdint>
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

}  // namespace tilemora
