// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChildList.h"

#include <algorithm>
#include <new>

#include "TMNodeArena.h"

namespace tilemora {

TMChildList* TMChildList::allocate(uint32_t capacity, const char* base) {
  void* memory = std::malloc(byteSizeFor(capacity));
  if (memory == nullptr) throw std::bad_alloc();
  return new (memory) TMChildList(capacity, base);
}

TMChildList* TMChildList::allocateIn(TMNodeArena& arena, uint32_t capacity) {
  void* memory = arena.allocate(byteSizeFor(capacity), alignof(TMChildList));
  return new (memory) TMChildList(capacity, arena.base());
}

}  // namespace tilemora
