// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An RGBA colour, channels in [0, 1]. Colours are shared by address: a frame
// stores pointers to colours that outlive it (the wheel's palette and the
// fixed colours below).

#include <cstdint>

namespace tilemora {

struct TMColor {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  bool operator==(const TMColor&) const = default;

  // The fixed colours of the map: free space, unscanned space, frames, text.
  static const TMColor& windowBackgroundColor();
  static const TMColor& whiteColor();
  static const TMColor& grayColor();
  static const TMColor& blackColor();
  // The title band of a folder that could not be read, or holds one.
  static const TMColor& unreadableColor();
  // The title band of a folder a stopped scan had not listed whole.
  static const TMColor& notScannedColor();
};

// The colour of 0xRRGGBB (bits 24-31 ignored); each channel is the byte
// divided by 255 in single precision, then widened.
TMColor colorFromHtmlVal(uint32_t value);

}  // namespace tilemora
