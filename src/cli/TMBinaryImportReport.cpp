// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMBinaryImportReport.h"

#include "core/drawing/TMTypeTally.h"
#include "core/filetree/TMFolderTree.h"
#include "import/TMBinaryExportImport.h"
#include "import/TMBinaryExportReader.h"
#include "import/TMImportTarget.h"
#include "import/TMLazyTreeLoader.h"

namespace tilemora {

namespace {

// Reads the folders the summary lists: the scanned folder, then level by
// level the largest folders among what it lists, `options.depth` levels down.
std::optional<std::string> readListedFolders(TMLazyTreeLoader& loader, const TMSummaryOptions& options) {
  std::vector<const TMFileTree*> level{loader.root().get()};
  for (size_t depth = 0; depth < options.depth && options.top > 0 && !level.empty(); ++depth) {
    std::vector<const TMFileTree*> below;
    for (const TMFileTree* node : level) {
      if (auto error = loader.readWithin(*node->asFolder(), 0, {})) return error;
      for (const TMFileTree* entry : largestEntriesOf(*node, options.top)) {
        if (entry->asFolder() != nullptr) below.push_back(entry);
      }
    }
    level = std::move(below);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> readExportForReport(TMBinaryExportReader& reader, const TMSummaryOptions& options,
                                               TMReportedExport& report) {
  std::string error;
  std::unique_ptr<TMBinaryExportReader> listed = reader.another(error);
  if (!listed) return error;

  uint64_t total = 0;
  uint64_t lengths = 0;
  TMTypeTally tally;
  TMImportTarget target(total, lengths, [&tally](const TMImportedScan&) -> TMTreeSink& { return tally; });
  if (std::optional<TMImportError> failure = readBinaryExport(reader, target, {})) return failure->text();
  report.scan = target.finish();
  report.types = tally.statistics();

  TMLazyTreeLoader loader(std::move(listed));
  if (auto failure = loader.begin()) return failure;
  if (auto failure = readListedFolders(loader, options)) return failure;
  report.scan.root = loader.root();
  return std::nullopt;
}

}  // namespace tilemora
