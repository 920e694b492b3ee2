#include "TMChildList.h"

#include <algorithm>
#include <new>

#include "TMNodeArena.h"

namespace tilemora {

TMChildList* TMChildList::allocate(uint32_t capacity) {
  void* memory = std::malloc(byteSizeFor(capacity));
  if (memory == nullptr) throw std::bad_alloc();
  return new (memory) TMChildList(capacity);
}

TMChildList* TMChildList::allocateIn(TMNodeArena& arena, uint32_t capacity) {
  return new (arena.allocate(byteSizeFor(capacity), alignof(TMChildList))) TMChildList(capacity);
}

}  // namespace tilemora
