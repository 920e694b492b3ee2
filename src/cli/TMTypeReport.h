// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file types table of tilemora-scan --types: every category with files,
// then the largest extensions, each with its size, share of the total and
// number of files.

#include <cstdio>

#include "TMScanSummary.h"

namespace tilemora {

class TMFileTree;
struct TMTypeStatistics;

// Prints the table for the files below `root` (a volume's folder for a
// volume), kLargestExtensions extensions at most.
inline constexpr size_t kLargestExtensions = 20;
void printTypeTable(const TMFileTree& root, std::FILE* out, const TMSummaryOptions& options);
// The same table, from totals made elsewhere (a saved scan read without holding it).
void printTypeStatistics(const TMTypeStatistics& statistics, std::FILE* out, const TMSummaryOptions& options);

}  // namespace tilemora
