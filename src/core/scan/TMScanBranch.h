// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A part of the tree one thread of a parallel scan lists, from the folder
// handed to it down.
//
// The path above a branch's folder is not copied into each branch: a
// branch keeps only the folders between its parent branch's folder and
// its own, and the rest is its parent's. A chain of folders each handed to
// the next thread thus holds memory in proportion to its depth, not to the
// square of it, and a hand-off costs the depth of its own branch.
//
// A branch lives while it, or any branch handed off from it, is unfinished,
// so the parents of a branch being listed are always alive.

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

namespace tilemora {

class TMFolderTree;

struct TMScanBranch {
  using Identity = std::pair<dev_t, ino_t>;

  TMScanBranch* parent = nullptr;  // the branch it was handed off from; null for the first
  // The folders from the parent branch's folder down to the one this
  // branch's folder was listed in; empty for the first branch.
  std::vector<TMFolderTree*> foldersAbove;
  // With mount points crossed, the identities of those same folders.
  std::vector<Identity> identitiesAbove;
  // This branch's own listing, plus each branch handed off from it, until ended.
  std::atomic<uint32_t> unfinished{1};
  // Folders of this branch whose sorting waits for the branches below
  // them, in the order their listings ended (deepest first).
  std::vector<TMFolderTree*> waitingFolders;

  // Calls `visit` on every folder above this branch's folder, nearest first.
  template <class Visit>
  void forEachFolderAbove(Visit&& visit) const {
    for (const TMScanBranch* branch = this; branch != nullptr; branch = branch->parent) {
      for (auto folder = branch->foldersAbove.rbegin(); folder != branch->foldersAbove.rend(); ++folder) visit(**folder);
    }
  }
  // The folders above this branch's folder, from the scan's start down.
  std::vector<TMFolderTree*> pathAbove() const;
  // Whether a folder above this branch's folder is `identity`.
  bool hasIdentityAbove(const Identity& identity) const;
};

}  // namespace tilemora
