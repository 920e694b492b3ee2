#include "TMNodeArena.h"

#include <algorithm>

namespace tilemora {

void* TMNodeArena::allocate(size_t bytes, size_t alignment) {
  auto aligned = [&](char* p) {
    return reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(p) + alignment - 1) &
                                   ~uintptr_t(alignment - 1));
  };
  if (bytes > kBlockBytes / 4) {
    // A large object gets a block of its own, so the current block's
    // remaining room stays in use.
    char* block = static_cast<char*>(::operator new(bytes + alignment));
    blocks_.emplace_back(block);
    reserved_ += bytes + alignment;
    return aligned(block);
  }
  char* start = next_ ? aligned(next_) : nullptr;
  if (start == nullptr || start + bytes > end_) {
    size_t blockBytes = std::max(kBlockBytes, bytes + alignment);
    char* block = static_cast<char*>(::operator new(blockBytes));
    blocks_.emplace_back(block);
    reserved_ += blockBytes;
    next_ = block;
    end_ = block + blockBytes;
    start = aligned(next_);
  }
  next_ = start + bytes;
  return start;
}

}  // namespace tilemora
