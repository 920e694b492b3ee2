#pragma once
// The children of a folder as other threads see them while the folder is
// being scanned. A list has a fixed capacity; the scan thread writes a slot,
// then publishes the new count (release), so a reader that loads the count
// (acquire) sees every slot below it fully written. Growing or sorting never
// touches a published list: it builds a new one and publishes that instead.
//
// Memory: an 8-byte header, then one 8-byte pointer per child.

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace tilemora {

class TMFileTree;
class TMNodeArena;

class alignas(TMFileTree*) TMChildList {
 public:
  // A list on the heap, for a folder still being listed; freed with release().
  static TMChildList* allocate(uint32_t capacity);
  // A list in the tree's arena, for a folder whose listing has ended.
  static TMChildList* allocateIn(TMNodeArena& arena, uint32_t capacity);
  static void release(TMChildList* list) { std::free(list); }

  uint32_t capacity() const { return capacity_; }
  uint32_t count() const { return count_.load(std::memory_order_acquire); }
  TMFileTree* at(uint32_t index) const { return slotArray()[index]; }
  size_t byteSize() const { return byteSizeFor(capacity_); }

  // Scan thread: appends when there is room; the slot is visible to readers
  // once this returns.
  void append(TMFileTree* node) {
    uint32_t n = count_.load(std::memory_order_relaxed);
    slotArray()[n] = node;
    count_.store(n + 1, std::memory_order_release);
  }
  bool isFull() const { return count_.load(std::memory_order_relaxed) == capacity_; }

  // Removes the child at `index`; the others keep their order. Only once
  // no scan writes the folder any more (a deletion on the main thread).
  void removeAt(uint32_t index) {
    const uint32_t n = count_.load(std::memory_order_relaxed);
    TMFileTree** entries = slotArray();
    for (uint32_t i = index; i + 1 < n; ++i) entries[i] = entries[i + 1];
    count_.store(n - 1, std::memory_order_release);
  }

  // Writes all slots of a list no reader has seen yet.
  TMFileTree** unpublishedSlots() { return slotArray(); }
  void setUnpublishedCount(uint32_t n) { count_.store(n, std::memory_order_relaxed); }

 private:
  explicit TMChildList(uint32_t capacity) : capacity_(capacity), count_(0) {}
  static size_t byteSizeFor(uint32_t capacity) {
    return sizeof(TMChildList) + size_t(capacity) * sizeof(TMFileTree*);
  }
  TMFileTree** slotArray() { return reinterpret_cast<TMFileTree**>(this + 1); }
  TMFileTree* const* slotArray() const { return reinterpret_cast<TMFileTree* const*>(this + 1); }

  uint32_t capacity_;
  std::atomic<uint32_t> count_;
};

static_assert(sizeof(TMChildList) == 8 && alignof(TMChildList) == alignof(TMFileTree*),
              "an 8-byte header, and slots aligned for pointers");

}  // namespace tilemora
