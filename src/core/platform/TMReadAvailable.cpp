// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMReadAvailable.h"

#include <algorithm>

namespace tilemora {

size_t readAvailable(std::FILE* stream, char* into, size_t most) {
  if (most == 0) return 0;
  const int first = getc_unlocked(stream);
  if (first == EOF) return 0;
  into[0] = char(first);
  // What the stream has read ahead lies between glibc's read pointers: it
  // is taken without another wait.
  const size_t held = size_t(stream->_IO_read_end - stream->_IO_read_ptr);
  return 1 + std::fread(into + 1, 1, std::min(held, most - 1), stream);
}

}  // namespace tilemora
