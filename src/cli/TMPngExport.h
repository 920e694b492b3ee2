// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes the treemap of a finished scan as a PNG picture.

#include <cstdio>
#include <string>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

// Lays out the whole tree and paints it into a width × height picture
// written to `out`. Answers false when it cannot be drawn (with `error`
// set) or written (the stream's own error).
bool writeTreeMapPng(TMFileTree& root, std::FILE* out, int width, int height, std::string& error);

}  // namespace tilemora
