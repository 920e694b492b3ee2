// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One animation of the visible rectangle, from `initialRect` at progress 0
// to `endRect` at progress 1, run by the host's timer on the GUI loop. The
// view owns it while it runs; the view is also told when it starts and ends.

#include "view/map/TMTreeMapViewHost.h"
#include "core/drawing/TMGeometry.h"

namespace tilemora {

class TMTreeMapView;

class AnimationPerFrame {
 public:
  // initWithView:fromRect:toRect:andDuration:
  AnimationPerFrame(TMTreeMapView& view, const TMRect& from, const TMRect& to, double duration);
  AnimationPerFrame(const AnimationPerFrame&) = delete;
  AnimationPerFrame& operator=(const AnimationPerFrame&) = delete;

  // Locks the view's input (animationShouldStart:) and starts the host's
  // timer; each frame calls setCurrentProgress:, the end animationDidEnd:.
  void startAnimation(TMTreeMapViewHost& host);

  // setCurrentProgress: — the rectangle at `progress`, interpolated in
  // single precision, becomes the view's visible rectangle.
  void setCurrentProgress(float progress);

  double duration() const { return duration_; }
  const TMRect& initialRect() const { return initialRect_; }
  const TMRect& endRect() const { return endRect_; }

 private:
  TMTreeMapView& animatedView_;  // owns this animation
  TMRect initialRect_;
  TMRect endRect_;
  double duration_;
};

}  // namespace tilemora
