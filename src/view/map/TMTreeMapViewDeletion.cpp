// SPDX-License-Identifier: GPL-3.0-or-later
// Deletion in the tree map view: the trash first, then the file tree, then
// the layout, then one redraw, so the map shows the result without a scan.

#include <algorithm>

#include "view/map/TMTreeMapView.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/layout/TMLayoutFolder.h"

namespace tilemora {

void TMTreeMapView::deleteSelection(bool) {
  if (!root_ || !isSelectionDeletable()) return;
  deleteItems({selected_->url});
}

void TMTreeMapView::deleteItems(const std::vector<TMFileURL>& asked) {
  if (!root_ || !itemsOnDisk_ || asked.empty()) return;
  // An item inside another one asked for goes with it.
  std::vector<TMFileURL> urls;
  for (const TMFileURL& url : asked) {
    const bool inside = std::any_of(asked.begin(), asked.end(), [&](const TMFileURL& other) {
      return other != url && url.isAtOrBelow(other);
    });
    if (!inside && std::find(urls.begin(), urls.end(), url) == urls.end()) urls.push_back(url);
  }
  // The first item the trash refused is named; the others still go.
  std::optional<TMFileURL> firstRefused;
  std::string firstFailure;
  bool changed = false;
  for (const TMFileURL& url : urls) {
    if (!root_) break;  // the scanned folder itself went
    TMDeletion deletion = deleteOne(url);
    if (deletion.refused && !firstRefused) {
      firstRefused = url;
      firstFailure = std::move(deletion.failure);
    }
    changed = changed || deletion.deleted != nullptr;
  }
  if (firstRefused) host_.showDeletionFailure(*firstRefused, firstFailure);
  if (!changed) return;
  // Nothing stays selected: a second Delete must not take the folder
  // that now fills the view.
  if (root_) showUnselected();
  updateScrollerPosition();
  regatherAndRepaint();
  notify();
}

TMTreeMapView::TMDeletion TMTreeMapView::deleteOne(const TMFileURL& url) {
  TMFileTree* rootFile = root_->layout->fileNode();
  const std::vector<std::string> parts = url.pathComponents();
  const size_t rootIndex = root_->url.pathComponents().size() - 1;
  if (rootFile == nullptr || parts.size() <= rootIndex) return {};

  // One walk by names finds every node the file tree, the layout and the
  // view change.
  const TMFileTreePath path = TMFileTreePath::resolve(*rootFile, parts, rootIndex);
  const bool folder = path.target() != nullptr && path.target()->asFolder() != nullptr;
  const FileDeleteRez_t deleted = TMFileTree::deleteNodeOnPath(path, [&](const TMFileURL& item) {
    return host_.moveToTrash({root_->url, scannedRootIdentity_, item, folder});
  });
  if (deleted.code == DeletionFailed) return {nullptr, true, deleted.failure};
  // A path that left the file tree deleted nothing: the layout stays too.
  if (deleted.code == DeletionNotHere || (deleted.code == DeletionUpdated && !deleted.node)) return {};
  const TMFileTree* gone = deleted.code == DeletionDone ? rootFile : deleted.node;
  // The node that went is unlinked but still alive: counts can drop by it.
  if (deletionResponder_) deletionResponder_(*gone);
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
    if (current_->url.isAtOrBelow(url)) showParentOf(url, parentLayout);
  }
  return {gone, false, {}};
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
