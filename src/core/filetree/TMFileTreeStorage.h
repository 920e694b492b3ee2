// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything one tree is made of. The root handed out shares ownership of
// it, so the tree lives while the caller or its scan holds the root.

#include "TMChildListRecycler.h"
#include "TMNodeArena.h"

namespace tilemora {

class TMFileTree;

struct TMFileTreeStorage {
  TMNodeArena arena;
  TMChildListRecycler recycler;
  TMFileTree* root = nullptr;
};

}  // namespace tilemora
