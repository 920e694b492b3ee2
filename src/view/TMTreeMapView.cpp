// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeMapView.h"

#include "core/layout/TMFrameGathering.h"

namespace tilemora {

TMTreeMapView::TMTreeMapView(TMTreeMapViewHost& host,
                             std::shared_ptr<const TMTextMeasuring> measurer, double width,
                             double height)
    : host_(host), measurer_(std::move(measurer)), width_(width), height_(height) {}

TMTreeMapView::~TMTreeMapView() = default;

void TMTreeMapView::setTreeMap(std::shared_ptr<TMLayoutNode> tree, const TMFileURL& url) {
  root_.reset();
  current_.reset();
  selected_.reset();
  if (!tree) return;
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
  updateGeometrySize();
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
              selected_ ? selected_->layout.get() : nullptr);
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
