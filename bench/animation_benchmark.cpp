// SPDX-License-Identifier: GPL-3.0-or-later
// How long one frame of the map's animations keeps the main thread: each
// frame regathers the visible map and paints it (1000 × 800), for the zoom
// animation (Zoom In and Zoom Out) and the focus animation (narrowing into
// the largest folder, level by level, and going back up).
//
//   build/release/bench/animation_benchmark /var/tmp/tilemora-bench-1000000
//
// Target: every frame under 8 ms. Frames are timed as a 60 Hz timer would
// call them: 6 for a zoom (0.1 s), 15 for a focus (0.25 s).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "TMBenchHosts.h"
#include "core/filetree/TMFolderTree.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

// Times each frame of the animation just started, then ends it.
void timeFrames(TMPaintingViewHost& host, int frames, std::vector<double>& times) {
  for (int i = 1; i < frames && host.animationFrame; ++i) {
    const Clock::time_point before = Clock::now();
    host.animationFrame(float(i) / float(frames));
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
  }
  host.finishAnimation();
}

void report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  if (times.empty()) return void(std::printf("%s: no frames\n", what));
  std::printf("%s: %zu frames, median %.2f ms, 90th %.2f ms, longest %.2f ms\n", what, times.size(),
              times[times.size() / 2], times[times.size() * 9 / 10], times.back());
}

// The chain of largest sub-folders below `root`, `depth` levels at most.
std::vector<TMFileURL> largestFolderChain(TMFileTree* root, TMFileURL url, int depth) {
  std::vector<TMFileURL> chain;
  for (auto* folder = root->asFolder(); folder && depth-- > 0;) {
    const TMChildList* children = folder->children();
    TMFolderTree* next = nullptr;
    for (uint32_t i = 0; children && i < children->count() && !next; ++i)
      next = children->at(i)->asFolder();
    if (!next) break;
    url = url.appending(next->filename());
    chain.push_back(url);
    folder = next;
  }
  return chain;
}

}  // namespace

int main(int argc, char** argv) {
  TMBenchApplication application(argc, argv);
  if (application.tree == nullptr) return 2;
  TMBenchWindow window;
  TMTreeMapView& view = window.view;
  TMPaintingViewHost& viewHost = window.viewHost;
  TMMainWindowController* controller = window.controller;
  const TMFileURL url = TMFileURL::fromPath(application.tree);
  window.scanToEnd(url);

  std::vector<double> zoomFrames;
  for (int i = 0; i < 10; ++i) {
    view.zoomStep(+1);
    timeFrames(viewHost, 6, zoomFrames);
  }
  for (int i = 0; i < 10; ++i) {
    view.zoomStep(-1);
    timeFrames(viewHost, 6, zoomFrames);
  }
  report("zoom frames", zoomFrames);

  std::vector<double> narrowFrames, upFrames;
  const std::vector<TMFileURL> chain = largestFolderChain(controller->curentlyNavigated().get(), url, 4);
  for (const TMFileURL& folder : chain) {
    view.focusOn(folder);
    timeFrames(viewHost, 15, narrowFrames);
  }
  for (size_t i = 0; i < chain.size(); ++i) {
    view.popNarrowing();
    timeFrames(viewHost, 15, upFrames);
  }
  report("narrowing frames", narrowFrames);
  report("going-up frames", upFrames);
  window.close();
  return 0;
}
