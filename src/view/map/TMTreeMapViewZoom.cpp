// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and scroll of the tree map view: the visible rectangle is all there
// is to a zoom, so every operation here moves or scales it.

#include "view/map/TMTreeMapView.h"

#include <algorithm>

#include "view/map/TMVisibleRectangle.h"
#include "core/layout/TMBlockSizes.h"

namespace tilemora {

void TMTreeMapView::translateBy(double dx, double dy) {
  if (!current_) return;
  current_->size = translatedRect(current_->size, frame(), dx, dy);
  updateScrollerPosition();
}

void TMTreeMapView::stretchBy(double sx, double sy) {
  if (!current_) return;
  current_->size = stretchedRect(current_->size, frame(), sx, sy);
  updateScrollerPosition();
}

void TMTreeMapView::stretchWithinZoomLimit(double sx, double sy) {
  stretchBy(sx, sy);
  if (!current_) return;
  const double limit = maximumZoomFactor();
  const TMRect& v = current_->size;
  if (width_ / v.width > limit || height_ / v.height > limit) {
    current_->size = zoomedRect(v, frame(), limit);
    updateScrollerPosition();
  }
}

void TMTreeMapView::setFrameSize(double width, double height) {
  const double oldWidth = width_;
  const double oldHeight = height_;
  width_ = width;
  height_ = height;
  updateGeometrySize();
  // The visible rectangle scales with the view, so the zoom factor stays.
  if (current_ && oldWidth > 0 && oldHeight > 0) stretchBy(width / oldWidth - 1, height / oldHeight - 1);
  regatherAndRepaint();
  // The selection's rectangle is on the canvas too: the arrow keys start
  // from it.
  if (oldWidth > 0 && oldHeight > 0) relocateSelection(width / oldWidth, height / oldHeight);
}

void TMTreeMapView::scrollWheel(double deltaX, double deltaY, bool zoomModifier) {
  if (lockAnyMouseEvent_ || !root_) return;
  if (zoomModifier) {
    stretchWithinZoomLimit(deltaY * kWheelZoomPerUnit, deltaY * kWheelZoomPerUnit);
  } else {
    translateBy(-deltaX, deltaY);
  }
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::magnifyWithEvent(double magnification) {
  if (lockAnyMouseEvent_) return;
  stretchWithinZoomLimit(-magnification, -magnification);
  regatherAndRepaint();
  notify();
}

void TMTreeMapView::zoomStep(int direction) {
  if (lockAnyMouseEvent_ || !current_) return;
  const double level = nextZoomLevel(zoomLevelOf(current_->size, frame()), direction);
  const double factor = zoomFactorOfLevel(level);
  if (direction > 0 && factor > maximumZoomFactor()) return;
  const TMRect old = current_->size;
  zoomTarget_ = zoomedRect(old, frame(), factor);
  zoomAnim_ = std::make_unique<AnimationPerFrame>(*this, old, *zoomTarget_, kZoomDuration);
  animationKind_ = kZoomAnimation;
  zoomAnim_->startAnimation(host_);
  notify();
}

double TMTreeMapView::maximumZoomFactor() const {
  const double tiles = std::min(width_, height_) / blockSizes.minNodeWidth;
  return std::clamp(tiles, 1.0, kMaximumZoomFactor);
}

bool TMTreeMapView::isZoomMaximum() const {
  if (!root_) return true;
  const TMRect target = zoomTarget_ && zoomAnim_ ? *zoomTarget_ : virtualSize();
  return zoomFactorOfLevel(nextZoomLevel(zoomLevelOf(target, frame()), +1)) > maximumZoomFactor();
}

void TMTreeMapView::animateZoom(int32_t kind, const TMRect& from, const TMRect& to) {
  if (lockAnyMouseEvent_) return;
  animationKind_ = kind;
  zoomAnim_ = std::make_unique<AnimationPerFrame>(*this, from, to, kFocusDuration);
  zoomAnim_->startAnimation(host_);
  updateScrollerPosition();
  notify();
}

bool TMTreeMapView::animationShouldStart(AnimationPerFrame&) {
  lockAnyMouseEvent_ = true;
  return true;
}

void TMTreeMapView::animationDidEnd(AnimationPerFrame&) {
  if (animationKind_ == kZoomAnimation) {
    // A step ends exactly on its level, not on the frames' single precision.
    if (zoomTarget_ && current_) current_->size = *zoomTarget_;
    updateScrollerPosition();
    regatherAndRepaint();
  } else if (animationKind_ == kFocusAnimation && current_) {
    // The selection becomes what is shown. A tree handed over during the
    // animation took the selection away: the new tree stays shown, whole.
    if (selected_) current_ = selected_;
    current_->size = frame();
    host_.showPath(current_->url);
    updateScrollerPosition();
    regatherAndRepaint();
  }
  const bool stateChanged = animationKind_ == kFocusAnimation || zoomTarget_.has_value();
  zoomAnim_.reset();
  zoomTarget_.reset();
  lockAnyMouseEvent_ = false;
  // The shown folder (Go Up) or the zoom step (Zoom In) changed after the
  // start was announced: the toolbar must learn it now.
  if (stateChanged) notify();
  if (animationKind_ == kFocusAnimation) continuePendingSelection();
}

void TMTreeMapView::setVirtualSize(const TMRect& rect) {
  if (!current_) return;  // a hand-over of no tree during the animation
  current_->size = rect;
  updateScrollerPosition();
  regatherAndRepaint();
}

void TMTreeMapView::scrollHorizontal(TMScrollerPart part, double value) {
  if (!current_) return;
  bool replace = false;
  const double position = extractScrollerValue(part, value, replace);
  TMRect& v = current_->size;
  v.x = (width_ - v.width) * position;
  if (replace) updateScrollerPosition();
  regatherAndRepaint();
}

void TMTreeMapView::scrollVertical(TMScrollerPart part, double value) {
  if (!current_) return;
  bool replace = false;
  const double position = extractScrollerValue(part, value, replace);
  TMRect& v = current_->size;
  v.y = (1 - position) * (height_ - v.height);  // 0 is the top; y points up
  if (replace) updateScrollerPosition();
  regatherAndRepaint();
}

void TMTreeMapView::updateScrollerPosition() {
  host_.setScrollerPositions(scrollerPositionsFor(virtualSize(), frame()));
}

}  // namespace tilemora
