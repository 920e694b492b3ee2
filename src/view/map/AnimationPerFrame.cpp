// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnimationPerFrame.h"

#include "view/map/TMTreeMapView.h"
#include "view/map/TMVisibleRectangle.h"

namespace tilemora {

AnimationPerFrame::AnimationPerFrame(TMTreeMapView& view, const TMRect& from, const TMRect& to,
                                     double duration)
    : animatedView_(view), initialRect_(from), endRect_(to), duration_(duration) {}

void AnimationPerFrame::startAnimation(TMTreeMapViewHost& host) {
  if (!animatedView_.animationShouldStart(*this)) return;
  // The view owns this animation until its end, and the host drops both
  // callbacks before it runs the end one: `this` outlives every call (the
  // end lets the view free it, and touches nothing after).
  host.startAnimation(
      duration_, [this](float progress) { setCurrentProgress(progress); },
      [this] { animatedView_.animationDidEnd(*this); });
}

void AnimationPerFrame::setCurrentProgress(float progress) {
  animatedView_.setVirtualSize(interpolatedRect(initialRect_, endRect_, progress));
}

}  // namespace tilemora
