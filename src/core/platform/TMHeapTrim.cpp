// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMHeapTrim.h"

#include <cstdlib>  // before the test below: it defines __GLIBC__ where there is one

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

void returnBigBlocksAtOnce() {
#if defined(__GLIBC__)
  // A fixed threshold: glibc otherwise raises it after each big free, and
  // then keeps every later big block in its heaps.
  constexpr int kBigBlock = 32 << 10;
  ::mallopt(M_MMAP_THRESHOLD, kBigBlock);
  ::mallopt(M_TRIM_THRESHOLD, kBigBlock);
#endif
}

}  // namespace tilemora
