// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names in JSON strings. A name is raw bytes and need not be valid UTF-8,
// while a JSON text must be: every byte that does not belong to a valid
// UTF-8 sequence is written as the lone surrogate escape \udcXX (0xXX being
// the byte, 0x80 to 0xFF), the convention by which Python and others carry
// undecodable bytes in text. A valid UTF-8 name never holds a surrogate, so
// the escape cannot be mistaken for one of its characters and the bytes
// come back unchanged.

#include <cstdint>
#include <string>
#include <string_view>

namespace tilemora {

// Appends `name` to `json` as a quoted JSON string.
void appendJsonName(std::string& json, std::string_view name);
// Appends `,"key":value` to `json`: a member of an object being written.
void appendJsonNumber(std::string& json, const char* key, uint64_t value);

}  // namespace tilemora
