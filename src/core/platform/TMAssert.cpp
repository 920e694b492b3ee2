// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMAssert.h"

#include <cstdio>
#include <cstdlib>

namespace tilemora {

void tmAssertionFailed(const char* operation, const char* file, int line,
                       const char* conditionText) {
  std::fprintf(stderr, "Assertion failed: (%s), function %s, file %s, line %d.\n",
               conditionText, operation, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace tilemora
