// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMJsonName.h"

#include <charconv>

#include "TMUtf8.h"

namespace tilemora {

void appendJsonName(std::string& json, std::string_view name) {
  static constexpr char kHex[] = "0123456789abcdef";
  json += '"';
  while (!name.empty()) {
    const unsigned char c = static_cast<unsigned char>(name[0]);
    size_t length = validUtf8Length(name);
    if (length == 0) {
      json += "\\udc";
      json += kHex[c >> 4];
      json += kHex[c & 0xF];
      length = 1;
    } else if (c == '"' || c == '\\') {
      json += '\\';
      json += char(c);
    } else if (c < 0x20) {
      switch (c) {
        case '\n': json += "\\n"; break;
        case '\t': json += "\\t"; break;
        case '\r': json += "\\r"; break;
        default:
          json += "\\u00";
          json += kHex[c >> 4];
          json += kHex[c & 0xF];
      }
    } else {
      json.append(name.substr(0, length));
    }
    name.remove_prefix(length);
  }
  json += '"';
}

void appendJsonNumber(std::string& json, const char* key, uint64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  json += ",\"";
  json += key;
  json += "\":";
  json.append(digits, end);
}

}  // namespace tilemora
