// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bulk storage for the nodes of one layout tree. A full layout has a node
// per file and one per split (two per file in all); one heap allocation
// each costs as much again in bookkeeping, and the heap of the thread that
// built a layout keeps its memory once the layout is gone. An arena maps
// blocks from the system and unmaps them with the layout.
//
// While a TMLayoutArena::Scope is open on a thread, every layout node made
// on that thread is placed in its arena; elsewhere nodes come from the heap.
// An arena is filled by one thread at a time: the one that builds the
// layout, then the one that lays out its folders as they are looked at.
// Deleting a node placed in an arena runs its destructor and frees nothing:
// the arena's blocks go together, after the last of its nodes.

#include <cstddef>
#include <vector>

namespace tilemora {

class TMLayoutArena {
 public:
  TMLayoutArena() = default;
  TMLayoutArena(const TMLayoutArena&) = delete;
  TMLayoutArena& operator=(const TMLayoutArena&) = delete;
  // Unmaps the blocks: every node placed here must have been destroyed.
  ~TMLayoutArena();

  void* allocate(size_t bytes);
  size_t reservedBytes() const { return blocks_.size() * kBlockBytes; }

  // Whether `pointer` lies in a block of any arena that is alive.
  static bool contains(const void* pointer) { return holding(pointer) != nullptr; }
  // The live arena whose blocks hold `pointer`, or null.
  static TMLayoutArena* holding(const void* pointer);
  // The arena of the innermost open scope on this thread, or null.
  static TMLayoutArena* current();
  // Gives back to the system the blocks kept for arenas to come (a few,
  // kept while shallow maps are rebuilt again and again during a scan).
  static void releaseSpareBlocks();

  class Scope {
   public:
    explicit Scope(TMLayoutArena& arena) : Scope(&arena) {}
    // Null places nodes on the heap while the scope is open.
    explicit Scope(TMLayoutArena* arena);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    TMLayoutArena* previous_;
  };

  static constexpr size_t kBlockBytes = size_t(1) << 20;

 private:
  std::vector<char*> blocks_;  // each kBlockBytes long, aligned to its size
  char* next_ = nullptr;
  char* end_ = nullptr;
};

}  // namespace tilemora
