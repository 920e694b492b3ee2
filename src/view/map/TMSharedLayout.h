// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a layout tree that can be shared freely: it holds its file tree,
// so the file nodes its leaves point at outlive it, and the layout is
// always released before the tree. Its nodes are placed in an arena of
// their own, unmapped when the layout goes.

#include <memory>

#include "core/filetree/TMFileTree.h"
#include "core/layout/TMLayoutBuilding.h"
#include "core/layout/TMLayoutNode.h"

namespace tilemora {

// The layout of `tree` to `maxDepth` folder levels, or null when the tree
// has none (empty, or not measured yet). Folders laid out when looked at
// place their contents in the same arena, on the thread that looks.
std::shared_ptr<TMLayoutNode> makeSharedLayout(const std::shared_ptr<TMFileTree>& tree, int32_t maxDepth,
                                               TMLayoutBuilt built);

}  // namespace tilemora
