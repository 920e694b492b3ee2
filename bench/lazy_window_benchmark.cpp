// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a window on a binary export read a folder at a time keeps
// answering: a window's session opens the export (the largest folders read
// first, off the main thread), then folders not read yet are read one
// after another, as when each is selected (the folder read, and the map built
// again), then Largest Files, Find and File Types walk through the file.
// Every main-thread step is timed (the steps only, not the event loop's
// sleep), with how long each part took and what is resident after it.
//
//   build/release/bench/tmgenexport /var/tmp/big.ncdu 20000000
//   build/release/bench/lazy_window_benchmark /var/tmp/big.ncdu [FOLDERS]
//
// Targets: every main-thread step at most 16 ms; at most 300 MB resident
// once opened, under 400 MB after the folders selected.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TMBenchHosts.h"
#include "TMResidentMemory.h"
#include "core/filetree/TMFolderTree.h"
#include "core/layout/TMLayoutNode.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

// Prints how long a part took, since `start`, its longest main-thread
// step, and what is resident.
void report(const std::string& part, Clock::time_point start, double longest) {
  std::printf("  %-52s %7.2f s, longest main-thread step %5.1f ms, %4ld MB resident\n", part.c_str(),
              milliseconds(Clock::now() - start) / 1000, longest, residentKilobytes() / 1024);
  std::fflush(stdout);
}

// Serves the queue until `done` and reports it as `part`.
void serveAndReport(const std::string& part, TMManualMainQueue& queue, const std::function<bool()>& done) {
  const Clock::time_point start = Clock::now();
  report(part, start, serveTimed(queue, done).first);
}

using Unread = std::vector<std::pair<uint64_t, std::vector<std::string>>>;

// Keeps in `unread` the `count` largest folders below `folder` not read
// yet, by path, largest first. Only those kept are copied: the walk itself
// allocates nothing per folder, lest freeing it all burden the main
// thread's next steps, which are timed.
void keepLargestUnread(const TMFolderTree& folder, std::vector<std::string_view>& path, size_t count,
                       Unread& unread) {
  const TMChildList* children = folder.children();
  for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
    const TMFolderTree* sub = children->at(i)->asFolder();
    if (sub == nullptr) continue;
    path.push_back(sub->filename());
    if (!sub->wasCutShort()) {
      keepLargestUnread(*sub, path, count, unread);
    } else if (unread.size() < count || sub->diskSize() > unread.back().first) {
      if (unread.size() == count) unread.pop_back();
      const auto place = std::find_if(unread.begin(), unread.end(),
                                      [&](const auto& kept) { return kept.first < sub->diskSize(); });
      unread.emplace(place, sub->diskSize(), std::vector<std::string>(path.begin(), path.end()));
    }
    path.pop_back();
  }
}

const TMFileTree* childNamed(const TMFileTree& folder, const std::string& name) {
  const TMChildList* children = folder.asFolder() != nullptr ? folder.asFolder()->children() : nullptr;
  for (uint32_t i = 0; children != nullptr && i < children->count(); ++i) {
    if (children->at(i)->filename() == name) return children->at(i);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(TMBenchApplication::offscreenUnlessAsked(argc), argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: lazy_window_benchmark EXPORT [FOLDERS]\n");
    return 2;
  }
  const size_t folders = argc >= 3 ? std::strtoull(argv[2], nullptr, 10) : 20;
  TMBenchWindow window;
  TMSession& session = *window.session;
  TMMainWindowController& controller = *window.controller;
  const auto idle = [&] {
    return !session.isReading() && session.shownTree() != nullptr && !controller.isScanning() &&
           session.jobs().runningCount() == 0;
  };
  std::printf("%s\n", argv[1]);
  session.importScans({argv[1]});
  serveAndReport("opened, the largest folders read", *window.queue, idle);
  const std::shared_ptr<TMFileTree> tree = session.shownTree();
  const TMFolderTree* top = tree ? tree->asFolder() : nullptr;
  if (top == nullptr || !controller.folderReader()) {
    std::fprintf(stderr, "%s was not opened a folder at a time\n", argv[1]);
    return 1;
  }
  const TMFileURL root = *controller.scannedUrl();

  // The largest folders not read yet, read one after another as when each
  // is selected (the same job: the folder read, the map built again).
  Unread unread;
  std::vector<std::string_view> path;
  if (folders != 0) keepLargestUnread(*top, path, folders, unread);
  const Clock::time_point selecting = Clock::now();
  double longest = 0;
  for (const auto& [size, below] : unread) {
    bool read = false;
    const Clock::time_point asked = Clock::now();
    controller.readFoldersAlong({below}, [&read] { read = true; });
    longest = std::max({longest, milliseconds(Clock::now() - asked),
                        serveTimed(*window.queue, [&] { return read && idle(); }).first});
  }
  report(std::to_string(unread.size()) + " folders not read yet, read in turn", selecting, longest);
  size_t read = 0;
  for (const auto& [size, below] : unread) {
    const TMFileTree* node = session.shownTree().get();
    for (const std::string& name : below) node = node != nullptr ? childNamed(*node, name) : nullptr;
    read += node != nullptr && node->asFolder() != nullptr && !node->asFolder()->wasCutShort();
  }
  std::printf("    %zu of them read\n", read);

  bool listed = false;
  session.readLargestFromFile(root, 1000, {}, false, [&] { listed = true; });
  serveAndReport("Largest Files from the file", *window.queue, [&] { return listed && idle(); });

  session.startSearch([](std::string_view name) { return name.find("zz") != std::string_view::npos; });
  serveAndReport("Find \"zz\" in the file", *window.queue,
                 [&] { return session.matchesInFile() && session.searchResult() && idle(); });
  std::printf("    %llu matches in the file, %zu found in memory\n",
              static_cast<unsigned long long>(session.matchesInFile().value_or(0)),
              session.searchResult() ? session.searchResult()->matches.size() : size_t(0));

  bool counted = false;
  session.countFileTypesFromFile(root, [](double) {}, [&](const TMTypeStatistics*) { counted = true; });
  serveAndReport("File Types from the file", *window.queue, [&] { return counted && idle(); });
  window.close();
  return 0;
}
