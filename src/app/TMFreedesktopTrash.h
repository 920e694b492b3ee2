// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's trash as the freedesktop.org Trash specification has it,
// done by GIO (g_file_trash): an item on the home file system goes to
// $XDG_DATA_HOME/Trash/files with its .trashinfo, an item elsewhere to its
// volume's $topdir/.Trash-$uid. The path's raw bytes are used as they are,
// so any name can be trashed.

#include "core/platform/TMTrash.h"

namespace tilemora {

// Moves `item` to the trash, synchronously; a refusal says why, in GIO's
// words.
TMTrashResult moveToFreedesktopTrash(const TMFileURL& item);

}  // namespace tilemora
