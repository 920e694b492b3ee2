#include "TMSharedLayout.h"

namespace tilemora {

std::shared_ptr<TMLayoutNode> makeSharedLayout(const std::shared_ptr<TMFileTree>& tree,
                                               int32_t maxDepth) {
  if (!tree) return nullptr;
  std::unique_ptr<TMLayoutNode> layout = tree->createLayoutTree(maxDepth, 0);
  if (!layout) return nullptr;
  // The deleter drops the layout first; the tree it captured goes after.
  return std::shared_ptr<TMLayoutNode>(layout.release(),
                                       [tree](TMLayoutNode* node) { delete node; });
}

}  // namespace tilemora
