// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What listing folders of a scanned tree again found, as changes to make
// to the tree: planned off the main thread while the tree is only read,
// made on it once nothing else reads the tree (see TMFolderUpdateApplying).
// New nodes are already made, in the tree's arena, and linked nowhere.

#include <cstdint>
#include <string>
#include <vector>

#include "core/scan/TMUnreadableFolder.h"

namespace tilemora {

class TMChildList;
class TMFileTree;
class TMFolderTree;

struct TMFolderUpdate {
  std::string path;                  // below the scanned folder
  TMFolderTree* folder = nullptr;    // its node
  std::vector<TMFolderTree*> above;  // the folders above it, from the tree's top folder down
  // Children that went (or became another kind of entry).
  std::vector<TMFileTree*> removed;
  // Files whose sizes or time changed, with what they are now.
  struct Resized {
    TMFileTree* node = nullptr;
    uint64_t allocated = 0;
    uint64_t length = 0;
    int64_t modified = 0;
  };
  std::vector<Resized> resized;
  // New children: files, and folders scanned whole.
  std::vector<TMFileTree*> added;
  // A list with room for every child after the change, when the folder's
  // own has too little; null otherwise.
  TMChildList* roomierList = nullptr;
};

struct TMChangePlan {
  // The tree's version the plan was made from (see TMMainWindowController).
  uint64_t treeVersion = 0;
  // Deepest first: a folder's update is made before that of a folder above
  // it, whose removal of it then counts its new size.
  std::vector<TMFolderUpdate> updates;
  // The folders that went, below the scanned folder: their watches end.
  std::vector<std::string> removedFolders;
  // What the new folders' scans met.
  std::vector<TMUnreadableFolder> unreadableFolders;
  uint64_t excludedCount = 0;

  bool isEmpty() const { return updates.empty(); }
};

}  // namespace tilemora
