// SPDX-License-Identifier: GPL-3.0-or-later
// How long the main thread is busy per step while a window scans a tree:
// every progress step (depth-3 layout, gathering, painting a 1000×800
// frame), and from the end of the scan on (the full layout is built on a
// thread of its own; the main thread takes it over, gathers and paints).
//
//   build/release/bench/window_benchmark /var/tmp/tilemora-bench-1000000
//   build/release/bench/window_benchmark --memory 10000000
//
// The second form scans a generated tree of that many files that exists
// only in memory (see TMSyntheticFileSystem.h).
//
// The same tree is also scanned with no window, before and after, for what
// the live map costs the scan.
//
// Targets: while the scan runs, main-thread steps of at most 8 ms median
// and 16 ms longest, and a scan at most 3 % slower than alone; after it, no
// step over 50 ms and the full map on screen within 300 ms of the end of a
// 1,000,000-file scan.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <unistd.h>

#include "core/scan/TMScanDriver.h"
#include "TMBenchHosts.h"
#include "TMSyntheticFileSystem.h"
#include "core/platform/TMHeapTrim.h"
#include "core/scan/TMScanTask.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

// The process's resident memory now and at its peak, in bytes.
std::pair<double, double> residentBytes() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  double now = 0, peak = 0;
  char line[256];
  while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
    unsigned long long kilobytes = 0;
    if (std::sscanf(line, "VmRSS: %llu kB", &kilobytes) == 1) now = double(kilobytes) * 1024;
    if (std::sscanf(line, "VmHWM: %llu kB", &kilobytes) == 1) peak = double(kilobytes) * 1024;
  }
  if (status != nullptr) std::fclose(status);
  return {now, peak};
}

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int main(int argc, char** argv) {
  TMBenchApplication application(argc, argv);
  if (application.tree == nullptr) return 2;
  const bool inMemory = std::strcmp(application.tree, "--memory") == 0;
  const uint64_t syntheticFiles = argc >= 3 ? std::strtoull(argv[2], nullptr, 10) : 10000000;
  auto synthetic = std::make_shared<TMSyntheticFileSystem>(0);
  TMBenchWindow window(inMemory ? std::shared_ptr<TMFileSystem>(synthetic) : TMFileSystem::posix());
  TMMainWindowController* controller = window.controller;
  const TMFileURL url = TMFileURL::fromPath(inMemory ? "/synthetic" : application.tree);

  // The same scan with nothing drawn while it runs, in milliseconds.
  auto scanAlone = [&] {
    synthetic->setFileCount(syntheticFiles);
    bool ended = false;
    const Clock::time_point start = Clock::now();
    std::shared_ptr<TMScanTask> task;
    std::shared_ptr<TMFileTree> tree = createFromPath(
        url, nullptr, [&] { ended = true; },
        TMScanEnvironment{window.queue, window.fileSystem, nullptr, TMBenchWindow::appScanOptions()}, task);
    while (!ended) window.queue->runNextWithin(std::chrono::milliseconds(100));
    const double took = milliseconds(Clock::now() - start);
    tree.reset();
    TMScanTask::waitForAllScans(std::chrono::seconds(30));
    synthetic->setFileCount(0);
    releaseFreedHeapMemory();
    return took;
  };
  scanAlone();  // the first big scan of a process is slower, whichever it is
  const double aloneBefore = scanAlone();

  // The baseline: the window once it has scanned and painted a tiny tree
  // (three files; in memory, the generated folders alone), so that what is
  // measured beyond it is the big tree and its map, not the code, fonts and
  // frame buffer the first scan and paint bring in.
  char tinyFolder[] = "/tmp/tilemora-window-benchmark-XXXXXX";
  const std::string tinyFiles[] = {"/a", "/b", "/c"};
  if (!inMemory) {
    if (::mkdtemp(tinyFolder) == nullptr) return 1;
    for (const std::string& name : tinyFiles) {
      std::FILE* file = std::fopen((tinyFolder + name).c_str(), "w");
      if (file == nullptr) return 1;
      std::fprintf(file, "%0*d", int(name[1] - 'a' + 1) * 5000, 0);
      std::fclose(file);
    }
  }
  window.scanToEnd(TMFileURL::fromPath(inMemory ? "/synthetic" : tinyFolder));
  if (!inMemory) {
    for (const std::string& name : tinyFiles) std::remove((tinyFolder + name).c_str());
    ::rmdir(tinyFolder);
  }
  synthetic->setFileCount(syntheticFiles);
  window.windowHost.stoppedAt = {};
  const double emptyWindow = residentBytes().first;
  const Clock::time_point start = Clock::now();
  if (!window.open(url)) return 1;
  std::vector<double> steps;
  std::vector<double> handOvers;  // the steps that showed a new shallow map
  double longestAfterEnd = 0;
  double handOver = 0;
  Clock::time_point shown;
  while (controller->isScanning()) {
    // Only the work is timed, not the wait for it, which sleeps as an
    // event loop does.
    if (!window.queue->waitForWork(std::chrono::milliseconds(100))) continue;
    const uint64_t paintsBefore = window.viewHost.paints;
    const Clock::time_point before = Clock::now();
    window.queue->runNextWithin(std::chrono::milliseconds(0));
    const Clock::time_point after = Clock::now();
    const double took = milliseconds(after - before);
    const bool ended = window.windowHost.stoppedAt != Clock::time_point();
    if (!ended) steps.push_back(took);
    if (!ended && window.viewHost.paints != paintsBefore) handOvers.push_back(took);
    if (ended) longestAfterEnd = std::max(longestAfterEnd, took);
    if (!controller->isScanning()) {
      handOver = took;
      shown = after;
    }
  }
  const double total = milliseconds(window.windowHost.stoppedAt - start);
  std::sort(steps.begin(), steps.end());
  std::sort(handOvers.begin(), handOvers.end());
  auto median = [](const std::vector<double>& sorted) { return sorted.empty() ? 0.0 : sorted[sorted.size() / 2]; };
  auto longest = [](const std::vector<double>& sorted) { return sorted.empty() ? 0.0 : sorted.back(); };
  std::printf("entries %llu, scan %.0f ms, %zu main-thread steps: median %.1f ms, longest %.1f ms; "
              "%zu shallow maps shown: median %.1f ms, longest %.1f ms; "
              "from the scan's end: full map on screen after %.1f ms, longest main-thread step %.1f ms "
              "(the hand-over %.1f ms)\n",
              static_cast<unsigned long long>(controller->scannedElementCount()), total, steps.size(),
              median(steps), longest(steps), handOvers.size(), median(handOvers), longest(handOvers),
              milliseconds(shown - window.windowHost.stoppedAt), longestAfterEnd, handOver);
  // The shallow map the full one replaced is let go of on a thread of its
  // own, moments after the hand-over: measured once that is done.
  TMScanTask::waitForAllScans(std::chrono::seconds(30));
  const auto [withMap, peak] = residentBytes();
  const double entries = double(std::max<uint64_t>(1, controller->scannedElementCount()));
  std::printf("resident beyond the window with a tiny map: %.1f bytes per entry with the full map (peak %.1f)\n",
              (withMap - emptyWindow) / entries, (peak - emptyWindow) / entries);
  window.close();

  // The live map's cost to the scan: against the scan alone, before and
  // after the window's.
  const double aloneAfter = scanAlone();
  const double aloneMean = (aloneBefore + aloneAfter) / 2;
  std::printf("the same scan without a window: %.0f ms before, %.0f ms after (the window's scan took %+.1f %% more)\n",
              aloneBefore, aloneAfter, 100.0 * (total / aloneMean - 1.0));
  return 0;
}
