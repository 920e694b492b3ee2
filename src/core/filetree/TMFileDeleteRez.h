// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answer of a file tree deletion (deleteNodeWithURLParts): a code and the
// node it speaks of.

#include <cstdint>
#include <string>

namespace tilemora {

class TMFileTree;

enum TMFileDeleteCode : int32_t {
  DeletionDone = 0,     // this node is the target; its item is in the trash
  DeletionNotHere = 1,  // the name at the index is not this node's
  DeletionUpdated = 2,  // settled below this node, sizes on the path lowered
  DeletionDigg = 3,     // the name matches and the path goes on below
  DeletionFailed = 4,   // the trash refused the target: nothing has changed
};

struct FileDeleteRez_t {
  int32_t code = DeletionNotHere;
  // The node concerned: the target (Done, Failed), the node unlinked
  // (Updated; none when nothing below matched), this node (Digg). Nodes
  // live in their tree's arena, so an unlinked node stays valid for as long
  // as the caller keeps the tree.
  TMFileTree* node = nullptr;
  std::string failure;  // Failed: why the trash refused the item
};

inline FileDeleteRez_t makeFileDeleteRez(int32_t code, TMFileTree* node) { return {code, node, {}}; }

}  // namespace tilemora
