// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The children of a folder as other threads see them while the folder is
// being scanned. A list has a fixed capacity; the scan thread writes a slot,
// then publishes the new count (release), so a reader that loads the count
// (acquire) sees every slot below it fully written. Growing or sorting never
// touches a published list: it builds a new one and publishes that instead.
//
// Memory: a 16-byte header, then 4 bytes per child: its place in the tree's
// arena (TMNodeArena::referenceTo), all children being nodes of one arena.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "TMNodeArena.h"

namespace tilemora {

class TMFileTree;

class alignas(TMFileTree*) TMChildList {
 public:
  // A list on the heap, for a folder still being listed, of nodes of the
  // arena whose region starts at `base`; freed with release().
  static TMChildList* allocate(uint32_t capacity, const char* base);
  // A list in the tree's arena, for a folder whose listing has ended.
  static TMChildList* allocateIn(TMNodeArena& arena, uint32_t capacity);
  static void release(TMChildList* list) { std::free(list); }

  uint32_t capacity() const { return capacity_; }
  uint32_t count() const { return count_.load(std::memory_order_acquire); }
  TMFileTree* at(uint32_t index) const { return nodeAt(slotArray()[index]); }
  // The child at `index` as its place in the arena.
  uint32_t referenceAt(uint32_t index) const { return slotArray()[index]; }
  size_t byteSize() const { return byteSizeFor(capacity_); }

  // Scan thread: appends when there is room; the slot is visible to readers
  // once this returns.
  void append(TMFileTree* node) {
    uint32_t n = count_.load(std::memory_order_relaxed);
    slotArray()[n] = referenceTo(node);
    count_.store(n + 1, std::memory_order_release);
  }
  bool isFull() const { return count_.load(std::memory_order_relaxed) == capacity_; }

  // Removes the child at `index`; the others keep their order. Only once
  // no scan writes the folder any more (a deletion on the main thread).
  void removeAt(uint32_t index) {
    const uint32_t n = count_.load(std::memory_order_relaxed);
    uint32_t* entries = slotArray();
    for (uint32_t i = index; i + 1 < n; ++i) entries[i] = entries[i + 1];
    count_.store(n - 1, std::memory_order_release);
  }

  // Writes the slots of a list no reader has seen yet.
  void setUnpublished(uint32_t index, const TMFileTree* node) { slotArray()[index] = referenceTo(node); }
  void setUnpublishedReference(uint32_t index, uint32_t reference) { slotArray()[index] = reference; }
  // Copies the first `count` children of `other`, a list of the same arena.
  void copyUnpublished(const TMChildList& other, uint32_t count) {
    std::memcpy(slotArray(), other.slotArray(), size_t(count) * sizeof(uint32_t));
  }
  // Orders the first `count` slots of a list no reader has seen yet by
  // `before`, which compares two children; equal children keep their order.
  template <class Before>
  void sortUnpublished(uint32_t count, Before before) {
    uint32_t* references = slotArray();
    std::stable_sort(references, references + count,
                     [&](uint32_t a, uint32_t b) { return before(nodeAt(a), nodeAt(b)); });
  }
  // The same, in place, for lists too long for a copy: no memory beyond the
  // list's own. Of two children `before` does not order, the one made first
  // in the arena (listed first, as the arena only grows) comes first.
  template <class Before>
  void sortUnpublishedInPlace(uint32_t count, Before before) {
    uint32_t* references = slotArray();
    std::sort(references, references + count, [&](uint32_t a, uint32_t b) {
      const TMFileTree* first = nodeAt(a);
      const TMFileTree* second = nodeAt(b);
      if (before(first, second)) return true;
      return !before(second, first) && a < b;
    });
  }
  void setUnpublishedCount(uint32_t n) { count_.store(n, std::memory_order_relaxed); }

 private:
  TMChildList(uint32_t capacity, const char* base) : base_(base), capacity_(capacity), count_(0) {}
  static size_t byteSizeFor(uint32_t capacity) {
    return sizeof(TMChildList) + size_t(capacity) * sizeof(uint32_t);
  }
  uint32_t* slotArray() { return reinterpret_cast<uint32_t*>(this + 1); }
  const uint32_t* slotArray() const { return reinterpret_cast<const uint32_t*>(this + 1); }
  TMFileTree* nodeAt(uint32_t reference) const {
    return reinterpret_cast<TMFileTree*>(const_cast<char*>(TMNodeArena::at(base_, reference)));
  }
  uint32_t referenceTo(const TMFileTree* node) const { return TMNodeArena::referenceTo(base_, node); }

  const char* base_;  // where the arena holding the children starts
  uint32_t capacity_;
  std::atomic<uint32_t> count_;
};

static_assert(sizeof(TMChildList) == 16 && alignof(TMChildList) == alignof(TMFileTree*),
              "a 16-byte header, and the slots after it");

}  // namespace tilemora
