// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanProgressBar.h"

#include <algorithm>
#include <cmath>

namespace tilemora {

namespace {

// Progress bars work in integers; progress is a fraction.
constexpr int kSteps = 10000;

}  // namespace

TMScanProgressBar::TMScanProgressBar() {
  setMaximumWidth(220);
  setTextVisible(false);
  setRange(0, 1);
  setValue(0);
}

// Qt's bar animates while its range is 0-0 (indeterminate); a stopped
// indeterminate bar is shown full.
void TMScanProgressBar::setIndeterminate(bool indeterminate) {
  indeterminate_ = indeterminate;
  if (indeterminate) setRange(0, animating_ ? 0 : 1);
}

void TMScanProgressBar::startAnimation() {
  animating_ = true;
  if (indeterminate_) setRange(0, 0);
}

void TMScanProgressBar::stopAnimation() {
  animating_ = false;
  if (indeterminate_) {
    setRange(0, 1);
    setValue(1);
  }
}

void TMScanProgressBar::setFractionRange(double minimum, double maximum) {
  setRange(int(minimum * kSteps), int(maximum * kSteps));
}

void TMScanProgressBar::setFraction(double value) {
  setValue(int(std::lround(std::clamp(value, 0.0, 1.0) * kSteps)));
  repaint();
}

}  // namespace tilemora
