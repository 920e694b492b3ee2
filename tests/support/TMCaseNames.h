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

// Names each case after the text its `describe` function gives.
template <typename Describe>
auto caseNamesBy(Describe describe) {
  return [describe](const auto& info) { return identifierFrom(describe(info.param)); };
}

// Names each case after its `name` field.
inline constexpr auto caseNamesByName = [](const auto& info) { return identifierFrom(info.param.name); };

}  // namespace tilemora::test
