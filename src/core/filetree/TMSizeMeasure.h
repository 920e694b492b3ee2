// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which size a tree is measured by: the space its files take on disk (the
// allocated blocks, the default) or their length (st_size: what a sparse
// file or a cloud placeholder claims, and what small files hold without the
// rest of their last block). A tree holds both in every node; its measure
// says which one diskSize() answers.

#include <cstdint>

namespace tilemora {

class TMFileTree;

enum class TMSizeMeasure : uint8_t { kOnDisk, kLength };

// Makes the tree below `root`, measured by `from`, measured by `to`: every
// node's sizes are exchanged and every child list sorted again, largest
// first (equal sizes keep their order). Nothing else may read or write the
// tree meanwhile. Nothing changes when `from` is `to`.
void remeasureTree(TMFileTree& root, TMSizeMeasure from, TMSizeMeasure to);

// The allocated size and the length of `node`, in a tree measured by `measure`.
uint64_t allocatedSizeOf(const TMFileTree& node, TMSizeMeasure measure);
uint64_t lengthOf(const TMFileTree& node, TMSizeMeasure measure);

}  // namespace tilemora
