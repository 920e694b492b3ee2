#pragma once
// The logic of the main view of a scan window: the three view states (the
// whole tree, the part shown, the selection), the hand-over of layout
// trees, gathering one frame per change, and the visible rectangle's
// stretching and translation. Painting replays the gathered frame (the
// toolkit widget does it with paintGatheredFrame).
//
// The virtual canvas is the view's frame {0, 0, width, height}, y up.

#include <functional>
#include <memory>

#include "TMNodeState.h"
#include "TMTreeMapViewHost.h"
#include "core/drawing/TMColorWheel.h"
#include "core/drawing/TMGeometryGatherer.h"

namespace tilemora {

class TMTreeMapView {
 public:
  // initWithFrame: — no tree and no gatherer yet.
  TMTreeMapView(TMTreeMapViewHost& host, std::shared_ptr<const TMTextMeasuring> measurer,
                double width, double height);

  // setTreeMap:atUrl: — shows `tree` (the layout of the folder or volume at
  // `url`) whole, unzoomed, without selection; no tree clears the states.
  void setTreeMap(std::shared_ptr<TMLayoutNode> tree, const TMFileURL& url);

  // setFrameSize: — the view was resized; the zoom factor is kept.
  void setFrameSize(double width, double height);
  // Moves the visible rectangle, kept inside the canvas.
  void translateBy(double dx, double dy);
  // Scales the visible rectangle by (1 + sx, 1 + sy) about its centre,
  // capped at the canvas and kept inside it.
  void stretchBy(double sx, double sy);
  void updateScrollerPosition();

  // A new gatherer sized for the frame.
  void updateGeometrySize();
  // Gathers the frame of the current state.
  void updateGeometry();

  void setStateChangeResponder(std::function<void()> responder);

  bool isZoomMinimum() const { return root_ == nullptr; }
  bool isZoomMaximum() const { return root_ == nullptr; }

  // What painting needs: the last gathered frame (null before the first),
  // and whether frames and texts are drawn over its fills.
  const TMGeometryGatherer* geometry() const { return geometry_.get(); }
  bool paintsFramesAndTexts() const;

  TMRect frame() const { return {0, 0, width_, height_}; }
  // virtualSize — the visible rectangle.
  TMRect virtualSize() const { return current_ ? current_->size : frame(); }
  const TMNodeState* root() const { return root_.get(); }
  const TMNodeState* current() const { return current_.get(); }
  const TMNodeState* selected() const { return selected_.get(); }

 private:
  void notify();

  TMTreeMapViewHost& host_;
  std::shared_ptr<const TMTextMeasuring> measurer_;
  double width_;
  double height_;
  std::unique_ptr<TMGeometryGatherer> geometry_;
  TMColorWheel wheel_;
  std::shared_ptr<TMNodeState> root_;
  std::shared_ptr<TMNodeState> current_;
  std::shared_ptr<TMNodeState> selected_;
  std::function<void()> stateChangeNotifier_;
};

}  // namespace tilemora
