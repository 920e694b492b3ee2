// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A binary export reported on without holding its tree: one walk through
// its blocks counts its entries and adds up its file types, and only the
// folders the summary lists are read into a tree. What is held depends on
// what is printed, not on the size of the export.

#include <optional>
#include <string>

#include "TMScanSummary.h"
#include "core/drawing/TMFileTypes.h"
#include "import/TMNcduImport.h"

namespace tilemora {

class TMBinaryExportReader;

struct TMReportedExport {
  TMImportedScan scan;  // its counts, and as its root the folders the summary lists
  TMTypeStatistics types;
};

// Reads the binary export `reader` reads for a summary with `options`
// (the folders listed with a reader of its own); why not, when it cannot
// be read.
std::optional<std::string> readExportForReport(TMBinaryExportReader& reader, const TMSummaryOptions& options,
                                               TMReportedExport& report);

}  // namespace tilemora
