// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raw directory entries a scan has read but not yet handled, for every
// folder on the path being scanned. Each level reads its folder in chunks
// pushed on top of the stack and pops a chunk once its entries are handled,
// so what is kept is proportional to what the folders on the path still
// have to list, not to the depth times a fixed buffer.
//
// Positions are offsets, never pointers: deeper levels may grow the stack
// and move it while a level still works through its chunk.

#include <cstddef>
#include <memory>

namespace tilemora {

class TMListingStack {
 public:
  // Room for at least `bytes` more above `top()`, answered as a pointer to
  // the first free byte; valid until the next call to reserve().
  char* reserve(size_t bytes);
  // Takes `bytes` of the reserved room into the stack.
  void push(size_t bytes) { top_ += bytes; }
  // Drops everything from `offset` up.
  void popTo(size_t offset) { top_ = offset; }

  size_t top() const { return top_; }
  const char* at(size_t offset) const { return bytes_.get() + offset; }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t capacity_ = 0;
  size_t top_ = 0;
};

}  // namespace tilemora
