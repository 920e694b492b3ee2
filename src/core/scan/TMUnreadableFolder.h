// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder the scan could not read (its content counts as empty): where it
// is, and why. A scan keeps one for every such folder, and nothing for the
// others.

#include <string>
#include <vector>

namespace tilemora {

struct TMUnreadableFolder {
  std::string path;
  int error = 0;  // the errno of the refusal
  bool operator==(const TMUnreadableFolder&) const = default;
};

// The paths alone, in the same order.
std::vector<std::string> pathsOf(const std::vector<TMUnreadableFolder>& folders);

}  // namespace tilemora
