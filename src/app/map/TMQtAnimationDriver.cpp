// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMQtAnimationDriver.h"

#include <algorithm>

namespace tilemora {

namespace {
constexpr int kFrameInterval = 16;  // milliseconds: about 60 frames a second
}

TMQtAnimationDriver::TMQtAnimationDriver(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(kFrameInterval);
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

void TMQtAnimationDriver::start(double seconds, std::function<void(float)> frame,
                                std::function<void()> end) {
  seconds_ = seconds;
  frame_ = std::move(frame);
  end_ = std::move(end);
  clock_.start();
  timer_.start();
}

void TMQtAnimationDriver::stop() {
  timer_.stop();
  frame_ = nullptr;
  end_ = nullptr;
}

void TMQtAnimationDriver::tick() {
  const double elapsed = double(clock_.nsecsElapsed()) / 1e9;
  const float progress = seconds_ > 0 ? float(std::min(elapsed / seconds_, 1.0)) : 1.0f;
  if (frame_) frame_(progress);
  if (progress < 1.0f) return;
  // Let go of both callbacks before the end runs: it may start another.
  std::function<void()> end = std::move(end_);
  stop();
  if (end) end();
}

}  // namespace tilemora
