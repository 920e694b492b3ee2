#pragma once
// Bulk storage for one file tree: nodes, their names and their final child
// lists are carved out of large blocks and released together with the tree.
// A scan creates millions of nodes; one allocation per node would cost more
// in bookkeeping than the node itself.
//
// Objects placed here never have their destructors run: node classes must
// not own anything outside the arena.
//
// Only one thread allocates at a time (the scan thread while the scan runs).
// The blocks are mapped from the system directly and unmapped when the
// tree goes: the memory of a closed window's tree goes back to the system.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

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

  // Bytes reserved from the system so far.
  size_t reservedBytes() const { return reserved_; }

 private:
  static constexpr size_t kBlockBytes = size_t(1) << 20;

  // Blocks are mapped from the system and unmapped with the tree, so that
  // closing a window gives its memory back (the allocator would keep it).
  struct Unmapper {
    size_t bytes = 0;
    void operator()(char* block) const;
  };
  static char* mapBlock(size_t bytes);
  std::vector<std::unique_ptr<char, Unmapper>> blocks_;
  char* next_ = nullptr;
  char* end_ = nullptr;
  size_t reserved_ = 0;
};

}  // namespace tilemora
