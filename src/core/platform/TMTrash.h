// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving an item to the trash: the one change the program makes to the file
// system. The desktop application supplies the real trash (the
// freedesktop.org one); tests supply their own, which may refuse.

#include <sys/types.h>

#include <functional>
#include <string>

#include "TMFileURL.h"

namespace tilemora {

// What a path named when it was opened: its file system and inode.
struct TMFileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const TMFileIdentity&) const = default;
};

// An item of a scanned tree to move to the trash, with what the scan knew
// of it: the trash acts only if the disk still agrees.
struct TMTrashRequest {
  TMFileURL root;               // the folder that was scanned
  TMFileIdentity rootIdentity;  // what the scan opened there
  TMFileURL item;               // the root itself, or an item below it
  bool folder = false;          // whether the scan found a folder at `item`
};

struct TMTrashResult {
  bool moved = false;
  std::string reason;  // why not, in words for the user, when not moved
};

// Moves the item at a path (raw bytes) to the trash and answers once it is
// there, or why it is not.
using TMTrashFunction = std::function<TMTrashResult(const TMFileURL& item)>;

}  // namespace tilemora
