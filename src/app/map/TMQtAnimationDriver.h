// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the view's animations on the GUI loop: a precise timer calls the
// frame callback with the time's progress from 0 to 1 (the last call with
// exactly 1), then the end callback once.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace tilemora {

class TMQtAnimationDriver : public QObject {
  Q_OBJECT

 public:
  explicit TMQtAnimationDriver(QObject* parent = nullptr);

  // Replaces an animation still running (which then never ends).
  void start(double seconds, std::function<void(float)> frame, std::function<void()> end);
  // Drops the running animation without calling its end.
  void stop();
  bool isRunning() const { return timer_.isActive(); }

 private:
  void tick();

  QTimer timer_;
  QElapsedTimer clock_;
  double seconds_ = 0;
  std::function<void(float)> frame_;
  std::function<void()> end_;
};

}  // namespace tilemora
