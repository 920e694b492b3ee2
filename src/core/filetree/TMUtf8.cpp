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
    unsigned char c = static_cast<unsigned char>(name[0]);
    if (length == 0 || (length == 1 && (c < 0x20 || c == 0x7F))) {
      text += "\\x";
      text += kHex[c >> 4];
      text += kHex[c & 0xF];
      length = 1;
    } else {
      text.append(name.substr(0, length));
    }
    name.remove_prefix(length);
  }
  return text;
}

}  // namespace tilemora
