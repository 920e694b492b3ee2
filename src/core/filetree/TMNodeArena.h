// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bulk storage for one file tree: nodes, their names and their final child
// lists are carved out of one region and released together with the tree.
// A scan creates millions of nodes; one allocation per node would cost more
// in bookkeeping than the node itself.
//
// Objects placed here never have their destructors run: node classes must
// not own anything outside the arena.
//
// Only one thread allocates from an arena at a time. When several threads
// build one tree, each allocates from an arena of its own that borrows
// chunks of the tree's arena (same region, so references stay 4 bytes).
// The region is mapped from the system directly and unmapped when the tree
// goes: the memory of a closed window's tree goes back to the system.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <utility>

namespace tilemora {

class TMNodeArena {
 public:
  TMNodeArena() = default;
  // An arena for one of several threads building the tree of `source`: it
  // takes chunks of `source` as it fills and frees nothing itself (what it
  // placed lives as long as `source`). While any arena borrows from
  // `source`, nothing is allocated from `source` directly.
  explicit TMNodeArena(TMNodeArena& source) : source_(&source), base_(source.base_) {}
  TMNodeArena(const TMNodeArena&) = delete;
  TMNodeArena& operator=(const TMNodeArena&) = delete;

  // Constructs a T in the arena; it lives as long as the arena.
  template <class T, class... Args>
  T* make(Args&&... args) {
    return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  }

  void* allocate(size_t bytes, size_t alignment) {
    const size_t start = (used_ + alignment - 1) & ~(alignment - 1);
    if (start + bytes > limit_) return allocateBeyondLimit(bytes, alignment);
    used_ = start + bytes;
    return base_ + start;
  }

  // Bytes taken from the system so far.
  size_t reservedBytes() const { return committed_; }

  // Everything the arena holds lies in one region of address space, so a
  // node is named by 4 bytes: its distance from the region's start in
  // 8-byte units (the region is at most 32 GiB). Null before the first
  // allocation.
  const char* base() const { return base_; }
  static uint32_t referenceTo(const char* base, const void* object) {
    return uint32_t(size_t(static_cast<const char*>(object) - base) / kUnit);
  }
  static const char* at(const char* base, uint32_t reference) { return base + size_t(reference) * kUnit; }

  ~TMNodeArena();

 private:
  static constexpr size_t kUnit = 8;
  static constexpr size_t kCommitStep = size_t(1) << 20;
  static constexpr size_t kBorrowedChunk = size_t(64) << 10;

  // The region is reserved (no memory behind it) when the arena is first
  // used and committed in steps as it fills; the whole of it is unmapped
  // with the tree, so that closing a window gives its memory back (an
  // allocator would keep it).
  void reserveRegion();
  // The slow path: commits more of the region, or borrows another chunk.
  void* allocateBeyondLimit(size_t bytes, size_t alignment);
  // Takes `bytes` from this arena for a borrowing one (any thread).
  char* lendChunk(size_t bytes);
  // A borrowing arena goes having used its last chunk up to `used`: when
  // that chunk, ending at `limit`, was the last one lent, its unused tail
  // is lent again later (a short-lived borrower would waste it).
  void takeBackTail(size_t used, size_t limit);

  TMNodeArena* const source_ = nullptr;
  std::mutex lending_;
  char* base_ = nullptr;
  size_t regionBytes_ = 0;
  // Allocations go to [used_, limit_): the committed part of the region,
  // or the chunk borrowed last.
  size_t used_ = 0;
  size_t limit_ = 0;
  size_t committed_ = 0;
};

}  // namespace tilemora
