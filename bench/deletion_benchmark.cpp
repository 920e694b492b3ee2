// SPDX-License-Identifier: GPL-3.0-or-later
// How long the map takes to show a deletion: from the trash's answer to the
// painted frame (file tree, layout in place, gathering, painting 1000 × 800),
// for files picked at random deep in the tree and for folders near its top.
// The trash here takes nothing and says it did, so the tree on disk stays.
//
//   build/release/bench/deletion_benchmark /var/tmp/tilemora-bench-1000000
//
// Target: under 50 ms each.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "TMBenchHosts.h"
#include "core/filetree/TMFolderTree.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

// A random walk down from `root`: a file (or, with `folderDepth`, the
// folder at that depth) and its URL.
TMFileURL randomTarget(TMFileTree* root, TMFileURL url, std::mt19937& random, int folderDepth) {
  TMFileTree* node = root;
  for (int depth = 0; node->asFolder() != nullptr; ++depth) {
    const TMChildList* children = node->asFolder()->children();
    if (!children || children->count() == 0 || depth == folderDepth) break;
    node = children->at(std::uniform_int_distribution<uint32_t>(0, children->count() - 1)(random));
    url = url.appending(node->filename());
  }
  return url;
}

void report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  if (times.empty()) return void(std::printf("%s: none\n", what));
  std::printf("%s: %zu, median %.2f ms, longest %.2f ms\n", what, times.size(), times[times.size() / 2],
              times.back());
}

}  // namespace

int main(int argc, char** argv) {
  TMBenchApplication application(argc, argv);
  if (application.tree == nullptr) return 2;
  TMBenchWindow window;
  TMTreeMapView& view = window.view;
  const TMFileURL root = TMFileURL::fromPath(application.tree);
  window.scanToEnd(root);

  std::mt19937 random(20261207);
  std::vector<double> files, folders;
  for (int i = 0; i < 40; ++i) {
    const bool folder = i % 4 == 3;
    const TMFileURL target = randomTarget(window.controller->curentlyNavigated().get(), root, random,
                                          folder ? 2 : -1);
    const std::vector<std::string> parts = target.pathComponents();
    const int32_t start = int32_t(root.pathComponents().size()) - 1;
    view.selectWithFunction(
        [&](TMDrawInfo_t& info, const TMRect& bounds) {
          return view.root()->layout->getNodeAtPathParts(parts, start, info, bounds);
        },
        root);
    if (!view.selected() || view.selected()->url != target) continue;  // not laid out
    const Clock::time_point before = Clock::now();
    view.deleteSelection(true);
    (folder ? folders : files).push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
  }
  report("file deletions", files);
  report("folder deletions", folders);
  window.close();
  return 0;
}
