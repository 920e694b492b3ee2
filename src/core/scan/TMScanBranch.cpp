// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanBranch.h"

#include <algorithm>

namespace tilemora {

std::vector<TMFolderTree*> TMScanBranch::pathAbove() const {
  std::vector<TMFolderTree*> path;
  forEachFolderAbove([&](TMFolderTree& folder) { path.push_back(&folder); });
  std::reverse(path.begin(), path.end());
  return path;
}

bool TMScanBranch::hasIdentityAbove(const Identity& identity) const {
  for (const TMScanBranch* branch = this; branch != nullptr; branch = branch->parent) {
    const auto& identities = branch->identitiesAbove;
    if (std::find(identities.begin(), identities.end(), identity) != identities.end()) return true;
  }
  return false;
}

}  // namespace tilemora
