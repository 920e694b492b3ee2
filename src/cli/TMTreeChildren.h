// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The nodes directly below any file tree node: a folder's children in their
// order, or a volume's folder, free space and unscanned space.

#include <vector>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

std::vector<const TMFileTree*> childrenOf(const TMFileTree& node);

}  // namespace tilemora
