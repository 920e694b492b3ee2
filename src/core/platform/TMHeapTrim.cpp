// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHeapTrim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tilemora {

void releaseFreedHeapMemory() {
#if defined(__GLIBC__)
  // Every arena, free pages inside the heaps included, not only their tops.
  ::malloc_trim(0);
#endif
}

}  // namespace tilemora
