// SPDX-License-Identifier: GPL-3.0-or-later
// createLayoutTree of every file tree class: turns a file tree into a layout
// tree down to a chosen folder depth.

#include <algorithm>
#include <optional>

#include "TMLayoutFolder.h"
#include "TMLayoutSpaceLeaves.h"
#include "TMLayoutTree.h"
#include "core/filetree/TMInterimReadGuard.h"
#include "core/filetree/TMVolume.h"
#include "core/platform/TMEnoughStack.h"

namespace tilemora {

std::unique_ptr<TMLayoutNode> TMFileTree::createLayoutTree(int32_t maxDepth, int32_t depth) {
  switch (kind_) {
    case TMNodeKind::Folder:
      return static_cast<TMFolderTree*>(this)->createLayoutTree(maxDepth, depth);
    case TMNodeKind::Volume:
      return static_cast<TMVolume*>(this)->createLayoutTree(maxDepth, depth);
    case TMNodeKind::EmptySpace:
      return static_cast<TMEmptyNode*>(this)->createLayoutTree(maxDepth, depth);
    case TMNodeKind::UnscannedSpace:
      return static_cast<TMUnscannedTree*>(this)->createLayoutTree(maxDepth, depth);
    case TMNodeKind::File:
      break;
  }
  return std::make_unique<TMLayoutLeaf>(this);
}

std::unique_ptr<TMLayoutNode> TMEmptyNode::createLayoutTree(int32_t, int32_t) {
  return std::make_unique<TMLayoutEmptySpace>(this);
}

std::unique_ptr<TMLayoutNode> TMUnscannedTree::createLayoutTree(int32_t, int32_t) {
  return std::make_unique<TMLayoutUnscanned>(this);
}

std::unique_ptr<TMLayoutNode> TMFolderTree::createLayoutTree(int32_t maxDepth, int32_t depth) {
  // The tree may still be growing: the outermost call keeps the child lists
  // it walks alive until the whole layout is built.
  std::optional<TMInterimReadGuard> guard;
  if (depth == 0) guard.emplace();

  const TMChildList* list = children();
  uint32_t count = list ? list->count() : 0;
  if (count == 0 || diskSize() == 0 || depth >= maxDepth) return nullptr;

  std::vector<std::unique_ptr<TMLayoutNode>> layouts;
  layouts.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    TMFileTree* child = list->at(i);
    if (auto layout = withEnoughStack([&] { return child->createLayoutTree(maxDepth, depth + 1); }))
      layouts.push_back(std::move(layout));
  }
  // Children left out still count in the total: their share stays unfilled.
  if (layouts.empty()) return std::make_unique<TMLayoutLeaf>(this);
  return std::make_unique<TMLayoutFolder>(std::move(layouts), this, diskSize());
}

std::unique_ptr<TMLayoutNode> TMVolume::createLayoutTree(int32_t maxDepth, int32_t depth) {
  TMEmptyNode* free = emptySpace();
  TMUnscannedTree* unscanned = unscannedSpace();
  if (free == nullptr || unscanned == nullptr) return nullptr;  // not measured yet
  unscanned->updateDiskSize(unscannedSizeNow());

  std::vector<std::unique_ptr<TMLayoutNode>> parts;
  parts.reserve(3);
  TMFileTree* sources[] = {child(), free, unscanned};
  for (TMFileTree* source : sources) {
    if (source == nullptr) continue;
    if (auto layout = source->createLayoutTree(maxDepth, depth)) parts.push_back(std::move(layout));
  }
  std::stable_sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
    return TmLayoutNodeComparer(*a, *b) < 0;
  });
  return std::make_unique<TMLayoutTree>(std::move(parts), volumeSize());
}

}  // namespace tilemora
