// SPDX-License-Identifier: GPL-3.0-or-later
// What following changes costs on a big tree: putting the watches on (time,
// the table's memory, the kernel's memory as its unreclaimable slab grows),
// and a burst of 10,000 files created at once, then a file grown in steps:
// rounds every 200 ms as the window makes them, each listing the folders
// told (off the main thread), then changing the tree and refreshing the
// layout in place (the main thread's step), and how long after the last
// change the tree shows it. Makes and removes a folder of its own in TREE.
//
//   build/release/bench/follow_benchmark /var/tmp/tilemora-bench-1000000
//
// Targets: every main-thread step under 16 ms; each change shown within 1 s.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "TMResidentMemory.h"
#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMFolderTree.h"
#include "core/follow/TMChangeCollector.h"
#include "core/follow/TMFolderUpdateApplying.h"
#include "core/follow/TMFolderUpdatePlanning.h"
#include "core/follow/TMTreeWatching.h"
#include "core/follow/TMWatchTable.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutBuilding.h"
#include "core/layout/TMLayoutNode.h"
#include "core/scan/TMScanDriver.h"
#include "core/scan/TMScanTask.h"

using namespace tilemora;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The kernel's memory nobody can reclaim (watches live there), in kB.
long unreclaimableSlabKilobytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  long kilobytes = 0;
  while (meminfo >> key) {
    if (key == "SUnreclaim:") return meminfo >> kilobytes ? kilobytes : 0;
  }
  return 0;
}

struct Follower {
  Follower(TMFolderTree& top, TMFileTreeStorage& storage, TMFolderWatch& watch, TMWatchTable& table,
           TMLayoutNode& layout)
      : top(top), storage(storage), watch(watch), table(table), layout(layout) {}
  TMFolderTree& top;
  TMFileTreeStorage& storage;
  TMFolderWatch& watch;
  TMWatchTable& table;
  TMLayoutNode& layout;
  TMChangeCollector collector{table};
  std::vector<double> steps;
  double longestPlan = 0;
  int rounds = 0;

  // Reads events for up to `within`, making rounds every 200 ms, until
  // `done` holds for the tree; answers when it first did.
  template <class Done>
  Clock::time_point followUntil(Done done, std::chrono::milliseconds within) {
    const auto deadline = Clock::now() + within;
    std::vector<TMFolderWatch::Event> events;
    auto roundAt = Clock::now() + std::chrono::milliseconds(200);
    while (Clock::now() < deadline) {
      events.clear();
      watch.read(events, std::chrono::milliseconds(20));
      collector.take(events);
      if (collector.takeOverflow()) collector.markFoldersChangedSinceDrained(*TMFileSystem::posix());
      if (Clock::now() < roundAt || !collector.hasFolders()) continue;
      roundAt = Clock::now() + std::chrono::milliseconds(200);
      const auto planStart = Clock::now();
      TMFollowedTree tree{&top, &storage.arena, &table, TMScanEnvironment{}, TMSizeMeasure::kOnDisk};
      const TMChangePlan plan = planFolderUpdates(collector.takeFolders(), tree, nullptr);
      longestPlan = std::max(longestPlan, millisecondsSince(planStart));
      const auto stepStart = Clock::now();
      const TMAppliedChanges applied = applyFolderUpdates(plan, top, TMSizeMeasure::kOnDisk);
      TMLayoutNode::refreshInPlace(layout, applied.changed, applied.regrouped, blockSizes.finalLayoutDepth);
      steps.push_back(millisecondsSince(stepStart));
      ++rounds;
      if (done()) return Clock::now();
    }
    return Clock::time_point{};
  }
};

const TMFileTree* childNamed(const TMFileTree& folder, const std::string& name) {
  const TMChildList* list = folder.asFolder() ? folder.asFolder()->children() : nullptr;
  for (uint32_t i = 0; list && i < list->count(); ++i) {
    if (list->at(i)->filename() == name) return list->at(i);
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TREE\n", argv[0]);
    return 2;
  }
  const std::string root = argv[1];
  const std::string scratch = root + "/tilemora-follow-bench";
  std::shared_ptr<TMScanTask> task;
  TMScanEnvironment environment;
  auto tree = createFromPath(TMFileURL::fromPath(root), nullptr, nullptr, environment, task);
  task->waitUntilFinished();
  TMFolderTree& top = *tree->asFolder();
  std::shared_ptr<TMFileTreeStorage> storage = task->treeStorage();
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(top, blockSizes.finalLayoutDepth, 0);

  TMFolderWatch watch;
  const long slabBefore = unreclaimableSlabKilobytes();
  const long residentBefore = residentKilobytes();
  const auto watchStart = Clock::now();
  TMWatchTable table(watch, root, TMWatchTable::limitFor(TMFolderWatch::maxUserWatches()));
  watchScannedTree(top, table, std::stop_token());
  const double watchMs = millisecondsSince(watchStart);
  const long slab = unreclaimableSlabKilobytes() - slabBefore;
  const uint64_t watched = table.watchedCount();
  std::printf("watches: %llu folders followed, %llu not (limit %llu of the user's %llu), put on in %.0f ms\n",
              (unsigned long long)watched, (unsigned long long)table.unwatchedCount(),
              (unsigned long long)TMWatchTable::limitFor(TMFolderWatch::maxUserWatches()),
              (unsigned long long)TMFolderWatch::maxUserWatches(), watchMs);
  std::printf("memory: table %.1f MB (%.0f B/folder), process grew %.1f MB; kernel slab grew %.1f MB (%.0f B/watch)\n",
              double(table.tableBytes()) / 1e6, watched ? double(table.tableBytes()) / double(watched) : 0.0,
              double(residentKilobytes() - residentBefore) / 1e3, double(slab) / 1e3,
              watched ? double(slab) * 1024 / double(watched) : 0.0);

  {
    // The step's floor: the scanned folder laid out again, nothing below.
    std::vector<double> refills;
    for (int i = 0; i < 5; ++i) {
      const auto start = Clock::now();
      TMLayoutNode::refreshInPlace(*layout, {&top}, {}, blockSizes.finalLayoutDepth);
      refills.push_back(millisecondsSince(start));
    }
    std::sort(refills.begin(), refills.end());
    const auto start = Clock::now();
    auto shallow = createLayoutTree(top, 1, 0);
    std::printf("the scanned folder (%llu children) laid out again: median %.2f ms (its split alone built anew: %.2f ms)\n",
                (unsigned long long)top.childCount(), refills[2], millisecondsSince(start));
  }
  Follower follower(top, *storage, watch, table, *layout);
  ::mkdir(scratch.c_str(), 0755);
  // The burst: 10,000 files of 4 KiB written at once by another thread.
  constexpr int kBurst = 10000;
  std::atomic<bool> written{false};
  Clock::time_point lastWrite;
  std::thread writer([&] {
    ::mkdir((scratch + "/burst").c_str(), 0755);
    const std::string block(4096, 'b');
    for (int i = 0; i < kBurst; ++i) {
      const int file = ::open((scratch + "/burst/f" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (file >= 0 && ::write(file, block.data(), block.size()) < 0) std::perror("write");
      if (file >= 0) ::close(file);
    }
    lastWrite = Clock::now();
    written = true;
  });
  const auto burstShown = follower.followUntil(
      [&] {
        const TMFileTree* folder = childNamed(top, "tilemora-follow-bench");
        const TMFileTree* burst = folder ? childNamed(*folder, "burst") : nullptr;
        return written && burst && burst->asFolder()->childCount() == kBurst;
      },
      std::chrono::seconds(60));
  writer.join();
  std::printf("burst of %d files: shown %.0f ms after the last was written, in %d rounds; "
              "longest listing %.1f ms, main-thread steps median %.2f ms, longest %.2f ms\n",
              kBurst, std::chrono::duration<double, std::milli>(burstShown - lastWrite).count(), follower.rounds,
              follower.longestPlan, follower.steps.empty() ? 0 : follower.steps[follower.steps.size() / 2],
              follower.steps.empty() ? 0 : *std::max_element(follower.steps.begin(), follower.steps.end()));

  // A file grown in steps: each step shown before the next.
  std::vector<double> latencies;
  const std::string grown = scratch + "/grown";
  for (int step = 1; step <= 10; ++step) {
    std::FILE* file = std::fopen(grown.c_str(), "ab");
    const std::string megabyte(1 << 20, 'g');
    std::fwrite(megabyte.data(), 1, megabyte.size(), file);
    std::fclose(file);
    const auto changed = Clock::now();
    const uint64_t expected = uint64_t(step) << 20;
    const auto shown = follower.followUntil(
        [&] {
          const TMFileTree* folder = childNamed(top, "tilemora-follow-bench");
          const TMFileTree* file = folder ? childNamed(*folder, "grown") : nullptr;
          return file && file->diskSize() >= expected;
        },
        std::chrono::seconds(5));
    latencies.push_back(std::chrono::duration<double, std::milli>(shown - changed).count());
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("a file grown 1 MB at a time: shown after median %.0f ms, longest %.0f ms\n",
              latencies[latencies.size() / 2], latencies.back());
  std::printf("main-thread steps overall: %zu, longest %.2f ms\n", follower.steps.size(),
              *std::max_element(follower.steps.begin(), follower.steps.end()));
  if (std::system(("rm -rf '" + scratch + "'").c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", scratch.c_str());
  return 0;
}
