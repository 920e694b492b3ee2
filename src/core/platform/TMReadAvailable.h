// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A read that waits for the first byte only. fread() waits until it has all
// it was asked for, so a reader of a pipe would see nothing of a slow
// writer's text until a whole buffer had come.

#include <cstddef>
#include <cstdio>

namespace tilemora {

// Reads at least one byte of `stream` (waiting for it), then whatever the
// stream holds already, up to `most` bytes in all. 0 at the end of the
// stream or on an error (ferror tells which).
size_t readAvailable(std::FILE* stream, char* into, size_t most);

}  // namespace tilemora
