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
// Only one thread allocates at a time (the scan thread while the scan runs).
// The region is mapped from the system directly and unmapped when the tree
// goes: the memory of a closed window's tree goes back to the system.

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace tilemora {

class TMNodeArena {
 public:
  TMNodeArena() = default;
  TMNodeArena(const TMNodeArena&) = delete;
  TMNodeArena& operator=(const TMNodeArena&) = delete;

  // Constructs a T in the arena; it lives as long as the arena.
  template <class T, class... Args>
  T* make(Args&&... args) {
    return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  }

  void* allocate(size_t bytes, size_t alignment);

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

  // The region is reserved (no memory behind it) when the arena is first
  // used and committed in steps as it fills; the whole of it is unmapped
  // with the tree, so that closing a window gives its memory back (an
  // allocator would keep it).
  void reserveRegion();
  char* base_ = nullptr;
  size_t regionBytes_ = 0;
  size_t used_ = 0;
  size_t committed_ = 0;
};

}  // namespace tilemora
