// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTypeReport.h"

#include <cinttypes>
#include <string>

#include "core/drawing/TMFileTypes.h"
#include "core/filetree/TMUtf8.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

void printTypeTable(const TMFileTree& root, std::FILE* out, const TMSummaryOptions& options) {
  const TMVolume* volume = root.asVolume();
  const TMFileTree* start = volume ? volume->child() : &root;
  if (start != nullptr) printTypeStatistics(typeStatisticsOf(*start), out, options);
}

void printTypeStatistics(const TMTypeStatistics& statistics, std::FILE* out, const TMSummaryOptions& options) {
  const TMSizeFormatter formatter(options.units);
  auto line = [&](const TMTypeTotal& total, const std::string& label) {
    const std::string size = options.bytes ? std::to_string(total.bytes) : formatter.formatSize(total.bytes);
    const double share = statistics.bytes == 0 ? 0.0 : 100.0 * double(total.bytes) / double(statistics.bytes);
    std::fprintf(out, "%12s %6.1f%% %10" PRIu64 "  %s\n", size.c_str(), share, total.files, label.c_str());
  };
  std::fputs("File types:\n", out);
  for (const TMTypeTotal& total : statistics.categories) line(total, categoryName(total.category));
  if (statistics.extensions.empty()) return;
  std::fputs("Largest extensions:\n", out);
  for (size_t i = 0; i < statistics.extensions.size() && i < kLargestExtensions; ++i) {
    const TMTypeTotal& total = statistics.extensions[i];
    const std::string name = total.extension.empty() ? std::string("(none)") : "." + printableName(total.extension);
    line(total, name + " (" + categoryName(total.category) + ")");
  }
}

}  // namespace tilemora
