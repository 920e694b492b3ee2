// SPDX-License-Identifier: GPL-3.0-or-later
// Selection and navigation of the tree map view. There is no stack of
// positions: narrowing makes the selection the current state, and going up
// finds the wanted folder again by its path from the root.

#include "view/map/TMTreeMapView.h"

#include <algorithm>

#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutNode.h"

namespace tilemora {

TMDrawInfo_t TMTreeMapView::searchWithFunction(const TMSearchFunction& function,
                                               const TMFileURL& url, TMLayoutNode** result) {
  TMRect bounds = frame();
  TMDrawInfo_t info;
  info.visibleArea = current_ ? &current_->size : &bounds;
  info.pixelWidth = pixelWidth();
  info.pixelHeight = pixelHeight();
  info.selection.url = url;
  TMLayoutNode* found = function(info, bounds);
  if (result != nullptr) *result = found;
  info.visibleArea = nullptr;  // it may point at this frame's `bounds`
  return info;
}

TMLayoutNode* TMTreeMapView::selectWithFunction(const TMSearchFunction& function,
                                                const TMFileURL& url) {
  TMLayoutNode* found = nullptr;
  const TMDrawInfo_t info = searchWithFunction(function, url, &found);
  if (found == nullptr) return nullptr;
  // A selection is its file node; free and unscanned space, which have
  // none, are told apart by their layout nodes.
  if (selected_ && (found->fileNode() != nullptr ? found->fileNode() == selected_->file
                                                  : found == selected_->layout.get()))
    return found;

  auto state = std::make_shared<TMNodeState>();
  state->url = info.selection.url;
  state->file = found->fileNode();
  // Every node searched lies in the tree the root's layout holds.
  state->layout = std::shared_ptr<TMLayoutNode>(root_ ? root_->layout : current_->layout, found);
  state->size = info.selection.rect;
  setSelection(std::move(state), info.selection.isFile != 0);
  return found;
}

void TMTreeMapView::setSelection(std::shared_ptr<TMNodeState> state, bool isFile) {
  selected_ = std::move(state);
  setAlsoSelected({});
  isSelectionFile_ = isFile;
  regatherAndRepaint();
  host_.setRepresentedURL(selected_->url);
  host_.setWindowTitle(selected_->url.lastPathComponent());
  host_.showPath(selected_->url);
  notify();
}

void TMTreeMapView::showUnselected() {
  selected_.reset();
  setAlsoSelected({});
  isSelectionFile_ = false;
  host_.setRepresentedURL(std::nullopt);
  if (current_) {
    host_.showPath(current_->url);
    host_.setWindowTitle(current_->url.lastPathComponent());
  } else {
    host_.showPath(std::nullopt);
    host_.setWindowTitle(TMTreeMapViewHost::kProductName);
  }
}

void TMTreeMapView::relocateSelection(double xRatio, double yRatio) {
  if (!selected_ || selected_ == current_ || !current_) return;
  // Found again on the new canvas: insets and title bands keep their pixel
  // sizes, so a node's rectangle does not simply scale with the view.
  const std::vector<std::string> parts = selected_->url.pathComponents();
  const int32_t start = int32_t(current_->url.pathComponents().size()) - 1;
  TMLayoutNode* found = nullptr;
  const TMDrawInfo_t info =
      parts.size() > size_t(start)
          ? searchWithFunction(pathSearch(current_->layout, parts, start), current_->url, &found)
          : TMDrawInfo_t();
  if (found != nullptr && found == selected_->layout.get()) {
    selected_->size = info.selection.rect;
    return;
  }
  // Too small to be found now (or free space, which no path names): scaled.
  TMRect& r = selected_->size;
  r = {r.x * xRatio, r.y * yRatio, r.width * xRatio, r.height * yRatio};
}

void TMTreeMapView::selectAtPoint(const TMPoint& point) {
  if (!current_) return;
  selectWithFunction(pointSearch(current_->layout, point), current_->url);
}

void TMTreeMapView::selectSubItem() {
  if (!current_) return;
  if (!selected_ || isSelectionFile_) {
    // Just inside the top-left corner of what is shown of the current
    // folder's contents, below its title band.
    const TMRect& v = current_->size;
    const double left = std::max(v.x, blockSizes.folderLeftInset * pixelWidth());
    const double top = std::min(v.y + v.height,
                                height_ - (blockSizes.folderTopInset + blockSizes.textHeight) * pixelHeight());
    selectAtPoint({left + pixelWidth(), top - pixelHeight()});
    return;
  }
  // Just inside the top-left corner of the folder's contents (the insets
  // are added as they are: the point is inside when the view is unzoomed).
  const TMRect r = selected_->size;
  selectAtPoint({r.x + blockSizes.folderLeftInset + pixelWidth(),
                 r.y + r.height - blockSizes.folderBottomInset - blockSizes.textHeight - pixelHeight()});
}

void TMTreeMapView::keyDown(TMArrowKey key) {
  // Nothing selected, or the shown folder itself, as after a narrowing or
  // going up: every edge of it is the view's, so the keys enter it instead.
  if (!selected_ || selected_ == current_) return selectSubItem();
  const TMRect r = selected_->size;
  const double pw = pixelWidth();
  const double ph = pixelHeight();
  TMPoint probe;
  switch (key) {
    case TMArrowKey::kUp: probe = {r.x + r.width / 2, r.y + r.height + ph}; break;
    case TMArrowKey::kDown: probe = {r.x + r.width / 2, r.y - 1.0 - ph}; break;
    case TMArrowKey::kLeft: probe = {r.x - pw, r.y + r.height / 2}; break;
    case TMArrowKey::kRight: probe = {r.x + r.width + pw, r.y + r.height / 2}; break;
  }
  selectAtPoint(probe);
}

void TMTreeMapView::mouseDown() {
  // A drag whose release came during an animation never gave its cursor
  // back: give it back now.
  if (dragged_) host_.popCursor();
  dragged_ = false;
}

void TMTreeMapView::mouseDragged(double dx, double dy) {
  if (lockAnyMouseEvent_ || width_ <= 0 || height_ <= 0) return;
  if (!dragged_) host_.pushClosedHandCursor();
  dragged_ = true;
  // Pixels of the view, turned into canvas units as the visible rectangle
  // maps them now: the map moves with the pointer whatever the zoom.
  const TMRect& v = current_ ? current_->size : TMRect{};
  translateBy(-dx * v.width / width_, dy * v.height / height_);
  regatherAndRepaint();
}

void TMTreeMapView::mouseUp(const TMPoint& viewPoint, int clickCount) {
  if (lockAnyMouseEvent_) return;
  if (dragged_) {
    host_.popCursor();
    dragged_ = false;
    return;
  }
  selectAtPoint(virtualPointOf(viewPoint));
  if (clickCount < 2) return;
  if (isSelectionFile_) {
    revealSelectionInFinder();
  } else {
    narrowSelected();
  }
}

TMPoint TMTreeMapView::virtualPointOf(const TMPoint& viewPoint) const {
  TMPoint point = viewPoint;
  if (geometry_) geometry_->unscalePoint(point);
  return point;
}

void TMTreeMapView::revealSelectionInFinder() {
  if (lockAnyMouseEvent_ || !isSelectionReavealableInFinder()) return;
  host_.revealInFileManager(selected_->url, selected_->url.deletingLastPathComponent());
}

void TMTreeMapView::narrowSelected() {
  if (!selected_ || isSelectionFile_) return;
  animateZoom(kFocusAnimation, current_->size, selected_->size);
}

TMSearchFunction TMTreeMapView::pathSearch(std::shared_ptr<TMLayoutNode> layout,
                                           std::vector<std::string> parts, int32_t beginningAt) {
  return [layout = std::move(layout), parts = std::move(parts), beginningAt](
             TMDrawInfo_t& info, const TMRect& bounds) {
    return layout->getNodeAtPathParts(parts, beginningAt, info, bounds);
  };
}

TMSearchFunction TMTreeMapView::pointSearch(std::shared_ptr<TMLayoutNode> layout, const TMPoint& point) {
  return [layout = std::move(layout), point](TMDrawInfo_t& info, const TMRect& bounds) {
    return layout->getNodeAtPoint(point, info, bounds);
  };
}

void TMTreeMapView::widenFromOnRootCanvas(const std::vector<std::string>& previousParts) {
  // The view starts on the area the folder it came from has on the root's
  // canvas and widens to the whole of the new current node.
  const int32_t rootIndex = int32_t(root_->url.pathComponents().size()) - 1;
  TMLayoutNode* previous = nullptr;
  const TMDrawInfo_t info =
      searchWithFunction(pathSearch(root_->layout, previousParts, rootIndex), current_->url, &previous);
  current_->size = previous != nullptr ? info.selection.rect : frame();
  animateZoom(kFocusAnimation, current_->size, frame());
}

void TMTreeMapView::focusOn(const TMFileURL& url) {
  if (!root_ || !current_) return;
  const std::vector<std::string> target = url.pathComponents();
  const std::vector<std::string> rootParts = root_->url.pathComponents();
  const std::vector<std::string> currentParts = current_->url.pathComponents();
  if (target.size() < rootParts.size()) return;  // above the scanned folder
  const int32_t rootIndex = int32_t(rootParts.size()) - 1;

  if (url == root_->url && current_->layout != root_->layout) {
    // Up to the whole tree: its own state comes back, with what the
    // tree holds beside the scanned folder (a volume's free and unscanned
    // space, which no path search finds).
    if (selected_ != root_) setSelection(root_, false);
    current_ = root_;
    widenFromOnRootCanvas(currentParts);
    return;
  }

  if (target.size() < currentParts.size()) {
    // Up: select the folder on the root's canvas and show it, starting
    // from the area the old current folder has there.
    if (!selectWithFunction(pathSearch(root_->layout, target, rootIndex), root_->url)) return;
    current_ = selected_;
    widenFromOnRootCanvas(currentParts);
    return;
  }
  // Down, or the same level: narrow onto the node.
  if (!selectWithFunction(pathSearch(current_->layout, target, int32_t(currentParts.size()) - 1),
                          current_->url))
    return;
  animateZoom(kFocusAnimation, current_->size, selected_->size);
}

void TMTreeMapView::selectURL(const TMFileURL& url) {
  if (!root_ || !current_ || lockAnyMouseEvent_) return;
  if (selected_ && selected_->url == url) return;
  const size_t rootDepth = root_->url.pathComponents().size();
  if (url.pathComponents().size() < rootDepth) return;  // above the scanned folder
  pendingSelection_.reset();
  if (url.isAtOrBelow(current_->url) && selectIfSeen(url)) return;
  if (url == current_->url || url.deletingLastPathComponent() == current_->url) {
    selectIfSeen(url, true);  // already shown as near as the map gets
    return;
  }
  // Too small to be seen from here, or outside what is shown: its folder
  // first. Each narrowing goes at least one level deeper.
  pendingSelection_ = url;
  pendingNarrowings_ = int(url.pathComponents().size() - rootDepth) + 1;
  focusOn(url.pathComponents().size() > rootDepth ? url.deletingLastPathComponent() : url);
  if (!lockAnyMouseEvent_) continuePendingSelection();  // nothing to animate
}

bool TMTreeMapView::selectIfSeen(const TMFileURL& url, bool evenUnseen) {
  const std::vector<std::string> parts = url.pathComponents();
  const int32_t start = int32_t(current_->url.pathComponents().size()) - 1;
  TMLayoutNode* found = nullptr;
  TMDrawInfo_t info = searchWithFunction(pathSearch(current_->layout, parts, start), current_->url, &found);
  if (found == nullptr || info.selection.url != url) return false;
  info.visibleArea = &current_->size;
  if (!evenUnseen && !found->drawableWithInfo(info, info.selection.rect)) return false;
  selectWithFunction(pathSearch(current_->layout, parts, start), current_->url);
  return true;
}

void TMTreeMapView::continuePendingSelection() {
  if (!pendingSelection_ || !current_) return;
  const TMFileURL url = *pendingSelection_;
  if (selectIfSeen(url)) {
    pendingSelection_.reset();
    return;
  }
  const TMFileURL folder = url.deletingLastPathComponent();
  const TMFileURL before = current_->url;
  if (--pendingNarrowings_ > 0 && url.isAtOrBelow(before) && before != folder && before != url) {
    focusOn(folder);
    if (lockAnyMouseEvent_ && current_->url == before) return;  // on its way there
  }
  // As near as the map gets: selected, though too small to be seen.
  pendingSelection_.reset();
  selectIfSeen(url, true);
}

void TMTreeMapView::popNarrowing() {
  if (lockAnyMouseEvent_ || !current_ || isAtTopLevel()) return;
  // Narrowed into a volume's own folder, up is the whole volume again.
  focusOn(current_->url == root_->url ? root_->url : current_->url.deletingLastPathComponent());
}

void TMTreeMapView::pathDoubleClick(const TMFileURL& url) { focusOn(url); }

bool TMTreeMapView::isSelectionNarrowable() const {
  return root_ && selected_ && !isSelectionFile_;
}

bool TMTreeMapView::isSelectionRoot() const {
  return root_ && selected_ && selected_->file != nullptr && selected_->url == root_->url;
}

bool TMTreeMapView::isAtTopLevel() const {
  // The root's node may be shown by a state of its own (found again by its
  // path): compare the nodes shown, not the states.
  return !root_ || root_ == current_ || current_->layout == root_->layout;
}

std::optional<TMNodeDescription> TMTreeMapView::describeNodeAt(const TMPoint& viewPoint) {
  if (!current_) return std::nullopt;
  const TMPoint point = virtualPointOf(viewPoint);
  TMLayoutNode* found = nullptr;
  const TMDrawInfo_t info = searchWithFunction(pointSearch(current_->layout, point), current_->url, &found);
  if (found == nullptr) return std::nullopt;
  TMNodeDescription description{info.selection.url, found->nodeSize(), found->fileNode() == nullptr};
  description.node = found->fileNode();
  if (const TMFolderTree* folder = found->fileNode() ? found->fileNode()->asFolder() : nullptr) {
    description.readError = folder->isUnreadable() ? folder->readError() : 0;
    description.cutShort = folder->wasCutShort();
    description.holdsUnreadable = folder->holdsUnreadable();
  }
  return description;
}

}  // namespace tilemora
