// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMapFont.h"

#include "core/layout/TMBlockSizes.h"

namespace tilemora {

QFont mapFont() {
  QFont font("Helvetica", int(blockSizes.textHeight));
  // Pixel-sized, so that measuring and drawing agree on any device whatever
  // its dots per inch.
  font.setPixelSize(int(blockSizes.textHeight));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace tilemora
