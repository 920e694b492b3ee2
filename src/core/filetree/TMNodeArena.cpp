#include "TMNodeArena.h"

#include <sys/mman.h>

#include <algorithm>

namespace tilemora {

char* TMNodeArena::mapBlock(size_t bytes) {
  void* block = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return static_cast<char*>(block);
}

void TMNodeArena::Unmapper::operator()(char* block) const { ::munmap(block, bytes); }

void* TMNodeArena::allocate(size_t bytes, size_t alignment) {
  auto aligned = [&](char* p) {
    return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + alignment - 1) &
                                   ~uintptr_t(alignment - 1));
  };
  if (bytes > kBlockBytes / 4) {
    // A large object gets a block of its own, so the current block's
    // remaining room stays in use.
    char* block = mapBlock(bytes + alignment);
    blocks_.emplace_back(block, Unmapper{bytes + alignment});
    reserved_ += bytes + alignment;
    return aligned(block);
  }
  char* start = next_ ? aligned(next_) : nullptr;
  if (start == nullptr || start + bytes > end_) {
    size_t blockBytes = std::max(kBlockBytes, bytes + alignment);
    char* block = mapBlock(blockBytes);
    blocks_.emplace_back(block, Unmapper{blockBytes});
    reserved_ += blockBytes;
    next_ = block;
    end_ = block + blockBytes;
    start = aligned(next_);
  }
  next_ = start + bytes;
  return start;
}

}  // namespace tilemora
