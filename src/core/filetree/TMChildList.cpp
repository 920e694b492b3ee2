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

void TMChildList::removeAt(uint32_t index) {
  uint32_t n = count_.load(std::memory_order_relaxed);
  if (index >= n) return;
  std::copy(slotArray() + index + 1, slotArray() + n, slotArray() + index);
  count_.store(n - 1, std::memory_order_release);
}

}  // namespace tilemora
