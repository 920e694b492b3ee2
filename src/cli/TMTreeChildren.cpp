// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeChildren.h"

#include "core/filetree/TMVolume.h"

namespace tilemora {

std::vector<const TMFileTree*> childrenOf(const TMFileTree& node) {
  std::vector<const TMFileTree*> children;
  if (const TMFolderTree* folder = node.asFolder()) {
    if (const TMChildList* list = folder->children()) {
      children.reserve(list->count());
      for (uint32_t i = 0, n = list->count(); i < n; ++i) children.push_back(list->at(i));
    }
  } else if (const auto* volume = node.asVolume()) {
    for (const TMFileTree* part : {static_cast<const TMFileTree*>(volume->child()),
                                   static_cast<const TMFileTree*>(volume->emptySpace()),
                                   static_cast<const TMFileTree*>(volume->unscannedSpace())}) {
      if (part != nullptr) children.push_back(part);
    }
  }
  return children;
}

}  // namespace tilemora
