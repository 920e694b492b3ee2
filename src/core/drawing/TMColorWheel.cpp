// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMColorWheel.h"

#include "core/platform/TMAssert.h"

namespace tilemora {

TMColorWheel::TMColorWheel() {
  for (size_t i = 0; i < colorList.size(); ++i) colorWheel[i] = colorFromHtmlVal(colorList[i]);
  const double grey = double(119.0f / 255.0f);  // 0.46666666865348816
  selColor = {grey, grey, grey, 1.0};
}

void TMColorWheel::popColor() {
  --currentLevel;
  TM_ASSERT(currentLevel >= 0);
}

}  // namespace tilemora
