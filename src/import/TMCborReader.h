// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads CBOR (RFC 8949) values from bytes held in memory, for the items of
// a binary export: each value's head, strings (whole or in chunks), and
// values skipped whole. Nothing is read past the end of the bytes, and
// values nest at most kDeepestCbor deep; what breaks either reads as
// nothing (an empty optional, or false).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tilemora {

inline constexpr int kDeepestCbor = 32;

class TMCborReader {
 public:
  enum class Major : uint8_t { kUnsigned, kNegative, kBytes, kText, kArray, kMap, kTag, kSimple };
  struct Head {
    Major major;
    uint64_t argument;  // the value, length or count; the simple value for kSimple
    bool indefinite;    // a length not given: chunks or items up to a break
  };

  TMCborReader(std::string_view data, size_t at) : data_(data), at_(at) {}
  size_t position() const { return at_; }

  std::optional<Head> head();
  // Whether the next byte ends an indefinite string, array or map; taken if so.
  bool takeBreak();
  // The string whose head was just read, of at most `longest` bytes.
  bool string(const Head& head, std::string& into, size_t longest);
  // Steps over the value whose head was just read, and all it holds.
  bool skip(const Head& head, int depth = 0);

 private:
  std::string_view data_;
  size_t at_;
};

}  // namespace tilemora
