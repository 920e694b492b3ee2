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

namespace {

// The next character of `text`: its length in bytes (1 for a byte that
// begins no valid sequence), and whether it is to be shown as escapes: a
// byte that is not valid UTF-8, or a control character (C0, DEL, or C1,
// U+0080 to U+009F).
struct Character {
  size_t length;
  bool escaped;
};

Character nextCharacter(std::string_view text) {
  const size_t length = validUtf8Length(text);
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  if (length == 0) return {1, true};
  const bool c0OrDelete = length == 1 && (byte(0) < 0x20 || byte(0) == 0x7F);
  const bool c1 = length == 2 && byte(0) == 0xC2 && byte(1) < 0xA0;
  return {length, c0OrDelete || c1};
}

// Appends each byte of `bytes` as \x and two hexadecimal digits.
void appendHexEscapes(std::string& text, std::string_view bytes, const char* digits) {
  for (unsigned char c : bytes) ((text += "\\x") += digits[c >> 4]) += digits[c & 15];
}

// Whether `c` needs no quoting for the shell, alone or inside a word.
bool shellSafe(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80 ||
         std::string_view("_@%+=:,./-").find(char(c)) != std::string_view::npos;
}

}  // namespace

std::string printableName(std::string_view name) {
  std::string text;
  for (std::string_view rest = name; !rest.empty();) {
    const Character character = nextCharacter(rest);
    if (character.escaped) {
      appendHexEscapes(text, rest.substr(0, character.length), "0123456789ABCDEF");
    } else if (rest[0] == '\\') {
      text += "\\\\";
    } else {
      text.append(rest.substr(0, character.length));
    }
    rest.remove_prefix(character.length);
  }
  return text;
}

std::string shellQuoted(std::string_view path) {
  bool text = true;  // valid UTF-8 without control characters
  bool plain = !path.empty();
  for (std::string_view rest = path; !rest.empty();) {
    const Character character = nextCharacter(rest);
    text = text && !character.escaped;
    plain = plain && (character.length > 1 || shellSafe(static_cast<unsigned char>(rest[0])));
    rest.remove_prefix(character.length);
  }
  if (plain && text) return std::string(path);
  std::string quoted = text ? "'" : "$'";
  for (std::string_view rest = path; !rest.empty();) {
    const Character character = nextCharacter(rest);
    if (character.escaped) {
      appendHexEscapes(quoted, rest.substr(0, character.length), "0123456789abcdef");
    } else if (rest[0] == '\'') {
      quoted += text ? "'\\''" : "\\'";  // in single quotes a quote cannot be escaped
    } else if (rest[0] == '\\' && !text) {
      quoted += "\\\\";
    } else {
      quoted.append(rest.substr(0, character.length));
    }
    rest.remove_prefix(character.length);
  }
  return quoted + "'";
}

}  // namespace tilemora
