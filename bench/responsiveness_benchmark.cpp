// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a window keeps answering when the tree is to change while work
// reads it: a tree of N files in memory (10,000,000 by default, see
// TMSyntheticFileSystem.h) is scanned by a window's session; then, for each
// kind of work that reads the tree (the scan saved to a file, as the
// history saves it; the scan compared with a saved one; the scan saved to
// a FIFO nobody reads), the work is started, a file is deleted while it
// runs, and every main-thread step from the request until the map shows
// the deletion is timed (the steps only, not the event loop's sleep).
//
//   build/release/bench/responsiveness_benchmark [FILES]
//
// Target: every step at most 16 ms; the deletion within a second of the
// request (the work stops within that).

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TMBenchHosts.h"
#include "TMSyntheticFileSystem.h"
#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMLayoutNode.h"
#include "import/TMTreeExport.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// The URL of the first file down the first folders of `root`, scanned at `url`.
TMFileURL firstFile(const TMFileTree& root, TMFileURL url) {
  const TMFileTree* node = &root;
  while (const TMFolderTree* folder = node->asFolder()) {
    const TMChildList* children = folder->children();
    if (children == nullptr || children->count() == 0) break;
    node = children->at(0);
    url.append(node->filename());
  }
  return url;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(TMBenchApplication::offscreenUnlessAsked(argc), argv);
  const uint64_t files = argc >= 2 ? std::strtoull(argv[1], nullptr, 10) : 10000000;
  auto synthetic = std::make_shared<TMSyntheticFileSystem>(files);
  TMBenchWindow window(synthetic);
  const TMFileURL root = TMFileURL::fromPath("/synthetic");
  window.scanToEnd(root);
  TMSession& session = *window.session;
  session.controller().setAskBeforeTrash(false);

  char folder[] = "/tmp/tilemora-responsiveness-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  const std::string saved = std::string(folder) + "/saved.json.zst";
  const std::string fifo = std::string(folder) + "/fifo";
  ::mkfifo(fifo.c_str(), 0600);
  std::string error;
  std::printf("saving the scan to compare with…\n");
  std::fflush(stdout);
  if (!saveTreeExport(*session.shownTree(), {root.path(), "bench", "1", 1, ""}, saved, error)) {
    std::fprintf(stderr, "cannot save: %s\n", error.c_str());
    return 1;
  }

  struct Work {
    const char* name;
    std::function<void()> start;
  };
  const Work works[] = {
      {"saving the scan to a file", [&] { session.saveScan(std::string(folder) + "/again.json.zst"); }},
      {"comparing with a saved scan", [&] { session.compareWithSavedScan(saved); }},
      {"saving the scan to a FIFO nobody reads", [&] { session.saveScan(fifo); }},
  };
  for (const Work& work : works) {
    work.start();
    // Until the work reads the tree, then a moment more.
    serveTimed(*window.queue, [&] { return session.jobs().treeIsRead(); });
    const auto settle = Clock::now() + std::chrono::milliseconds(200);
    serveTimed(*window.queue, [&] { return Clock::now() > settle; });
    const bool running = session.jobs().treeIsRead();
    const std::string reader = session.jobs().treeReaderName();
    // Selected however small its tile, as a click on the list would.
    const TMFileURL victim = firstFile(*session.shownTree(), root);
    TMTreeMapView& view = window.view;
    view.selectWithFunction(
        [&](TMDrawInfo_t& info, const TMRect& bounds) {
          return view.root()->layout->getNodeAtPathParts(victim.pathComponents(), 1, info, bounds);
        },
        view.root()->url);
    if (!view.selected() || view.selected()->url != victim) std::printf("could not select %s\n", victim.path().c_str());
    const uint64_t before = session.shownTree()->diskSize();
    const Clock::time_point asked = Clock::now();
    session.controller().deleteSelectedElement();
    const double request = milliseconds(Clock::now() - asked);
    const auto [longest, took] =
        serveTimed(*window.queue, [&] { return session.shownTree()->diskSize() != before; });
    std::printf("%s (%s when asked): deletion shown after %.0f ms; longest main-thread step %.1f ms "
                "(the request itself %.1f ms)\n",
                work.name, running ? reader.c_str() : "already ended", took + request, std::max(longest, request),
                request);
    std::fflush(stdout);
    session.endComparison();
    serveTimed(*window.queue, [&] { return session.jobs().runningCount() == 0; });
  }
  window.close();
  std::remove(saved.c_str());
  std::remove((std::string(folder) + "/again.json.zst").c_str());
  std::remove(fifo.c_str());
  ::rmdir(folder);
  return 0;
}
