#include "TMTreeMapView.h"

#include <algorithm>

#include "core/layout/TMFrameGathering.h"

namespace tilemora {

TMTreeMapView::TMTreeMapView(TMTreeMapViewHost& host,
                             std::shared_ptr<const TMTextMeasuring> measurer, double width,
                             double height)
    : host_(host), measurer_(std::move(measurer)), width_(width), height_(height) {}

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
  updateGeometrySize();
  updateScrollerPosition();
  updateGeometry();
  host_.requestRepaint();
  notify();
}

void TMTreeMapView::updateGeometrySize() {
  geometry_ = std::make_unique<TMGeometryGatherer>(gathererCapacityFor(width_, height_), measurer_);
}

void TMTreeMapView::updateGeometry() {
  if (!current_) return;
  gatherFrame(*current_->layout, *geometry_, wheel_, frame(), current_->size,
              selected_ ? selected_->file : nullptr, selected_ ? selected_->url : TMFileURL());
}

bool TMTreeMapView::paintsFramesAndTexts() const {
  return current_ && current_->file != nullptr && geometry_;
}

void TMTreeMapView::setFrameSize(double width, double height) {
  const double oldWidth = width_;
  const double oldHeight = height_;
  width_ = width;
  height_ = height;
  updateGeometrySize();
  if (current_ && oldWidth > 0 && oldHeight > 0) stretchBy(width / oldWidth - 1, height / oldHeight - 1);
  updateGeometry();
  host_.requestRepaint();
}

void TMTreeMapView::translateBy(double dx, double dy) {
  if (!current_) return;
  TMRect& v = current_->size;
  const TMRect b = frame();
  const double y1 = std::max(v.y + dy, 0.0);
  const double x1 = std::max(v.x + dx, 0.0);
  v.x = x1 + std::min(0.0, (b.x + b.width) - (x1 + v.width));
  v.y = y1 + std::min(0.0, (b.y + b.height) - (y1 + v.height));
  updateScrollerPosition();
}

void TMTreeMapView::stretchBy(double sx, double sy) {
  if (!current_) return;
  TMRect& v = current_->size;
  const TMRect b = frame();
  double cx = v.x + v.width / 2;
  double cy = v.y + v.height / 2;
  const double w = std::min((sx + 1) * v.width, b.width);
  const double h = std::min((sy + 1) * v.height, b.height);
  if (cx - w / 2 < 0) {
    cx = w / 2;
  } else if (cx + w / 2 > b.x + b.width) {
    cx = b.x + b.width - w / 2;
  }
  if (cy - h / 2 < 0) {
    cy = h / 2;
  } else if (cy + h / 2 > b.y + b.height) {
    cy = b.y + b.height - h / 2;
  }
  v = {cx - w / 2, cy - h / 2, w, h};
  updateScrollerPosition();
}

void TMTreeMapView::updateScrollerPosition() {
  const TMRect v = virtualSize();
  const TMRect b = frame();
  TMScrollerPositions positions;
  positions.horizontalProportion = v.width / b.width;
  positions.horizontalValue = v.x / (b.width - v.width);
  positions.verticalValue = 1 - v.y / (b.height - v.height);
  positions.verticalProportion = v.height / b.height;
  host_.setScrollerPositions(positions);
}

void TMTreeMapView::setStateChangeResponder(std::function<void()> responder) {
  stateChangeNotifier_ = std::move(responder);
}

void TMTreeMapView::notify() {
  if (stateChangeNotifier_) stateChangeNotifier_();
}

}  // namespace tilemora
