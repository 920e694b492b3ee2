// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the layout tree: the chain of folders the file tree deletion
// resolved is followed down by node, the target is cut out of the split
// tree that holds it, and every folder on the way rebuilds its split tree
// from its new size, deepest first. What is cut out is retired, not freed:
// the view's states may still hold it.

#include <algorithm>
#include <span>

#include "TMLayoutFolder.h"
#include "TMLayoutTree.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/filetree/TMFolderTree.h"

namespace tilemora {

TMLayoutFolder* TMLayoutNode::deleteNode(TMLayoutNode& root, const TMFileTreePath& path) {
  const std::vector<TMFolderTree*>& folders = path.folders();
  if (path.target() == nullptr || folders.empty()) return nullptr;
  std::vector<TMLayoutFolder*> onPath;
  TMLayoutNode* node = &root;
  if (root.isSplitNode()) {
    // A volume's layout: its folder beside the free and unscanned space.
    std::unique_ptr<TMLayoutNode>* slot = static_cast<TMLayoutTree&>(root).slotOf(folders[0]);
    node = slot ? slot->get() : nullptr;
  }
  for (size_t i = 0; i < folders.size(); ++i) {
    auto* folder = dynamic_cast<TMLayoutFolder*>(node);  // null too past the layout
    if (folder == nullptr || folder->fileNode() != folders[i]) break;  // below what is laid out
    onPath.push_back(folder);
    if (i + 1 == folders.size()) {
      folder->cutOut(path.target());
      break;
    }
    node = folder->laidOutChild(folders[i + 1]);
    if (node == nullptr) break;  // a folder that takes no area
  }
  for (auto folder = onPath.rbegin(); folder != onPath.rend(); ++folder) (*folder)->rebalance();
  return onPath.size() == folders.size() ? onPath.back() : nullptr;
}

TMRetiredLayoutNodes& TMLayoutFolder::retiredHere() {
  if (!retired_) retired_ = std::make_unique<TMRetiredLayoutNodes>();
  return *retired_;
}

std::unique_ptr<TMLayoutNode>* TMLayoutFolder::slotOf(const TMFileTree* file) {
  if (!child_) return nullptr;
  if (child_->isSplitNode()) return static_cast<TMLayoutTree&>(*child_).slotOf(file);
  return child_->fileNode() == file ? &child_ : nullptr;
}

TMLayoutNode* TMLayoutFolder::laidOutChild(const TMFileTree* file) {
  std::unique_ptr<TMLayoutNode>* slot = slotOf(file);
  return slot ? slot->get() : nullptr;
}

bool TMLayoutFolder::cutOut(const TMFileTree* file) {
  layOutAllContents();
  std::unique_ptr<TMLayoutNode>* slot = slotOf(file);
  if (slot == nullptr) return false;
  retiredHere().push_back(std::move(*slot));
  return true;
}

void TMLayoutFolder::rebalance() {
  const TMFolderTree* folder = fileNode_->asFolder();
  const uint64_t childCount = folder ? folder->childCount() : 0;
  // A lone survivor is rebuilt too: it takes the whole area, not the place
  // it had beside the hole.
  if (childCount == 0 || !child_) return;
  layOutAllContents();  // every child is dealt again, those not laid out yet too

  TMRetiredLayoutNodes list;
  list.reserve(size_t(childCount));
  if (child_->isSplitNode()) {
    static_cast<TMLayoutTree&>(*child_).gatherChild(list);
  } else {
    list.push_back(std::move(child_));
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return TmLayoutNodeComparer(*a, *b) < 0; });
  child_.reset();  // the emptied split nodes
  if (list.empty()) return;  // nothing laid out: an empty interior
  child_ = std::make_unique<TMLayoutTree>(std::span(list), fileNode_->diskSize());
  // Nodes the new split tree does not place (emptied folders) are kept.
  for (auto& node : list) {
    if (node) retiredHere().push_back(std::move(node));
  }
}

std::unique_ptr<TMLayoutNode>* TMLayoutTree::slotOf(const TMFileTree* file) {
  // Split trees of skewed sizes are as deep as they are long: no recursion.
  std::vector<TMLayoutTree*> pending{this};
  while (!pending.empty()) {
    TMLayoutTree* split = pending.back();
    pending.pop_back();
    for (std::unique_ptr<TMLayoutNode>* side : {&split->left_, &split->right_}) {
      if (!*side) continue;
      if ((*side)->isSplitNode()) {
        pending.push_back(static_cast<TMLayoutTree*>(side->get()));
      } else if ((*side)->fileNode() == file) {
        return side;
      }
    }
  }
  return nullptr;
}

void TMLayoutTree::gatherChild(TMRetiredLayoutNodes& list) {
  for (std::unique_ptr<TMLayoutNode>* side : {&left_, &right_}) {
    if (!*side) continue;
    if ((*side)->isSplitNode()) {
      static_cast<TMLayoutTree&>(**side).gatherChild(list);
    } else {
      list.push_back(std::move(*side));
    }
  }
}

}  // namespace tilemora
