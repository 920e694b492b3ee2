// How long the main thread is busy per step while a window scans a tree:
// every progress step (depth-3 layout, gathering, painting a 1000×800
// frame) and the end-of-scan commit (full layout, gathering, first paint).
//
//   build/release/bench/window_benchmark /var/tmp/tilemora-bench-1000000
//
// Targets: no step over 50 ms; the commit under 300 ms.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "TMBenchHosts.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int main(int argc, char** argv) {
  TMBenchApplication application(argc, argv);
  if (application.tree == nullptr) return 2;
  TMBenchWindow window;
  std::shared_ptr<TMMainWindowController>& controller = window.controller;

  const Clock::time_point start = Clock::now();
  controller->openURL(TMFileURL::fromPath(application.tree));
  std::vector<double> steps;
  double commit = 0;
  while (controller->isScanning()) {
    const Clock::time_point before = Clock::now();
    if (!window.queue->runNextWithin(std::chrono::milliseconds(100))) continue;
    const double took = milliseconds(Clock::now() - before);
    (controller->isScanning() ? steps.push_back(took) : void(commit = took));
  }
  const double total = milliseconds(Clock::now() - start);
  std::sort(steps.begin(), steps.end());
  std::printf("entries %llu, scan %.0f ms, %zu progress steps: median %.1f ms, longest %.1f ms; "
              "end-of-scan commit %.1f ms\n",
              static_cast<unsigned long long>(controller->scannedElementCount()), total, steps.size(),
              steps.empty() ? 0.0 : steps[steps.size() / 2], steps.empty() ? 0.0 : steps.back(), commit);
  controller.reset();
  return 0;
}
