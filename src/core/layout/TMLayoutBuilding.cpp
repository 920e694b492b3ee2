// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutBuilding.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "TMLayoutFolder.h"
#include "TMLayoutSpaceLeaves.h"
#include "TMLayoutTree.h"
#include "core/filetree/TMInterimReadGuard.h"
#include "core/filetree/TMVolume.h"
#include "core/platform/TMEnoughStack.h"

namespace tilemora {

namespace {

// Whether a folder at `depth` has no layout at all: nothing in it, no size,
// or beyond the depth laid out. A folder not listed yet that has a size
// nonetheless (a saved scan read a folder at a time) is laid out as a leaf.
bool takesNoLayout(const TMFolderTree& folder, int32_t maxDepth, int32_t depth) {
  const TMChildList* list = folder.children();
  const bool empty = list == nullptr || list->count() == 0;
  return (empty && !folder.wasCutShort()) || folder.diskSize() == 0 || depth >= maxDepth;
}

// Whether one of `folder`'s children, at `depth`, would have a layout: a
// folder none of whose children has one is laid out as a plain leaf. The
// first child of a folder usually answers.
bool anyChildLaidOut(const TMFolderTree& folder, int32_t maxDepth, int32_t depth) {
  const TMChildList* list = folder.children();
  const uint32_t count = list ? list->count() : 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (hasLayoutAt(*list->at(i), maxDepth, depth)) return true;
  }
  return false;
}

// The layouts of `folder`'s children, at `depth`, in the folder's order;
// children that take no area have none.
std::vector<std::unique_ptr<TMLayoutNode>> createChildLayouts(TMFolderTree& folder, int32_t maxDepth, int32_t depth,
                                                              TMLayoutBuilt built) {
  const TMChildList* list = folder.children();
  const uint32_t count = list ? list->count() : 0;
  std::vector<std::unique_ptr<TMLayoutNode>> layouts;
  layouts.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    TMFileTree* child = list->at(i);
    if (auto layout = withEnoughStack([&] { return createLayoutTree(*child, maxDepth, depth, built); }))
      layouts.push_back(std::move(layout));
  }
  return layouts;
}

std::unique_ptr<TMLayoutNode> folderLayout(TMFolderTree& folder, int32_t maxDepth, int32_t depth,
                                           TMLayoutBuilt built) {
  if (built == TMLayoutBuilt::kWhenLookedAt) {
    if (takesNoLayout(folder, maxDepth, depth)) return nullptr;
    if (!anyChildLaidOut(folder, maxDepth, depth + 1)) return std::make_unique<TMLayoutLeaf>(&folder);
    return std::make_unique<TMLayoutFolder>(&folder, maxDepth - depth);
  }
  // The tree may still be growing: the outermost call keeps the child lists
  // it walks alive until the whole layout is built.
  std::optional<TMInterimReadGuard> guard;
  if (depth == 0) guard.emplace();

  if (takesNoLayout(folder, maxDepth, depth)) return nullptr;
  std::vector<std::unique_ptr<TMLayoutNode>> layouts = createChildLayouts(folder, maxDepth, depth + 1, built);
  // Children left out still count in the total: their share stays unfilled.
  if (layouts.empty()) return std::make_unique<TMLayoutLeaf>(&folder);
  return std::make_unique<TMLayoutFolder>(std::move(layouts), &folder, folder.diskSize());
}

std::unique_ptr<TMLayoutNode> volumeLayout(TMVolume& volume, int32_t maxDepth, int32_t depth, TMLayoutBuilt built) {
  TMEmptyNode* free = volume.emptySpace();
  TMUnscannedTree* unscanned = volume.unscannedSpace();
  if (free == nullptr || unscanned == nullptr) return nullptr;  // not measured yet
  unscanned->updateDiskSize(volume.unscannedSizeNow());

  std::vector<std::unique_ptr<TMLayoutNode>> parts;
  parts.reserve(3);
  TMFileTree* sources[] = {volume.child(), free, unscanned};
  for (TMFileTree* source : sources) {
    if (source == nullptr) continue;
    if (auto layout = createLayoutTree(*source, maxDepth, depth, built)) parts.push_back(std::move(layout));
  }
  std::stable_sort(parts.begin(), parts.end(), [](const auto& a, const auto& b) {
    return TmLayoutNodeComparer(*a, *b) < 0;
  });
  return std::make_unique<TMLayoutTree>(std::move(parts), volume.shownSize());
}

}  // namespace

bool hasLayoutAt(const TMFileTree& node, int32_t maxDepth, int32_t depth) {
  const TMFolderTree* folder = node.asFolder();
  return folder == nullptr || !takesNoLayout(*folder, maxDepth, depth);
}

std::unique_ptr<TMLayoutNode> createLayoutTree(TMFileTree& node, int32_t maxDepth, int32_t depth,
                                               TMLayoutBuilt built) {
  switch (node.kind()) {
    case TMNodeKind::Folder:
      return folderLayout(*node.asFolder(), maxDepth, depth, built);
    case TMNodeKind::Volume:
      return volumeLayout(*node.asVolume(), maxDepth, depth, built);
    case TMNodeKind::EmptySpace:
      return std::make_unique<TMLayoutEmptySpace>(static_cast<TMEmptyNode*>(&node));
    case TMNodeKind::UnscannedSpace:
      return std::make_unique<TMLayoutUnscanned>(static_cast<TMUnscannedTree*>(&node));
    case TMNodeKind::File:
      break;
  }
  return std::make_unique<TMLayoutLeaf>(&node);
}

}  // namespace tilemora
