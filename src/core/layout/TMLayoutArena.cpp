// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLayoutArena.h"

#include <sys/mman.h>

#include <cstdint>
#include <mutex>
#include <new>
#include <shared_mutex>
#include <unordered_map>

namespace tilemora {

namespace {

thread_local TMLayoutArena* currentArena = nullptr;

// The blocks of all live arenas, by their index (address / block size), and
// the arena of each: a node being deleted on any thread is looked up here. A few blocks of
// arenas gone are kept for the next ones: the shallow maps rebuilt while a
// scan runs would otherwise map and fault in fresh pages at every step.
struct BlockRegistry {
  static constexpr size_t kSpareBlocksKept = 8;
  std::shared_mutex mutex;
  std::unordered_map<uintptr_t, TMLayoutArena*> blocks;
  std::vector<char*> spare;
};

BlockRegistry& registry() {
  static BlockRegistry* blocks = new BlockRegistry;  // outlives every arena
  return *blocks;
}

// A block aligned to its size, so that its index names it: twice the size
// is mapped and what lies outside the aligned block is given back.
char* mapAlignedBlock() {
  constexpr size_t size = TMLayoutArena::kBlockBytes;
  void* mapped = ::mmap(nullptr, 2 * size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + size - 1) & ~uintptr_t(size - 1);
  if (aligned > start) ::munmap(mapped, aligned - start);
  const uintptr_t tail = aligned + size;
  if (start + 2 * size > tail) ::munmap(reinterpret_cast<void*>(tail), start + 2 * size - tail);
  return reinterpret_cast<char*>(aligned);
}

}  // namespace

TMLayoutArena::~TMLayoutArena() {
  BlockRegistry& known = registry();
  std::unique_lock lock(known.mutex);
  for (char* block : blocks_) {
    known.blocks.erase(reinterpret_cast<uintptr_t>(block) / kBlockBytes);
    if (known.spare.size() < BlockRegistry::kSpareBlocksKept) {
      known.spare.push_back(block);
    } else {
      ::munmap(block, kBlockBytes);
    }
  }
}

void* TMLayoutArena::allocate(size_t bytes) {
  // Layout nodes hold pointers and numbers of at most 8 bytes.
  constexpr size_t kAlignment = 8;
  bytes = (bytes + kAlignment - 1) & ~(kAlignment - 1);
  if (bytes > kBlockBytes) throw std::bad_alloc();
  if (next_ == nullptr || size_t(end_ - next_) < bytes) {
    BlockRegistry& known = registry();
    std::unique_lock lock(known.mutex);
    char* block = nullptr;
    if (known.spare.empty()) {
      block = mapAlignedBlock();
    } else {
      block = known.spare.back();
      known.spare.pop_back();
    }
    known.blocks.emplace(reinterpret_cast<uintptr_t>(block) / kBlockBytes, this);
    blocks_.push_back(block);
    next_ = block;
    end_ = block + kBlockBytes;
  }
  void* placed = next_;
  next_ += bytes;
  return placed;
}

TMLayoutArena* TMLayoutArena::holding(const void* pointer) {
  BlockRegistry& known = registry();
  std::shared_lock lock(known.mutex);
  auto block = known.blocks.find(reinterpret_cast<uintptr_t>(pointer) / kBlockBytes);
  return block == known.blocks.end() ? nullptr : block->second;
}

TMLayoutArena* TMLayoutArena::current() { return currentArena; }

void TMLayoutArena::releaseSpareBlocks() {
  BlockRegistry& known = registry();
  std::unique_lock lock(known.mutex);
  for (char* block : known.spare) ::munmap(block, kBlockBytes);
  known.spare.clear();
}

TMLayoutArena::Scope::Scope(TMLayoutArena* arena) : previous_(currentArena) { currentArena = arena; }

TMLayoutArena::Scope::~Scope() { currentArena = previous_; }

}  // namespace tilemora
