// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSharedLayout.h"

#include "core/layout/TMLayoutArena.h"

namespace tilemora {

std::shared_ptr<TMLayoutNode> makeSharedLayout(const std::shared_ptr<TMFileTree>& tree, int32_t maxDepth,
                                               TMLayoutBuilt built) {
  if (!tree) return nullptr;
  auto arena = std::make_shared<TMLayoutArena>();
  std::unique_ptr<TMLayoutNode> layout;
  {
    TMLayoutArena::Scope placing(*arena);
    layout = createLayoutTree(*tree, maxDepth, 0, built);
  }
  if (!layout) return nullptr;
  // The deleter drops the layout first; its arena and the tree it captured
  // go after.
  return std::shared_ptr<TMLayoutNode>(layout.release(),
                                       [tree, arena](TMLayoutNode* node) { delete node; });
}

}  // namespace tilemora
