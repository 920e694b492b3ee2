// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tilemora-scan --compare prints: the saved scan and the current one's
// totals, the change between them with its sign, how many items were new,
// removed, grown and shrunk, and the largest changes.

#include <cstdio>

#include "TMScanSummary.h"
#include "import/TMTreeComparison.h"

namespace tilemora {

// `savedAt` dates the saved scan (seconds since the epoch, 0: not known).
void printChangeReport(const TMTreeComparison& comparison, int64_t savedAt, std::FILE* out,
                       const TMSummaryOptions& options);

}  // namespace tilemora
