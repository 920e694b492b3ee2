// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving an item to the trash: the one change the program makes to the file
// system. The desktop application supplies the real trash (the
// freedesktop.org one); tests supply their own, which may refuse.

#include <functional>
#include <string>

#include "TMFileURL.h"

namespace tilemora {

struct TMTrashResult {
  bool moved = false;
  std::string reason;  // why not, in words for the user, when not moved
};

// Moves the item at a path (raw bytes) to the trash and answers once it is
// there, or why it is not.
using TMTrashFunction = std::function<TMTrashResult(const TMFileURL& item)>;

}  // namespace tilemora
