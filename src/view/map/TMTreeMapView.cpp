// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeMapView.h"

#include "core/layout/TMFrameGathering.h"
#include "core/layout/TMLayoutTree.h"

namespace tilemora {

TMTreeMapView::TMTreeMapView(TMTreeMapViewHost& host,
                             std::shared_ptr<const TMTextMeasuring> measurer, double width,
                             double height)
    : host_(host), measurer_(std::move(measurer)), width_(width), height_(height) {}

TMTreeMapView::~TMTreeMapView() = default;

namespace {

// The first node of a volume's split tree that stands for a file node: the
// volume's folder (free and unscanned space have none).
TMLayoutNode* folderIn(TMLayoutNode& node) {
  if (!node.isSplitNode()) return node.fileNode() != nullptr ? &node : nullptr;
  auto& split = static_cast<TMLayoutTree&>(node);
  for (TMLayoutNode* side : {split.left(), split.right()}) {
    if (TMLayoutNode* found = side ? folderIn(*side) : nullptr) return found;
  }
  return nullptr;
}

}  // namespace

void TMTreeMapView::setFileColoring(std::shared_ptr<const TMFileColoring> coloring) {
  fileColoring_ = std::move(coloring);
  wheel_.setFileColoring(fileColoring_.get());
  regatherAndRepaint();
}

void TMTreeMapView::setShowsSpace(bool shown) {
  if (shown == showsSpace_) return;
  showsSpace_ = shown;
  if (handedOver_) setTreeMap(handedOver_, TMFileURL(root_->url));
}

void TMTreeMapView::setTreeMap(std::shared_ptr<TMLayoutNode> tree, const TMFileURL& url) {
  root_.reset();
  current_.reset();
  selected_.reset();
  setAlsoSelected({});
  handedOver_ = tree;
  wheel_.areaTallies().forget();
  if (!tree) return;
  if (!showsSpace_ && tree->isSplitNode()) {
    // Only a volume's map is split at its top: its folder alone fills it.
    if (TMLayoutNode* folder = folderIn(*tree)) tree = std::shared_ptr<TMLayoutNode>(tree, folder);
  }
  auto state = std::make_shared<TMNodeState>();
  state->url = url;
  state->file = tree->fileNode();
  state->layout = std::move(tree);
  state->size = frame();
  root_ = state;
  current_ = state;
  host_.showPath(url);
  // Windows are told apart by what they show, before anything is selected.
  host_.setWindowTitle(url.lastPathComponent());
  // The gatherer made for this view's size serves every tree shown in it:
  // no new room for about a million rectangles with each map.
  if (!geometry_) updateGeometrySize();
  updateScrollerPosition();
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::updateGeometrySize() {
  geometry_ = std::make_unique<TMGeometryGatherer>(gathererCapacityFor(width_, height_), measurer_);
}

void TMTreeMapView::updateGeometry() {
  if (!current_) return;
  gatherFrame(*current_->layout, *geometry_, wheel_, frame(), current_->size,
              selected_ ? selected_->file : nullptr, selected_ ? selected_->url : TMFileURL(),
              selected_ ? selected_->layout.get() : nullptr, alsoSelected_.empty() ? nullptr : &alsoSelectedFiles_);
}

void TMTreeMapView::regatherAndRepaint() {
  updateGeometry();
  host_.requestRepaint();
}

bool TMTreeMapView::paintsFramesAndTexts() const {
  return current_ && current_->file != nullptr && geometry_;
}

void TMTreeMapView::setStateChangeResponder(std::function<void()> responder) {
  stateChangeNotifier_ = std::move(responder);
  notify();
}

void TMTreeMapView::notify() {
  if (stateChangeNotifier_) stateChangeNotifier_();
}

}  // namespace tilemora
