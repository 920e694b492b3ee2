// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the layout tree: the path of names is followed down, the
// target is cut out of the split node that holds it, and every folder on
// the way back up rebuilds its split tree from its new size. What is cut
// out is retired, not freed: the view's states may still hold it.

#include <algorithm>
#include <span>

#include "TMLayoutFolder.h"
#include "TMLayoutTree.h"
#include "core/filetree/TMFolderTree.h"
#include "core/platform/TMAssert.h"
#include "core/platform/TMEnoughStack.h"

namespace tilemora {

TMRetiredLayoutNodes TMLayoutNode::deleteNode(TMLayoutNode& root, const std::vector<std::string>& parts,
                                              int32_t k) {
  TMRetiredLayoutNodes retired;
  root.deleteNode(parts, k, retired);
  return retired;
}

DeleteRez_t TMLayoutNode::deleteNode(const std::vector<std::string>&, int32_t, TMRetiredLayoutNodes&) {
  return {LayoutDeleteNotHere, nullptr};
}

DeleteRez_t TMLayoutLeaf::deleteNode(const std::vector<std::string>& parts, int32_t k,
                                     TMRetiredLayoutNodes&) {
  if (parts[size_t(k)] != fileNode_->filename()) return {LayoutDeleteNotHere, nullptr};
  return {LayoutDeleteSelf, this};
}

TMRetiredLayoutNodes& TMLayoutFolder::retiredHere() {
  if (!retired_) retired_ = std::make_unique<TMRetiredLayoutNodes>();
  return *retired_;
}

DeleteRez_t TMLayoutFolder::deleteNode(const std::vector<std::string>& parts, int32_t k,
                                       TMRetiredLayoutNodes&) {
  if (parts[size_t(k)] != fileNode_->filename()) return {LayoutDeleteNotHere, nullptr};
  if (k == int32_t(parts.size()) - 1) return {LayoutDeleteSelf, this};
  if (!child_) return {LayoutDeleteUpdated, this};
  TMRetiredLayoutNodes& retired = retiredHere();
  const DeleteRez_t answer = withEnoughStack([&] { return child_->deleteNode(parts, k + 1, retired); });
  switch (answer.code) {
    case LayoutDeleteNotHere:
      // The path names this folder and goes on, yet nothing below matches:
      // only nodes found in this layout are ever deleted.
      TM_ASSERT(false);
      break;
    case LayoutDeleteUpdated:
      rebalance();
      break;
    case LayoutDeleteSelf:
      retiredHere().push_back(std::move(child_));
      break;
  }
  return {LayoutDeleteUpdated, this};
}

void TMLayoutFolder::rebalance() {
  const TMFolderTree* folder = fileNode_->asFolder();
  const uint64_t childCount = folder ? folder->childCount() : 0;
  // A lone survivor is rebuilt too: it takes the whole area, not the place
  // it had beside the hole.
  if (childCount == 0 || !child_) return;

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

DeleteRez_t TMLayoutTree::deleteNode(const std::vector<std::string>& parts, int32_t k,
                                     TMRetiredLayoutNodes& retired) {
  for (std::unique_ptr<TMLayoutNode>* side : {&left_, &right_}) {
    if (!*side) continue;
    const DeleteRez_t answer = (*side)->deleteNode(parts, k, retired);
    if (answer.code == LayoutDeleteNotHere) continue;
    // The removed side's area stays empty until a folder above rebuilds.
    if (answer.code == LayoutDeleteSelf) retired.push_back(std::move(*side));
    return {LayoutDeleteUpdated, this};
  }
  return {LayoutDeleteNotHere, nullptr};
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
