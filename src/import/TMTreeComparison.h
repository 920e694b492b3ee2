// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two scans of one folder compared by path: the saved (old) tree against the
// current one, their roots matched whatever their absolute paths (a saved
// scan may come from another machine), entries matched by the raw bytes of
// their names. An entry only in the current tree is new; only in the old
// one, removed (a folder whole, as one item); a file in both grew, shrank
// or is unchanged; a folder in both is compared entry by entry. A folder
// in one and a file of the same name in the other is a removal and a new
// item; so is a folder renamed.
//
// What is kept once the comparison is made: the changed items of the
// current tree by node (for the map's colours and what it tells of a tile;
// nothing for unchanged ones) and the largest changes by path. The old tree
// may go.

#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/drawing/TMChangeColoring.h"

namespace tilemora {

class TMFileTree;
class TMComparedTree;

struct TMChangedItem {
  std::string path;  // below the compared roots, components joined by '/', raw bytes
  uint64_t oldSize = 0;  // 0 for a new item
  uint64_t newSize = 0;  // 0 for a removed item
  TMChangeKind kind = TMChangeKind::kUnchanged;
  bool folder = false;
  // The item in the current tree (none for a removed one), while that tree lives.
  const TMFileTree* node = nullptr;
  uint64_t difference() const { return changeDifference(oldSize, newSize); }
};

struct TMTreeComparison {
  std::shared_ptr<const TMNodeChanges> nodeChanges;
  // The largest changes, by the size of the difference, largest first.
  std::vector<TMChangedItem> largest;
  uint64_t oldTotal = 0;
  uint64_t newTotal = 0;
  // Items as the list counts them: a new or removed folder is one.
  uint64_t newItems = 0;
  uint64_t removedItems = 0;
  uint64_t grownItems = 0;
  uint64_t shrunkItems = 0;
  bool stopped = false;  // asked to stop before the end
  // Why a side could not be read; the rest then means nothing.
  std::optional<std::string> error;
};

// Compares `current` with `saved`, keeping the `keep` largest changes. Only
// while no one changes either tree. A volume is compared by its folder.
// Asked to stop, it gives up at the next folder: `stopped` is then set and
// the rest means nothing.
TMTreeComparison compareTrees(const TMFileTree& saved, const TMFileTree& current, size_t keep = 1000,
                              const std::stop_token& stop = {});
// The same, for scans listed a folder at a time (either may be a binary
// export read from its file): the current side's nodes, if any, are kept.
TMTreeComparison compareScans(TMComparedTree& saved, TMComparedTree& current, size_t keep = 1000,
                              const std::stop_token& stop = {});

// A change in size as its sign and magnitude (sizes reach 2^64, past what
// a signed integer holds).
struct TMSignedSize {
  bool negative;
  uint64_t magnitude;
};
TMSignedSize signedChange(uint64_t oldSize, uint64_t newSize);

}  // namespace tilemora
