// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the tree map view: the trash first, then the file tree, then
// the layout, then one redraw, so the map shows the result without a scan.

#include "view/map/TMTreeMapView.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/layout/TMLayoutFolder.h"

namespace tilemora {

void TMTreeMapView::deleteSelection(bool) {
  if (!root_ || !isSelectionDeletable()) return;
  TMFileTree* rootFile = root_->layout->fileNode();
  const std::vector<std::string> parts = selected_->url.pathComponents();
  const size_t rootIndex = root_->url.pathComponents().size() - 1;
  if (rootFile == nullptr || parts.size() <= rootIndex) return;

  // One walk by names finds every node the file tree, the layout and the
  // view change.
  const TMFileTreePath path = TMFileTreePath::resolve(*rootFile, parts, rootIndex);
  const bool folder = selected_->file->asFolder() != nullptr;
  const FileDeleteRez_t deleted = TMFileTree::deleteNodeOnPath(path, [&](const TMFileURL& item) {
    return host_.moveToTrash({root_->url, scannedRootIdentity_, item, folder});
  });
  if (deleted.code == DeletionFailed) {
    host_.showDeletionFailure(selected_->url, deleted.failure);
    return;
  }
  // A path that left the file tree deleted nothing: the layout stays too.
  if (deleted.code == DeletionNotHere || (deleted.code == DeletionUpdated && !deleted.node)) return;
  // The node that went is unlinked but still alive: counts can drop by it.
  if (deletionResponder_) deletionResponder_(deleted.code == DeletionDone ? *rootFile : *deleted.node);
  wheel_.areaTallies().forget();  // what the folders above it hold has changed

  if (parts.size() == rootIndex + 1) {
    // The scanned folder itself: the whole layout goes with the states.
    // Nothing is cut out of it first: for a volume that would take the
    // folder out of a split tree whose arena goes with the root.
    root_.reset();
    current_.reset();
    handedOver_.reset();
    showUnselected();
    if (cleanupResponder_) cleanupResponder_();
  } else {
    // What the layout cuts out is kept by the folder it was cut from, so
    // the states that still name it stay valid.
    TMLayoutFolder* parentLayout = TMLayoutNode::deleteNode(*root_->layout, path);
    if (current_->url.isAtOrBelow(selected_->url)) showParentOf(selected_->url, parentLayout);
    // Nothing stays selected: a second Delete must not take the folder
    // that now fills the view.
    showUnselected();
  }
  updateScrollerPosition();
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::showParentOf(const TMFileURL& deleted, TMLayoutFolder* parentLayout) {
  const TMFileURL parent = deleted.deletingLastPathComponent();
  std::shared_ptr<TMNodeState> state = root_;
  if (parent != root_->url && parentLayout != nullptr) {
    state = std::make_shared<TMNodeState>();
    state->url = parent;
    state->file = parentLayout->fileNode();
    state->layout = std::shared_ptr<TMLayoutNode>(root_->layout, parentLayout);
  }
  current_ = std::move(state);
  current_->size = frame();
}

}  // namespace tilemora
