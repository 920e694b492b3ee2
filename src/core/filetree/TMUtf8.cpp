// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMUtf8.h"

namespace tilemora {

size_t validUtf8Length(std::string_view text) {
  if (text.empty()) return 0;
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  auto continuation = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
  unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
    if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
    if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

std::string printableName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  while (!name.empty()) {
    size_t length = validUtf8Length(name);
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(name[i]); };
    const bool c0OrDelete = length == 1 && (byte(0) < 0x20 || byte(0) == 0x7F);
    const bool c1 = length == 2 && byte(0) == 0xC2 && byte(1) < 0xA0;
    if (length == 0 || c0OrDelete || c1) {
      if (length == 0) length = 1;
      for (size_t i = 0; i < length; ++i) {
        text += "\\x";
        text += kHex[byte(i) >> 4];
        text += kHex[byte(i) & 0xF];
      }
    } else if (byte(0) == '\\') {
      text += "\\\\";
    } else {
      text.append(name.substr(0, length));
    }
    name.remove_prefix(length);
  }
  return text;
}

}  // namespace tilemora
