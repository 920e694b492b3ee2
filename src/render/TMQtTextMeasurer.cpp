// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMQtTextMeasurer.h"

#include "TMMapFont.h"

namespace tilemora {

TMQtTextMeasurer::TMQtTextMeasurer() : metrics_(mapFont()) {}

double TMQtTextMeasurer::widthOf(std::string_view text) const {
  return metrics_.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

}  // namespace tilemora
