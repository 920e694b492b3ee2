// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChangeReport.h"

#include <cinttypes>
#include <ctime>
#include <string>

#include "core/filetree/TMUtf8.h"

namespace tilemora {

namespace {

const char* kindName(TMChangeKind kind) {
  switch (kind) {
    case TMChangeKind::kNew: return "new";
    case TMChangeKind::kGrew: return "grew";
    case TMChangeKind::kShrank: return "shrank";
    case TMChangeKind::kRemoved: return "removed";
    case TMChangeKind::kUnchanged: break;
  }
  return "unchanged";
}

// "30 Nov 2026 18:20" in local time.
std::string dateText(int64_t seconds) {
  const std::time_t time = std::time_t(seconds);
  std::tm local{};
  char text[64] = {};
  if (localtime_r(&time, &local) == nullptr || std::strftime(text, sizeof text, "%-d %b %Y %H:%M", &local) == 0)
    return std::to_string(seconds);
  return text;
}

}  // namespace

void printChangeReport(const TMTreeComparison& comparison, int64_t savedAt, std::FILE* out,
                       const TMSummaryOptions& options) {
  const TMSizeFormatter formatter(options.units);
  auto size = [&](uint64_t bytes) { return options.bytes ? std::to_string(bytes) : formatter.formatSize(bytes); };
  auto change = [&](uint64_t oldSize, uint64_t newSize) {
    const TMSignedSize difference = signedChange(oldSize, newSize);
    return (difference.negative ? "-" : "+") + size(difference.magnitude);
  };
  const std::string since = savedAt > 0 ? " since " + dateText(savedAt) : std::string();
  std::fprintf(out, "Saved total: %s\nTotal now: %s\nChange: %s%s\n", size(comparison.oldTotal).c_str(),
               size(comparison.newTotal).c_str(), change(comparison.oldTotal, comparison.newTotal).c_str(),
               since.c_str());
  std::fprintf(out, "New: %" PRIu64 ", removed: %" PRIu64 ", grown: %" PRIu64 ", shrunk: %" PRIu64 "\n",
               comparison.newItems, comparison.removedItems, comparison.grownItems, comparison.shrunkItems);
  if (options.top == 0 || comparison.largest.empty()) return;
  std::fputs("Largest changes:\n", out);
  for (size_t i = 0; i < comparison.largest.size() && i < options.top; ++i) {
    const TMChangedItem& item = comparison.largest[i];
    std::fprintf(out, "%13s  %-7s  %s%s\n", change(item.oldSize, item.newSize).c_str(), kindName(item.kind),
                 printableName(item.path).c_str(), item.folder ? "/" : "");
  }
}

}  // namespace tilemora
