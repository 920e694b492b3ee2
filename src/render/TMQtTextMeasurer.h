// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measures texts for the core with the map's font.

#include <QFontMetricsF>

#include "core/platform/TMTextMeasuring.h"

namespace tilemora {

class TMQtTextMeasurer : public TMTextMeasuring {
 public:
  TMQtTextMeasurer();
  double widthOf(std::string_view text) const override;

 private:
  QFontMetricsF metrics_;
};

}  // namespace tilemora
