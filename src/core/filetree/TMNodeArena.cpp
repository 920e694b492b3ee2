// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMNodeArena.h"

#include <sys/mman.h>

#include <algorithm>

namespace tilemora {

namespace {

// Address space only: where the system cannot give that much, less.
constexpr size_t kRegionSizes[] = {size_t(32) << 30, size_t(4) << 30, size_t(512) << 20};

}  // namespace

TMNodeArena::~TMNodeArena() {
  if (source_ != nullptr && limit_ != 0) source_->takeBackTail(used_, limit_);
  if (base_ != nullptr && source_ == nullptr) ::munmap(base_, regionBytes_);
}

void TMNodeArena::takeBackTail(size_t used, size_t limit) {
  std::lock_guard<std::mutex> lock(lending_);
  if (used_ == limit) used_ = used;
}

void TMNodeArena::reserveRegion() {
  for (size_t bytes : kRegionSizes) {
    void* region = ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (region == MAP_FAILED) continue;
    base_ = static_cast<char*>(region);
    regionBytes_ = bytes;
    return;
  }
  throw std::bad_alloc();
}

void* TMNodeArena::allocateBeyondLimit(size_t bytes, size_t alignment) {
  if (source_ != nullptr) {
    // Offsets from the region's start: aligning one aligns the address.
    const size_t chunk = std::max(kBorrowedChunk, bytes + alignment);
    char* start = source_->lendChunk(chunk);
    base_ = source_->base_;  // set before the first chunk was lent
    used_ = size_t(start - base_);
    limit_ = used_ + chunk;
    return allocate(bytes, alignment);
  }
  if (base_ == nullptr) reserveRegion();
  const size_t start = (used_ + alignment - 1) & ~(alignment - 1);
  const size_t end = start + bytes;
  if (end > regionBytes_) throw std::bad_alloc();
  if (end > committed_) {
    const size_t grown = std::min(regionBytes_, (end + kCommitStep - 1) & ~(kCommitStep - 1));
    if (::mprotect(base_ + committed_, grown - committed_, PROT_READ | PROT_WRITE) != 0) throw std::bad_alloc();
    committed_ = grown;
  }
  limit_ = committed_;
  used_ = end;
  return base_ + start;
}

char* TMNodeArena::lendChunk(size_t bytes) {
  std::lock_guard<std::mutex> lock(lending_);
  return static_cast<char*>(allocate(bytes, kUnit));
}

}  // namespace tilemora
