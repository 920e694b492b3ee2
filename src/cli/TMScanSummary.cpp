// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanSummary.h"

#include <algorithm>
#include <cinttypes>
#include <string>

#include "TMTreeChildren.h"
#include "core/filetree/TMUtf8.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

double shareOf(uint64_t part, uint64_t total) {
  return total == 0 ? 0.0 : 100.0 * double(part) / double(total);
}

class SummaryPrinter {
 public:
  SummaryPrinter(std::FILE* out, const TMSummaryOptions& options)
      : out_(out), options_(options), formatter_(options.units) {}

  std::string size(uint64_t bytes) const {
    return options_.bytes ? std::to_string(bytes) : formatter_.formatSize(bytes);
  }
  // "LABEL: SIZE (N bytes)", or "LABEL: N" when every size is in bytes.
  void figure(const char* label, uint64_t bytes) const {
    if (options_.bytes) {
      std::fprintf(out_, "%s: %" PRIu64 "\n", label, bytes);
    } else {
      std::fprintf(out_, "%s: %s (%" PRIu64 " bytes)\n", label, size(bytes).c_str(), bytes);
    }
  }
  // The largest entries of `folder`, then, below each listed folder, its
  // own, `level` levels below the scanned folder (1 for its children).
  // Walks with an explicit stack: the depth asked for may be that of the tree.
  void listLargest(const TMFileTree& folder, uint64_t total) const {
    struct Pending {
      const TMFileTree* node;
      size_t level;
    };
    std::vector<Pending> pending{{&folder, 0}};
    while (!pending.empty()) {
      const Pending next = pending.back();
      pending.pop_back();
      if (next.level > 0) printEntry(*next.node, next.level, total);
      if (next.level >= options_.depth || (next.level > 0 && next.node->asFolder() == nullptr)) continue;
      std::vector<const TMFileTree*> children = largestEntriesOf(*next.node, options_.top);
      for (auto child = children.rbegin(); child != children.rend(); ++child)
        pending.push_back({*child, next.level + 1});
    }
  }

 private:
  void printEntry(const TMFileTree& node, size_t level, uint64_t total) const {
    std::fprintf(out_, "%12s %6.1f%%  %*s%s%s\n", size(node.diskSize()).c_str(), shareOf(node.diskSize(), total),
                 int(2 * (level - 1)), "", printableName(node.filename()).c_str(), node.asFolder() ? "/" : "");
  }

  std::FILE* out_;
  const TMSummaryOptions& options_;
  TMSizeFormatter formatter_;
};

}  // namespace

std::vector<const TMFileTree*> largestEntriesOf(const TMFileTree& node, size_t top) {
  std::vector<const TMFileTree*> children = childrenOf(node);
  // Children are sorted already unless a deletion or a stop intervened.
  std::stable_sort(children.begin(), children.end(), [](const TMFileTree* a, const TMFileTree* b) {
    return TmFileTreeComparer(*a, *b) < 0;
  });
  if (children.size() > top) children.resize(top);
  return children;
}

void printScanSummary(const TMFileTree& root, std::FILE* out, const TMSummaryOptions& options) {
  const SummaryPrinter printer(out, options);
  const auto* volume = root.asVolume();
  const TMFileTree* folder = volume ? volume->child() : &root;
  const uint64_t total = folder ? folder->diskSize() : 0;

  printer.figure(options.apparent ? "Total (apparent size)" : "Total", total);
  if (folder != nullptr && options.top > 0) printer.listLargest(*folder, total);
  if (volume != nullptr) {
    printer.figure("Volume", volume->volumeSize());
    printer.figure("Free space", volume->emptySpace() ? volume->emptySpace()->diskSize() : 0);
    printer.figure("Unscanned space", volume->unscannedSizeNow());
  }
}

}  // namespace tilemora
