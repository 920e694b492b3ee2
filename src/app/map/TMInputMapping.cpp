// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMInputMapping.h"

#include <QAbstractSlider>

namespace tilemora {

QPointF wheelUnitsOf(QPoint pixelDelta, QPoint angleDelta, int linesPerNotch) {
  if (!pixelDelta.isNull()) return QPointF(pixelDelta) / kTouchpadPixelsPerLine;
  return QPointF(angleDelta) / 120.0 * linesPerNotch;
}

TMScrollerPart scrollerPartOf(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderPageStepSub: return TMScrollerPart::kDecrementPage;
    case QAbstractSlider::SliderPageStepAdd: return TMScrollerPart::kIncrementPage;
    case QAbstractSlider::SliderSingleStepSub: return TMScrollerPart::kDecrementLine;
    case QAbstractSlider::SliderSingleStepAdd: return TMScrollerPart::kIncrementLine;
    case QAbstractSlider::SliderNoAction: return TMScrollerPart::kNoPart;
    default: return TMScrollerPart::kKnob;  // the bar's own new position counts
  }
}

}  // namespace tilemora
