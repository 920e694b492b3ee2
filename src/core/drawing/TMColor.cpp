// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMColor.h"

namespace tilemora {

const TMColor& TMColor::windowBackgroundColor() {
  static const TMColor color = colorFromHtmlVal(0xECECEC);
  return color;
}

const TMColor& TMColor::whiteColor() {
  static const TMColor color{1.0, 1.0, 1.0, 1.0};
  return color;
}

const TMColor& TMColor::grayColor() {
  static const TMColor color{0.5, 0.5, 0.5, 1.0};
  return color;
}

const TMColor& TMColor::blackColor() {
  static const TMColor color{0.0, 0.0, 0.0, 1.0};
  return color;
}

const TMColor& TMColor::unreadableColor() {
  static const TMColor color = colorFromHtmlVal(0xF7B2B2);  // a pale red under red hatching: titles stay legible
  return color;
}

const TMColor& TMColor::notScannedColor() {
  static const TMColor color = colorFromHtmlVal(0xC9DBF2);  // a pale blue under blue dots
  return color;
}

TMColor colorFromHtmlVal(uint32_t value) {
  auto channel = [](uint32_t byte) { return double(float(byte & 0xFF) / 255.0f); };
  return {channel(value >> 16), channel(value >> 8), channel(value), 1.0};
}

}  // namespace tilemora
