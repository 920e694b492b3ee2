// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes a finished file tree as a binary export (see
// TMBinaryExportFormat), from memory: files with their allocated size
// (dsize), length (asize) and date where known, folders with the sums and
// counts below them, unreadable ones marked. A volume's free and unscanned
// space are not entries and are left out.

#include <cstdio>
#include <stop_token>

namespace tilemora {

class TMFileTree;
struct TMTreeExportHeader;

// Writes `root` to `out`; answers false when a write failed or `stop` was
// asked meanwhile. Only while no one changes the tree.
bool writeTreeBinaryExport(const TMFileTree& root, const TMTreeExportHeader& header, std::FILE* out,
                           const std::stop_token& stop = {});

}  // namespace tilemora
