// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Appends CBOR (RFC 8949) values to a string: the few kinds an item of a
// binary export holds, each in its shortest form.

#include <cstdint>
#include <string>
#include <string_view>

namespace tilemora {

class TMCborWriter {
 public:
  explicit TMCborWriter(std::string& out) : out_(out) {}

  void unsignedInteger(uint64_t value) { head(0, value); }
  // Any integer: a negative one as CBOR's -1 - n.
  void integer(int64_t value) {
    if (value >= 0) head(0, uint64_t(value));
    else head(1, uint64_t(-(value + 1)));
  }
  void byteString(std::string_view bytes) {
    head(2, bytes.size());
    out_.append(bytes);
  }
  void boolean(bool value) { out_ += char(value ? 0xf5 : 0xf4); }
  void mapOf(uint64_t pairs) { head(5, pairs); }

 private:
  void head(uint8_t major, uint64_t argument);

  std::string& out_;
};

}  // namespace tilemora
