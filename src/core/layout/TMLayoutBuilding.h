// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// createLayoutTree:atDepth: of every file tree class: turns a file tree
// into a layout tree down to a chosen folder depth. The file tree knows
// nothing of layouts; this is where a node's layout is made.

#include <cstdint>
#include <memory>

namespace tilemora {

class TMFileTree;
class TMLayoutNode;

// When the layouts inside folders are made. A whole layout is about as big
// as the file tree, and of a big tree most folders are never drawn at a
// size worth entering: the final map makes a folder's contents when it is
// first drawn, searched or asked for. A map built while the scan still adds
// to the tree is made at once, off the main thread, as its lists change.
enum class TMLayoutBuilt { kAtOnce, kWhenLookedAt };

// The layout of `node`: a leaf for a file at any depth; for a folder, a
// folder layout over its children's, none for an empty folder or one at or
// beyond `maxDepth` folder levels below the start (`depth` counts them, 0
// at the start), a plain leaf when no child has a layout; for a volume,
// its folder, free space and unscanned space (the unscanned size set
// first), none before it has been measured. The layout points at `node`'s
// tree, which must outlive it; so must it when folders are laid out when
// looked at, and the tree must not change but through the layout's own
// deletions and refreshes.
std::unique_ptr<TMLayoutNode> createLayoutTree(TMFileTree& node, int32_t maxDepth, int32_t depth,
                                               TMLayoutBuilt built = TMLayoutBuilt::kAtOnce);

// Whether createLayoutTree would give `node` a layout at `depth`.
bool hasLayoutAt(const TMFileTree& node, int32_t maxDepth, int32_t depth);

}  // namespace tilemora
