// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status line's progress bar: a fraction of the work done, or, while
// the amount is unknown, an animation that runs only while work goes on.

#include <QProgressBar>

namespace tilemora {

class TMScanProgressBar : public QProgressBar {
  Q_OBJECT

 public:
  TMScanProgressBar();

  void setIndeterminate(bool indeterminate);
  bool isIndeterminate() const { return indeterminate_; }
  void startAnimation();
  void stopAnimation();
  void setFractionRange(double minimum, double maximum);
  // Shown at once, even while the main thread is busy with the map.
  void setFraction(double value);

 private:
  bool indeterminate_ = true;
  bool animating_ = false;
};

}  // namespace tilemora
