// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMUnreadableFolder.h"

namespace tilemora {

std::vector<std::string> pathsOf(const std::vector<TMUnreadableFolder>& folders) {
  std::vector<std::string> paths;
  paths.reserve(folders.size());
  for (const TMUnreadableFolder& folder : folders) paths.push_back(folder.path);
  return paths;
}

}  // namespace tilemora
