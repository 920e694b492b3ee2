// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes the treemap of a finished scan as a PNG picture.

#include <string>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

// Lays out the whole tree and paints it into a width × height picture at
// `path`. Answers false, with `error` set, when the file cannot be written.
bool writeTreeMapPng(TMFileTree& root, const std::string& path, int width, int height,
                     std::string& error);

}  // namespace tilemora
