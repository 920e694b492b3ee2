// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Readable, stable names for the cases of parameterised suites: the
// words of a case's description become one identifier, so that test
// listings show "WhollyBeforeTheCanvasInX" rather than the case's bytes.

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace tilemora::test {

// "wholly before the canvas in x" → "WhollyBeforeTheCanvasInX"; anything
// but letters and digits separates words.
inline std::string identifierFrom(std::string_view words) {
  std::string name;
  bool wordStart = true;
  for (unsigned char c : words) {
    if (!std::isalnum(c)) {
      wordStart = true;
      continue;
    }
    name += wordStart ? char(std::toupper(c)) : char(c);
    wordStart = false;
  }
  return name.empty() ? "Empty" : name;
}

// A text that is itself the case (a path, a name) spelled as an
// identifier: letters and digits stay as they are, "/" becomes "Slash",
// "." "Dot", a space "_", any other byte "X" and its hex code.
inline std::string spelledOut(std::string_view text) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string name;
  for (unsigned char c : text) {
    if (std::isalnum(c)) {
      name += char(c);
    } else if (c == '/') {
      name += "Slash";
    } else if (c == '.') {
      name += "Dot";
    } else if (c == ' ') {
      name += '_';
    } else {
      name += 'X';
      name += kHex[c >> 4];
      name += kHex[c & 15];
    }
  }
  return name.empty() ? "Empty" : name;
}

// Names each case after the text its `describe` function gives.
template <typename Describe>
auto caseNamesBy(Describe describe) {
  return [describe](const auto& info) { return identifierFrom(describe(info.param)); };
}

// A thread count as a case's name: "OneThread", "4Threads", and
// "DefaultThreads" for 0, the program's default.
inline std::string threadsName(unsigned threads) {
  if (threads == 0) return "DefaultThreads";
  return threads == 1 ? std::string("OneThread") : std::to_string(threads) + "Threads";
}
inline constexpr auto caseNamesByThreads = [](const auto& info) { return threadsName(unsigned(info.param)); };

// Names each case after its `name` field.
inline constexpr auto caseNamesByName = [](const auto& info) { return identifierFrom(info.param.name); };

}  // namespace tilemora::test
