// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a finished file tree in tests.

#include <string>
#include <string_view>
#include <vector>

#include "core/filetree/TMFolderTree.h"

namespace tilemora::test {

inline std::vector<const TMFileTree*> childrenOf(const TMFileTree* node) {
  std::vector<const TMFileTree*> children;
  const TMFolderTree* folder = node ? node->asFolder() : nullptr;
  if (const TMChildList* list = folder ? folder->children() : nullptr) {
    for (uint32_t i = 0; i < list->count(); ++i) children.push_back(list->at(i));
  }
  return children;
}

inline const TMFileTree* childNamed(const TMFileTree* node, std::string_view name) {
  for (const TMFileTree* child : childrenOf(node)) {
    if (child->filename() == name) return child;
  }
  return nullptr;
}

inline std::vector<std::string> childNames(const TMFileTree* node) {
  std::vector<std::string> names;
  for (const TMFileTree* child : childrenOf(node)) names.emplace_back(child->filename());
  return names;
}

}  // namespace tilemora::test
