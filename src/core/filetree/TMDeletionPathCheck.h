// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check before an item of a scanned tree goes to the trash by its path:
// the folders on that path may have changed on disk since the scan (one
// swapped for a symbolic link to elsewhere), and a move by path would then
// act outside the scanned tree.

#include <optional>
#include <string>

#include "core/platform/TMFileSystem.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

// Opens `root` and each folder below it on the way to `item` (not `item`
// itself), every one as a folder and without following a symbolic link.
// Answers why the path cannot be trusted, or nothing when it can; `item`
// must be `root` or lie below it.
std::optional<std::string> reasonPathChanged(const TMFileSystem& fileSystem, const TMFileURL& root,
                                             const TMFileURL& item);

}  // namespace tilemora
