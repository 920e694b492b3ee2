// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest files anywhere below a folder, with the folder each lies in:
// one walk over the tree, keeping the best so far in a heap.

#include <cstddef>
#include <string>
#include <vector>

namespace tilemora {

class TMFileTree;

struct TMLargeFile {
  const TMFileTree* file = nullptr;
  // The names of the folders from below the start down to the file's own
  // folder, joined by '/'; empty for a file of the start itself.
  std::string folder;
};

// The `count` largest files below `start` (itself, when it is a file),
// largest first; equal sizes in the order a depth-first walk meets them.
// Only once no scan writes the tree.
std::vector<TMLargeFile> largestFiles(const TMFileTree& start, size_t count);

}  // namespace tilemora
