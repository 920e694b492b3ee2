// SPDX-License-Identifier: GPL-3.0-or-later
// Kept free of Qt headers: GIO's names clash with Qt's keyword macros.
#include "TMFreedesktopTrash.h"

#include <gio/gio.h>

namespace tilemora {

TMTrashResult moveToFreedesktopTrash(const TMFileURL& item) {
  GFile* file = g_file_new_for_path(item.path().c_str());
  GError* error = nullptr;
  TMTrashResult result;
  result.moved = g_file_trash(file, nullptr, &error) != FALSE;
  if (!result.moved) result.reason = error != nullptr ? error->message : "the trash refused it";
  g_clear_error(&error);
  g_object_unref(file);
  return result;
}

}  // namespace tilemora
