// SPDX-License-Identifier: GPL-3.0-or-later
// How long comparing two scans of a folder takes, and what the comparison
// keeps beside the trees:
//   build/release/src/cli/tilemora-scan --export /tmp/old.json.zst /var/tmp/tilemora-bench-1000000
//   (change the tree, or not)
//   build/release/bench/compare_benchmark /tmp/old.json.zst /var/tmp/tilemora-bench-1000000
// Target: 1,000,000 entries compared in under 2 s, the saved scan's tree
// costing about 40 bytes per entry while it is kept.

#include <chrono>
#include <cstdio>

#include "core/scan/TMScanDriver.h"
#include "TMResidentMemory.h"
#include "core/filetree/TMFileTree.h"
#include "core/platform/TMHeapTrim.h"
#include "core/platform/TMManualMainQueue.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMScanTask.h"
#include "import/TMNcduImport.h"
#include "import/TMTreeComparison.h"
#include "import/TMTreeExport.h"

using namespace tilemora;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: compare_benchmark SAVED-SCAN FOLDER\n");
    return 2;
  }
  returnBigBlocksAtOnce();
  // The folder as the app scans it, one thread per processor.
  auto queue = std::make_shared<TMManualMainQueue>();
  TMScanEnvironment environment;
  environment.mainQueue = queue;
  environment.options.threads = 0;
  bool ended = false;
  auto start = std::chrono::steady_clock::now();
  std::shared_ptr<TMScanTask> task;
  auto current = createFromPath(TMFileURL::fromPath(argv[2]), nullptr, [&] { ended = true; }, environment, task);
  while (!ended) queue->runNextWithin(std::chrono::milliseconds(100));
  const double scanSeconds = secondsSince(start);

  const long beforeSaved = residentKilobytes();
  std::FILE* input = std::fopen(argv[1], "r");
  if (input == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  start = std::chrono::steady_clock::now();
  TMImportResult result = importNcduExport(input);
  const double readSeconds = secondsSince(start);
  std::fclose(input);
  if (auto* error = std::get_if<TMImportError>(&result)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error->text().c_str());
    return 1;
  }
  TMImportedScan& saved = std::get<TMImportedScan>(result);
  const double savedEntries = double(saved.files + saved.folders + 1);
  const long savedKilobytes = residentKilobytes() - beforeSaved;

  start = std::chrono::steady_clock::now();
  const TMTreeComparison comparison = compareTrees(*saved.root, *current);
  const double compareSeconds = secondsSince(start);
  // What the comparison keeps beside both trees.
  const long comparisonKilobytes = residentKilobytes() - beforeSaved - savedKilobytes;

  std::printf("scan %.2f s; saved scan of %.0f entries read in %.2f s, its tree %.1f bytes per entry\n", scanSeconds,
              savedEntries, readSeconds, double(savedKilobytes) * 1024 / savedEntries);
  std::printf("compared in %.2f s: %zu changed items kept (%.1f bytes per saved entry beside the trees); "
              "new %llu, removed %llu, grown %llu, shrunk %llu\n",
              compareSeconds, comparison.nodeChanges->size(),
              double(comparisonKilobytes) * 1024 / savedEntries,
              static_cast<unsigned long long>(comparison.newItems),
              static_cast<unsigned long long>(comparison.removedItems),
              static_cast<unsigned long long>(comparison.grownItems),
              static_cast<unsigned long long>(comparison.shrunkItems));
  // Saving the scan from memory, as Save Scan and the history do.
  start = std::chrono::steady_clock::now();
  std::string error;
  const char* savedTo = "/tmp/compare_benchmark.json.zst";
  if (!saveTreeExport(*current, {argv[2], "tilemora", "bench", 0, ""}, savedTo, error)) {
    std::fprintf(stderr, "%s: %s\n", savedTo, error.c_str());
    return 1;
  }
  std::printf("saved from memory, zstd, in %.2f s\n", secondsSince(start));
  std::remove(savedTo);
  TMScanTask::waitForAllScans(std::chrono::seconds(5));
  return 0;
}
