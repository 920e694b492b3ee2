#include "TMSpaceNodes.h"

#include "core/platform/TMLocalizedString.h"

namespace tilemora {

TMEmptyNode::TMEmptyNode(TMNodeArena& arena, uint64_t freeSize)
    : TMFileTree(arena, TMLocalizedString("EmptySpace"), freeSize) {}

TMUnscannedTree::TMUnscannedTree(TMNodeArena& arena)
    : TMDynamicFileTree(arena, TMLocalizedString("UnscannedSpace"), 0) {}

}  // namespace tilemora
