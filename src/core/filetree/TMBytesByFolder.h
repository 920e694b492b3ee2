// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes of some of a tree's files (those a search covers, those picked
// out) by the folders that hold them, so that the map can tell what an
// area holds without walking its files.

#include <cstdint>
#include <unordered_map>

namespace tilemora {

class TMFileTree;

struct TMHeldBytes {
  uint64_t below = 0;  // in the files at any depth below the folder
  uint64_t here = 0;   // in its own files
  bool allHere = false;  // every one of its own files is among them
};

// Only folders holding some of the files have an entry.
using TMBytesByFolder = std::unordered_map<const TMFileTree*, TMHeldBytes>;

}  // namespace tilemora
