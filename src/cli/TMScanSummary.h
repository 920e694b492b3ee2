// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report tilemora-scan prints when a scan has ended.

#include <cstdio>
#include <vector>

#include "core/filetree/TMFileTree.h"
#include "core/drawing/TMSizeFormatter.h"

namespace tilemora {

struct TMSummaryOptions {
  bool bytes = false;  // sizes as exact byte counts instead of `units`
  TMSizeUnits units = TMSizeUnits::Formatter;
  size_t top = 20;     // entries listed per folder
  size_t depth = 1;    // levels listed below the scanned folder
  bool apparent = false;  // the tree is measured by the files' lengths
};

// Prints the total, the largest entries of the scanned folder (and of its
// sub-folders, indented, down to `options.depth` levels) with their sizes
// and shares of the total, and for a volume its size, free space and
// unscanned space. Without `options.bytes` the total and the volume's
// figures also give their exact byte counts.
// The `top` largest nodes directly below `node`, as the summary lists them.
std::vector<const TMFileTree*> largestEntriesOf(const TMFileTree& node, size_t top);

void printScanSummary(const TMFileTree& root, std::FILE* out, const TMSummaryOptions& options = {});

}  // namespace tilemora
