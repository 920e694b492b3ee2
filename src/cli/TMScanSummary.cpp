#include "TMScanSummary.h"

#include <algorithm>
#include <cinttypes>
#include <string>

#include "TMTreeChildren.h"
#include "core/filetree/TMSizeFormatter.h"
#include "core/filetree/TMUtf8.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

double shareOf(uint64_t part, uint64_t total) {
  return total == 0 ? 0.0 : 100.0 * double(part) / double(total);
}

}  // namespace

void printScanSummary(const TMFileTree& root, std::FILE* out, size_t listed) {
  const TMSizeFormatter& formatter = TMSizeFormatter::sharedInstance();
  const auto* volume = root.asVolume();
  const TMFileTree* folder = volume ? volume->child() : &root;
  uint64_t total = folder ? folder->diskSize() : 0;

  std::fprintf(out, "Total: %s (%" PRIu64 " bytes)\n", formatter.formatSize(total).c_str(), total);
  if (folder != nullptr) {
    std::vector<const TMFileTree*> children = childrenOf(*folder);
    // Children are sorted already unless a deletion or a stop intervened.
    std::stable_sort(children.begin(), children.end(), [](const TMFileTree* a, const TMFileTree* b) {
      return TmFileTreeComparer(*a, *b) < 0;
    });
    if (children.size() > listed) children.resize(listed);
    for (const TMFileTree* child : children) {
      std::fprintf(out, "%12s %6.1f%%  %s%s\n", formatter.formatSize(child->diskSize()).c_str(),
                   shareOf(child->diskSize(), total), printableName(child->filename()).c_str(),
                   child->asFolder() ? "/" : "");
    }
  }
  if (volume != nullptr) {
    uint64_t size = volume->volumeSize();
    uint64_t free = volume->emptySpace() ? volume->emptySpace()->diskSize() : 0;
    uint64_t unscanned = volume->unscannedSizeNow();
    std::fprintf(out, "Volume: %s (%" PRIu64 " bytes)\n", formatter.formatSize(size).c_str(), size);
    std::fprintf(out, "Free space: %s (%" PRIu64 " bytes)\n", formatter.formatSize(free).c_str(), free);
    std::fprintf(out, "Unscanned space: %s (%" PRIu64 " bytes)\n",
                 formatter.formatSize(unscanned).c_str(), unscanned);
  }
}

}  // namespace tilemora
