// SPDX-License-Identifier: GPL-3.0-or-later
// Trees deeper than any stack or open-file limit: the scan keeps a bounded
// number of folders open and still finds every entry, and every walk over
// the result (layout, drawing, searches, export, deletion, freeing) runs on
// a thread whose stack is far too small for one frame per level.

#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <cstdio>
#include <functional>

#include "core/layout/TMLayoutBuilding.h"
#include "cli/TMGraphvizExport.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/scan/TMOpenFolderChain.h"
#include "support/TMCaseNames.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMLayoutFixtures.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

constexpr size_t kSmallStackBytes = size_t(256) << 10;
constexpr int kKept = int(TMOpenFolderChain::kKeptOpen);

// Runs `body` on a thread with a small stack and waits for it.
void onSmallStack(const std::function<void()>& body) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kSmallStackBytes);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_attr_destroy(&attributes);
  pthread_join(thread, nullptr);
}

// What a chain of folders named "d" holds: a file "f" every `fileEvery`
// levels, and at `wideLevel` (when not 0) `wideCount` more empty files
// listed around the way down, so that its listing spans several reads.
struct TMChainShape {
  int depth;
  int fileEvery;
  int wideLevel = 0;
  int wideCount = 0;
};

// The deepest level a layout reaches: folders below the last file hold
// nothing and are not laid out.
int deepestLaidOut(const TMChainShape& shape) { return (shape.depth - 1) / shape.fileEvery * shape.fileEvery; }

struct TMChainContent {
  uint64_t total = 0;
  uint64_t entries = 0;
};

// The same chain on disk, made with openat so that its depth is not limited
// by PATH_MAX; files get one byte each.
TMChainContent makeChainOnDisk(const std::string& root, const TMChainShape& shape) {
  TMChainContent content;
  int directory = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < shape.depth && directory >= 0; ++level) {
    if (level % shape.fileEvery == 0) {
      int file = ::openat(directory, "f", O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      if (::write(file, "x", 1) == 1) ::fsync(file);
      struct stat info {};
      ::fstat(file, &info);
      ::close(file);
      content.total += uint64_t(info.st_blocks) * 512;
      ++content.entries;
    }
    for (int i = 0; level == shape.wideLevel && i < shape.wideCount; ++i) {
      ::close(::openat(directory, ("wide-entry-" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0644));
      ++content.entries;
    }
    ::mkdirat(directory, "d", 0755);
    ++content.entries;
    int next = ::openat(directory, "d", O_RDONLY | O_DIRECTORY);
    ::close(directory);
    directory = next;
  }
  ::close(directory);
  return content;
}

// The same chain in memory, built from the bottom up; files are 8 blocks.
TMMemoryEntry makeChainInMemory(const TMChainShape& shape, TMChainContent& content) {
  TMMemoryEntry below = TMMemoryEntry::directory("d", {});
  for (int level = shape.depth - 1; level >= 0; --level) {
    std::vector<TMMemoryEntry> children;
    for (int i = 0; level == shape.wideLevel && i < shape.wideCount; ++i) {
      children.push_back(TMMemoryEntry::file("wide-entry-" + std::to_string(i), 1));
      // The way down sits in the middle of the listing.
      if (i == shape.wideCount / 2) children.push_back(std::move(below));
    }
    if (children.size() <= size_t(shape.wideCount)) children.push_back(std::move(below));
    if (level % shape.fileEvery == 0) {
      children.push_back(TMMemoryEntry::file("f", 8));
      content.total += 8 * 512;
      ++content.entries;
    }
    const uint64_t wide = level == shape.wideLevel ? uint64_t(shape.wideCount) : 0;
    content.entries += wide + 1;
    content.total += wide * 512;
    below = TMMemoryEntry::directory(level == 0 ? "root" : "d", std::move(children));
  }
  return below;
}

// The walks a window and the command-line tool make over a finished tree,
// done on a small stack, with what they found.
struct TMWalkResults {
  bool laidOut = false;
  uint64_t drawnRectangles = 0;
  bool pathFound = false;
  // How many levels below the top the node under a spot of the deepest
  // folder lies.
  uint64_t pointedLevel = 0;
  uint64_t graphvizEdges = 0;
};

TMWalkResults walkOnSmallStack(std::shared_ptr<TMFileTree>& root, int depth) {
  TMWalkResults results;
  onSmallStack([&] {
    std::unique_ptr<TMLayoutNode> layout = createLayoutTree(*root, INT32_MAX, 0, layoutBuiltUnderTest());
    results.laidOut = layout != nullptr;
    if (!layout) return;

    // Zoomed in so far that every level stays larger than the least drawn
    // size: the path search finds the deepest folder's rectangle, and a
    // frame showing a spot inside it draws every folder above it.
    TMFrame frame({0, 0, 1000, 1000});
    frame.visible = {0, 0, 0.1, 0.1};
    std::vector<std::string> parts{std::string(root->filename())};
    parts.insert(parts.end(), size_t(depth), "d");
    TMDrawInfo_t info = frame.begin();
    TMLayoutNode* deepest = layout->getNodeAtPathParts(parts, 0, info, frame.canvas);
    frame.gatherer.stopGathering();
    results.pathFound = deepest != nullptr && info.selection.file != nullptr &&
                        info.selection.file->filename() == "d";
    if (!deepest) return;
    const TMRect spot = info.selection.rect;
    frame.visible = {spot.x + spot.width / 2, spot.y + spot.height / 2, 0.1, 0.1};
    frame.draw(*layout);
    results.drawnRectangles = frame.gatherer.rectangleCount();

    TMDrawInfo_t pointInfo = frame.begin();
    TMLayoutNode* pointed = layout->getNodeAtPoint({frame.visible.x + 0.05, frame.visible.y + 0.05},
                                                   pointInfo, frame.canvas);
    frame.gatherer.stopGathering();
    if (pointed != nullptr) {
      const std::string& path = pointInfo.selection.url.path();
      results.pointedLevel = uint64_t(std::count(path.begin(), path.end(), '/'));
    }

    char* text = nullptr;
    size_t length = 0;
    std::FILE* graph = ::open_memstream(&text, &length);
    if (writeGraphviz(*root, graph)) {
      std::fflush(graph);
      const std::string_view written(text, length);
      for (size_t at = 0; (at = written.find(" -> ", at)) != written.npos; at += 4) ++results.graphvizEdges;
    }
    std::fclose(graph);
    std::free(text);

    layout.reset();
    root.reset();
  });
  return results;
}

// Peak resident memory of the process so far, in bytes.
uint64_t peakResidentBytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return uint64_t(usage.ru_maxrss) * 1024;
}

// Each case runs with one thread and with the program's default.
const auto kThreadCounts = ::testing::Values(1u, 0u);

class TMDeepTree : public ::testing::TestWithParam<unsigned> {};

TEST_P(TMDeepTree, AHundredThousandLevelsOnDiskScanExactlyWithFewFilesOpenAndWalkOnASmallStack) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  const TMChainShape shape{100000, 1000, 3 * kKept, 3000};
  const TMChainContent content = makeChainOnDisk(tree.path(), shape);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  rlimit low = saved;
  low.rlim_cur = 256;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
  const int before = openDescriptorCount();
  int most = before;
  uint64_t notices = 0;
  TMScanOptions options;
  options.threads = GetParam();
  TMFinishedScan scan = scanToEnd(
      tree.path(), TMFileSystem::posix(),
      [&](const TMFileTree*) {
        if (++notices % 499 == 0) most = std::max(most, openDescriptorCount());
      },
      options);
  EXPECT_EQ(scan.task->unreadableFolderCount(), 0u);
  // The scan's thread may still be handing its memory back (glibc opens a
  // file of /proc for that a moment): counted once it has ended.
  scan.task.reset();
  const int after = openDescriptorCount();
  ::setrlimit(RLIMIT_NOFILE, &saved);

  EXPECT_EQ(scan.root->diskSize(), content.total);
  EXPECT_EQ(scan.receiver->count(), content.entries);
  EXPECT_LE(most - before, kKept + 2);
  EXPECT_EQ(after, before);

  const TMWalkResults walks = walkOnSmallStack(scan.root, shape.depth);
  EXPECT_TRUE(walks.laidOut);
  EXPECT_TRUE(walks.pathFound);
  EXPECT_GT(walks.drawnRectangles, uint64_t(deepestLaidOut(shape)));
  EXPECT_GE(walks.pointedLevel, uint64_t(deepestLaidOut(shape)));
  EXPECT_EQ(walks.graphvizEdges, content.entries);
}

INSTANTIATE_TEST_SUITE_P(Threads, TMDeepTree, kThreadCounts, caseNamesByThreads);

// Chains in memory around the number of folders kept open, with a folder
// whose listing spans several reads on the way down: entries listed after
// the way down are read after that folder was closed and opened again.
// Several threads hand the chain's folders to one another level after
// level: memory still grows with the depth, not with its square.
class TMDeepChainInMemory : public ::testing::TestWithParam<std::tuple<TMChainShape, unsigned>> {};

TEST_P(TMDeepChainInMemory, FindsEveryEntryOnceInMemoryOfTheDepth) {
  const auto& [shape, threads] = GetParam();
  TMChainContent content;
  auto fileSystem = std::make_shared<TMMemoryFileSystem>(makeChainInMemory(shape, content));
  TMScanOptions options;
  options.threads = threads;
  const uint64_t peakBefore = peakResidentBytes();
  TMFinishedScan scan = scanToEnd("/root", fileSystem, nullptr, options);
  EXPECT_LT(peakResidentBytes() - peakBefore, uint64_t(256) << 20);
  EXPECT_EQ(scan.root->diskSize(), content.total);
  EXPECT_EQ(scan.receiver->count(), content.entries);
  EXPECT_EQ(scan.task->unreadableFolderCount(), 0u);
  const TMWalkResults walks = walkOnSmallStack(scan.root, shape.depth);
  EXPECT_TRUE(walks.pathFound);
  EXPECT_GE(walks.pointedLevel, uint64_t(deepestLaidOut(shape)));
  EXPECT_EQ(walks.graphvizEdges, content.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, TMDeepChainInMemory,
    ::testing::Combine(::testing::Values(TMChainShape{kKept, 7}, TMChainShape{kKept + 1, 7},
                                         TMChainShape{kKept + 2, 1, 1, 4000}, TMChainShape{3 * kKept, 5, kKept, 4000},
                                         TMChainShape{3 * kKept, 5, 2 * kKept + 7, 4000},
                                         TMChainShape{45000, 1000, 20000, 3000}),
                       kThreadCounts),
    [](const auto& info) {
      const TMChainShape& shape = std::get<0>(info.param);
      return identifierFrom(std::to_string(shape.depth) + "_levels_file_every_" + std::to_string(shape.fileEvery) +
                            (shape.wideCount ? "_wide_at_" + std::to_string(shape.wideLevel) : "")) +
             "_" + threadsName(std::get<1>(info.param));
    });

// A part of the path moved away while a folder below it is listed. The
// scan goes back up through where the folders are now; a folder that is
// found neither through ".." nor by its names any more is reported. With
// several threads, a folder handed to another thread is held open by it,
// so what was lost may be found after all: at most the one folder is
// reported, never another.
struct TMMoveCase {
  std::string name;
  bool alsoRenameOldParent;
  uint64_t unreadable;
};

class TMDeepChainMovedDuringScan : public ::testing::TestWithParam<std::tuple<TMMoveCase, unsigned>> {};

TEST_P(TMDeepChainMovedDuringScan, GoesBackUpOrReportsTheLostFolder) {
  const auto& [move, threads] = GetParam();
  TMTemporaryTree tree;
  const int depth = kKept + 10;
  makeChainOnDisk(tree.path(), {depth, 1});
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  int opened = 0;
  fileSystem->beforeOpeningFolder = [&](int, const char* name) {
    if (std::string_view(name) != "d" || ++opened != depth - 2) return;
    // Level 3 and what is below it move to the top; levels 2 and 3 are closed now.
    ::rename(tree.pathOf("d/d/d").c_str(), tree.pathOf("moved").c_str());
    if (move.alsoRenameOldParent) ::rename(tree.pathOf("d/d").c_str(), tree.pathOf("d/renamed").c_str());
  };
  TMScanOptions options;
  options.threads = threads;
  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem, nullptr, options);
  if (threads == 1) {
    EXPECT_EQ(scan.task->unreadableFolderCount(), move.unreadable);
  } else {
    EXPECT_LE(scan.task->unreadableFolderCount(), move.unreadable);
  }
  if (scan.task->unreadableFolderCount() > 0) {
    EXPECT_EQ(pathsOf(scan.task->unreadableFolders()), std::vector<std::string>{tree.path() + "/d/d"});
  }
  // The folders found before the move are all there.
  const TMFileTree* node = scan.root.get();
  for (int level = 0; level < depth && node != nullptr; ++level) node = childNamed(node, "d");
  EXPECT_NE(node, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Moves, TMDeepChainMovedDuringScan,
                         ::testing::Combine(::testing::Values(TMMoveCase{"subtree_moved", false, 0},
                                                              TMMoveCase{"subtree_moved_and_old_parent_renamed", true, 1}),
                                            kThreadCounts),
                         [](const auto& info) {
                           return identifierFrom(std::get<0>(info.param).name) + "_" +
                                  threadsName(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace tilemora::test
