#pragma once
// The report tilemora-scan prints when a scan has ended.

#include <cstdio>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

// Prints the total (formatted and in bytes), the `listed` largest children of
// the scanned folder with their sizes and shares of the total, and for a
// volume its size, free space and unscanned space.
void printScanSummary(const TMFileTree& root, std::FILE* out, size_t listed = 20);

}  // namespace tilemora
