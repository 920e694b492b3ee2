// SPDX-License-Identifier: GPL-3.0-or-later
// The layout kept true in place while the files it shows change: only the
// folders that changed, and those above them, are laid out again, each from
// the layouts of its children that it had. The view's states keep naming
// the same nodes; what went is kept aside, as deletion keeps it.

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "TMLayoutBuilding.h"
#include "TMLayoutFolder.h"
#include "TMLayoutNode.h"
#include "TMLayoutTree.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

bool largerFirst(const std::unique_ptr<TMLayoutNode>& a, const std::unique_ptr<TMLayoutNode>& b) {
  return TmLayoutNodeComparer(*a, *b) < 0;
}

// The children `folder` places: the split tree's, or its lone child.
std::vector<TMLayoutNode*> placedIn(const TMLayoutFolder& folder) {
  std::vector<TMLayoutNode*> placed;
  if (TMLayoutNode* child = folder.child()) {
    if (child->isSplitNode()) {
      static_cast<TMLayoutTree*>(child)->collectPlaced(placed);
    } else {
      placed.push_back(child);
    }
  }
  return placed;
}

// Refills every folder of `changed` laid out below and at `top` (at
// `depth`), deepest first; without recursion, as trees are deep.
void refillBelow(TMLayoutFolder& top, int32_t depth, const std::unordered_set<const TMFileTree*>& changed,
                 const std::unordered_set<const TMFileTree*>& regrouped, int32_t maxDepth) {
  struct Pending {
    TMLayoutFolder* folder;
    int32_t depth;
    bool childrenDone;
  };
  std::vector<Pending> pending{{&top, depth, false}};
  while (!pending.empty()) {
    Pending next = pending.back();
    pending.pop_back();
    if (next.childrenDone) {
      next.folder->refill(changed, regrouped, maxDepth, next.depth);
      continue;
    }
    pending.push_back({next.folder, next.depth, true});
    for (TMLayoutNode* child : placedIn(*next.folder)) {
      auto* folder = dynamic_cast<TMLayoutFolder*>(child);
      if (folder != nullptr && changed.count(folder->fileNode()) != 0) pending.push_back({folder, next.depth + 1, false});
    }
  }
}

}  // namespace

void TMLayoutTree::collectPlaced(std::vector<TMLayoutNode*>& placed) const {
  // Left before right, as they are drawn; split trees are as deep as long.
  std::vector<const TMLayoutTree*> pending{this};
  while (!pending.empty()) {
    const TMLayoutTree* split = pending.back();
    pending.pop_back();
    for (TMLayoutNode* side : {split->right_.get(), split->left_.get()}) {
      if (side == nullptr) continue;
      if (side->isSplitNode()) {
        pending.push_back(static_cast<const TMLayoutTree*>(side));
      } else {
        placed.push_back(side);
      }
    }
  }
}

bool TMLayoutTree::splitAgain(uint64_t totalSize) {
  // A node of no size would be left out, and the view may name it.
  std::vector<TMLayoutNode*> placed;
  collectPlaced(placed);
  if (std::any_of(placed.begin(), placed.end(), [](const TMLayoutNode* node) { return node->nodeSize() == 0; }))
    return false;
  TMRetiredLayoutNodes list;
  gatherChild(list);
  std::stable_sort(list.begin(), list.end(), largerFirst);
  TMLayoutTree split{std::span<std::unique_ptr<TMLayoutNode>>(list), totalSize};
  left_ = std::move(split.left_);
  right_ = std::move(split.right_);
  splitPos_ = split.splitPos_;
  return true;
}

void TMLayoutFolder::refill(const std::unordered_set<const TMFileTree*>& changed, const std::unordered_set<const TMFileTree*>& regrouped,
                            int32_t maxDepth, int32_t depth) {
  // Contents not laid out yet will be made from the files as they are now.
  if (!laidOut()) return;
  // Sides never laid out are let go of: their files are listed again from
  // the folder as it is now, all of them laid out anew.
  const bool allAnew = child_ && child_->isSplitNode() && static_cast<TMLayoutTree&>(*child_).dropSidesNotLaidOut();
  files_.reset();
  TMRetiredLayoutNodes had;  // in the split's order: largest first, by the sizes before
  if (child_ && child_->isSplitNode()) {
    static_cast<TMLayoutTree&>(*child_).gatherChild(had);
  } else if (child_) {
    had.push_back(std::move(child_));
  }
  child_.reset();  // the emptied split nodes

  const TMFolderTree* folder = fileNode_->asFolder();
  const TMChildList* children = folder ? folder->children() : nullptr;
  const uint32_t count = children ? children->count() : 0;
  // A changed folder keeps its layout only when it is laid out as a folder
  // (and was refilled): a leaf cannot show what came into it.
  auto reusable = [&](const TMLayoutNode& layout) {
    const TMFileTree* file = layout.fileNode();
    return changed.count(file) == 0 || file->asFolder() == nullptr || dynamic_cast<const TMLayoutFolder*>(&layout);
  };
  TMRetiredLayoutNodes list;
  list.reserve(count);
  if (regrouped.count(fileNode_) == 0 && !allAnew) {
    // The same children: those unchanged keep their order, the changed ones
    // are placed again by their sizes now and merged in.
    std::unordered_map<const TMFileTree*, std::unique_ptr<TMLayoutNode>> moved;
    for (auto& node : had) {
      if (changed.count(node->fileNode()) != 0) {
        moved.emplace(node->fileNode(), std::move(node));
      } else {
        list.push_back(std::move(node));
      }
    }
    TMRetiredLayoutNodes placedAgain;
    for (uint32_t i = 0; i < count; ++i) {
      TMFileTree* child = children->at(i);
      if (changed.count(child) == 0) continue;
      auto kept = moved.find(child);
      if (kept != moved.end() && reusable(*kept->second)) {
        placedAgain.push_back(std::move(kept->second));
        continue;
      }
      if (kept != moved.end()) retiredHere().push_back(std::move(kept->second));
      if (auto layout = createLayoutTree(*child, maxDepth, depth + 1, TMLayoutBuilt::kWhenLookedAt)) placedAgain.push_back(std::move(layout));
    }
    std::stable_sort(placedAgain.begin(), placedAgain.end(), largerFirst);
    TMRetiredLayoutNodes merged(list.size() + placedAgain.size());
    std::merge(std::make_move_iterator(list.begin()), std::make_move_iterator(list.end()),
               std::make_move_iterator(placedAgain.begin()), std::make_move_iterator(placedAgain.end()),
               merged.begin(), largerFirst);
    list = std::move(merged);
  } else {
    std::unordered_map<const TMFileTree*, std::unique_ptr<TMLayoutNode>> byFile;
    for (auto& node : had) byFile.emplace(node->fileNode(), std::move(node));
    for (uint32_t i = 0; i < count; ++i) {
      TMFileTree* child = children->at(i);
      auto kept = byFile.find(child);
      if (kept != byFile.end() && reusable(*kept->second)) {
        list.push_back(std::move(kept->second));
        byFile.erase(kept);
        continue;
      }
      if (changed.count(child) == 0 && !allAnew) continue;  // left out unchanged: an empty folder, an empty file
      if (auto layout = createLayoutTree(*child, maxDepth, depth + 1, TMLayoutBuilt::kWhenLookedAt)) list.push_back(std::move(layout));
    }
    // What is left went (or was rebuilt): kept aside, as the view may name it.
    for (auto& [file, node] : byFile) {
      if (node) retiredHere().push_back(std::move(node));
    }
    std::stable_sort(list.begin(), list.end(), largerFirst);
  }
  if (list.empty() || fileNode_->diskSize() == 0) {
    for (auto& node : list) retiredHere().push_back(std::move(node));
    return;
  }
  child_ = std::make_unique<TMLayoutTree>(std::span<std::unique_ptr<TMLayoutNode>>(list), fileNode_->diskSize());
  for (auto& node : list) {
    if (node) retiredHere().push_back(std::move(node));
  }
}

bool TMLayoutNode::refreshInPlace(TMLayoutNode& root, const std::unordered_set<const TMFileTree*>& changed,
                                  const std::unordered_set<const TMFileTree*>& regrouped, int32_t maxDepth) {
  if (auto* folder = dynamic_cast<TMLayoutFolder*>(&root)) {
    refillBelow(*folder, 0, changed, regrouped, maxDepth);
    return true;
  }
  if (!root.isSplitNode()) return false;
  // A volume: its folder beside the free and unscanned space.
  const TMVolume* volume = nullptr;
  for (const TMFileTree* file : changed) {
    if (file->asVolume() != nullptr) volume = file->asVolume();
  }
  if (volume == nullptr) return false;
  auto& split = static_cast<TMLayoutTree&>(root);
  std::vector<TMLayoutNode*> parts;
  split.collectPlaced(parts);
  auto shown = std::find_if(parts.begin(), parts.end(),
                            [&](const TMLayoutNode* part) { return part->fileNode() == volume->child(); });
  auto* folder = shown != parts.end() ? dynamic_cast<TMLayoutFolder*>(*shown) : nullptr;
  if (folder == nullptr) return false;  // an empty folder, no layout of its own to refill
  refillBelow(*folder, 0, changed, regrouped, maxDepth);
  if (TMUnscannedTree* unscanned = volume->unscannedSpace()) unscanned->updateDiskSize(volume->unscannedSizeNow());
  return split.splitAgain(volume->shownSize());
}

}  // namespace tilemora
