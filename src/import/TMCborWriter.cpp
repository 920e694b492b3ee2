// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMCborWriter.h"

namespace tilemora {

void TMCborWriter::head(uint8_t major, uint64_t argument) {
  const char type = char(major << 5);
  if (argument < 24) {
    out_ += char(type | char(argument));
    return;
  }
  int bytes = 8;
  char size = 27;
  if (argument <= 0xff) {
    bytes = 1;
    size = 24;
  } else if (argument <= 0xffff) {
    bytes = 2;
    size = 25;
  } else if (argument <= 0xffffffff) {
    bytes = 4;
    size = 26;
  }
  out_ += char(type | size);
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out_ += char(argument >> shift);
}

}  // namespace tilemora
