// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answer of a layout deletion (deleteNode:atPart:): a code and the node
// concerned (not owned).

#include <cstdint>

namespace tilemora {

class TMLayoutNode;

enum TMLayoutDeleteCode : int32_t {
  LayoutDeleteSelf = 0,     // this node is the target; its holder removes it
  LayoutDeleteUpdated = 1,  // removed somewhere below; this node stays
  LayoutDeleteNotHere = 2,  // not in this subtree
};

struct DeleteRez_t {
  int32_t code = LayoutDeleteNotHere;
  TMLayoutNode* node = nullptr;
};

}  // namespace tilemora
