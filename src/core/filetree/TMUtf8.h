// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UTF-8 checks for names, which are raw bytes and need not be valid text.

#include <string>
#include <string_view>

namespace tilemora {

// The length of the valid UTF-8 sequence at the start of `text`, or 0 when
// its first byte does not begin one (overlong forms and surrogates included).
size_t validUtf8Length(std::string_view text);

// `name` for a terminal, so that no byte of it can steer the terminal:
// valid printable UTF-8 unchanged; control characters (C0, DEL, and C1,
// U+0080 to U+009F, whose CSI a terminal obeys as ESC [ ) and bytes that are
// not valid UTF-8 as \xHH, each byte of a character; a backslash as \\, so
// that what is printed reads back unambiguously.
std::string printableName(std::string_view name);

// `path` as a shell reads it back: as it is when nothing in it is special
// to the shell; in single quotes when it is valid text; else in $'...',
// with control characters and bytes that are not valid UTF-8 as \xhh
// ($'caf\xe9.txt'), as `ls --quoting-style=shell-escape` writes names.
std::string shellQuoted(std::string_view path);

}  // namespace tilemora
