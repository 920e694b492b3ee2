// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How wide a text is when drawn in the map's font. The core measures through
// this interface; the desktop view and the PNG export measure with Qt, tests
// with a deterministic fake.

#include <string_view>

namespace tilemora {

class TMTextMeasuring {
 public:
  virtual ~TMTextMeasuring() = default;
  // The width of `text` (UTF-8, possibly invalid) in view units.
  virtual double widthOf(std::string_view text) const = 0;
};

}  // namespace tilemora
