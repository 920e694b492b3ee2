// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSpaceNodes.h"

#include "core/platform/TMLocalizedString.h"

namespace tilemora {

TMEmptyNode* TMEmptyNode::initWithFileSize(TMNodeArena& arena, uint64_t freeSize) {
  return create<TMEmptyNode>(arena, TMLocalizedString("EmptySpace"), freeSize);
}

TMUnscannedTree* TMUnscannedTree::init(TMNodeArena& arena) {
  return create<TMUnscannedTree>(arena, TMLocalizedString("UnscannedSpace"));
}

}  // namespace tilemora
