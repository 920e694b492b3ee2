// SPDX-License-Identifier: GPL-3.0-or-later
// Following changes on disk, end to end on a real folder: the test scans
// it, watches it, changes it, and the tree followed through the watches'
// events must be the tree a new scan finds, its lists in order, its counts
// right, and its layout refreshed in place the layout built anew.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <stop_token>
#include <tuple>

#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMFilesBelow.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/follow/TMChangeCollector.h"
#include "core/follow/TMFolderUpdateApplying.h"
#include "core/follow/TMFolderUpdatePlanning.h"
#include "core/follow/TMTreeWatching.h"
#include "core/follow/TMWatchTable.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutBuilding.h"
#include "core/layout/TMLayoutFolder.h"
#include "core/layout/TMLayoutTree.h"
#include "core/scan/TMScanTask.h"
#include "support/TMCaseNames.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"
#include "support/TMLayoutFixtures.h"

namespace tilemora {
namespace {

using test::caseNamesByName;
using test::childNamed;
using test::childNames;
using test::scanToEnd;
using test::TMFinishedScan;
using test::TMTemporaryTree;

constexpr uint64_t kBlock = 4096;

// Every entry below `top` by path: whether a folder, its two sizes, its time.
std::map<std::string, std::tuple<bool, uint64_t, uint64_t, uint32_t>> flatten(const TMFileTree& top) {
  std::map<std::string, std::tuple<bool, uint64_t, uint64_t, uint32_t>> entries;
  std::vector<std::pair<const TMFileTree*, std::string>> pending{{&top, ""}};
  while (!pending.empty()) {
    auto [node, path] = pending.back();
    pending.pop_back();
    const TMFolderTree* folder = node->asFolder();
    entries[path] = {folder != nullptr, node->diskSize(), folder ? 0 : node->alternateSize(),
                     folder ? 0 : node->modifiedTime()};
    const TMChildList* list = folder ? folder->children() : nullptr;
    for (uint32_t i = 0; list && i < list->count(); ++i)
      pending.emplace_back(list->at(i), path + "/" + std::string(list->at(i)->filename()));
  }
  return entries;
}

// Whether every child list below `top` is largest first.
bool inOrder(const TMFileTree& top) {
  std::vector<const TMFileTree*> pending{&top};
  while (!pending.empty()) {
    const TMFolderTree* folder = pending.back()->asFolder();
    pending.pop_back();
    const TMChildList* list = folder ? folder->children() : nullptr;
    for (uint32_t i = 0; list && i < list->count(); ++i) {
      if (i > 0 && list->at(i - 1)->diskSize() < list->at(i)->diskSize()) return false;
      pending.push_back(list->at(i));
    }
  }
  return true;
}

// What a layout places where, as text: names, split positions, nesting.
std::string shapeOf(TMLayoutNode* node) {
  if (node == nullptr) return "-";
  std::ostringstream shape;
  if (node->isSplitNode()) {
    auto* split = static_cast<TMLayoutTree*>(node);
    split->layOutSides();
    shape << "(" << std::lround(split->splitPos() * 10000) << " " << shapeOf(split->left()) << " | "
          << shapeOf(split->right()) << ")";
  } else if (auto* folder = dynamic_cast<TMLayoutFolder*>(node)) {
    shape << folder->fileNode()->filename() << "[" << shapeOf(folder->contents()) << "]";
  } else {
    shape << node->fileNode()->filename();
  }
  return shape.str();
}

void appendBytes(const std::string& path, uint64_t bytes) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  ASSERT_NE(file, nullptr);
  std::vector<char> data(bytes, 'y');
  std::fwrite(data.data(), 1, data.size(), file);
  std::fflush(file);
  ::fsync(fileno(file));
  std::fclose(file);
}

void moveEntry(const std::string& from, const std::string& to) { ASSERT_EQ(std::rename(from.c_str(), to.c_str()), 0); }

struct DiskChangeCase {
  std::string name;
  std::function<void(const TMTemporaryTree& files, const TMTemporaryTree& outside)> change;
  bool overflows = false;  // more events than the kernel queues
  TMSizeMeasure measure = TMSizeMeasure::kOnDisk;
};

// Appends `bytes` to a file and gives it back the time it had: only its
// length (and maybe its blocks) changed.
void appendKeepingTime(const std::string& path, uint64_t bytes) {
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  appendBytes(path, bytes);
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// a/ one (3 blocks), two (5), odd (1000 bytes); b/ c/ three (7), d (11);
// e/ (empty); top (13); z/ empty (0)
void makeStart(const TMTemporaryTree& files) {
  files.makeFolder("a");
  files.makeFile("a/odd", 1000);
  files.makeFile("a/one", 3 * kBlock);
  files.makeFile("a/two", 5 * kBlock);
  files.makeFolder("b/c");
  files.makeFile("b/c/three", 7 * kBlock);
  files.makeFile("b/d", 11 * kBlock);
  files.makeFolder("e");
  files.makeFile("top", 13 * kBlock);
  files.makeFolder("z");
  files.makeFile("z/empty");  // a folder laid out as a leaf: nothing in it takes room
}

// One round as the window makes it: everything the watches told until
// they are quiet, the folders listed again, the tree changed.
TMAppliedChanges followRound(TMFolderWatch& watch, TMWatchTable& table, TMChangeCollector& collector,
                             TMFolderTree& top, TMFileTreeStorage& storage, TMSizeMeasure measure, bool& overflowed,
                             TMChangePlan* made = nullptr) {
  std::vector<TMFolderWatch::Event> events;
  while (watch.read(events, std::chrono::milliseconds(300)) && !events.empty()) {
    collector.take(events);
    events.clear();
  }
  overflowed = collector.takeOverflow();
  if (overflowed) collector.markFoldersChangedSinceDrained(*TMFileSystem::posix());
  EXPECT_TRUE(collector.hasFolders());
  TMFollowedTree followed{&top, &storage.arena, &table, TMScanEnvironment{}, measure};
  const TMChangePlan plan = planFolderUpdates(collector.takeFolders(), followed, nullptr);
  TMAppliedChanges applied = applyFolderUpdates(plan, top, measure);
  for (const std::string& gone : plan.removedFolders) table.forgetBelow(gone);
  if (made != nullptr) *made = plan;
  return applied;
}

class TMFollowChanges : public ::testing::TestWithParam<DiskChangeCase> {};

TEST_P(TMFollowChanges, FollowedTreeIsWhatANewScanFinds) {
  TMTemporaryTree files;
  TMTemporaryTree outside;
  makeStart(files);
  TMFinishedScan scan = scanToEnd(files.path());
  TMFolderTree& top = *scan.root->asFolder();
  const TMSizeMeasure measure = GetParam().measure;
  remeasureTree(top, TMSizeMeasure::kOnDisk, measure);
  std::shared_ptr<TMFileTreeStorage> storage = scan.task->treeStorage();
  ASSERT_TRUE(storage);
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(top, blockSizes.finalLayoutDepth, 0, layoutBuiltUnderTest());
  // Drawn small, as a map in a corner: laid out when looked at, the top is,
  // with the sides of its split too small to enter still waiting.
  test::TMFrame({0, 0, 40, 30}).draw(*layout);
  const auto countsBefore = countEntriesBelow(top);

  TMFolderWatch watch;
  ASSERT_EQ(watch.error(), 0);
  TMWatchTable table(watch, files.path(), 1000);
  watchScannedTree(top, table, std::stop_token());
  EXPECT_EQ(table.watchedCount(), 6u);  // the top, a, b, b/c, e, z
  TMChangeCollector collector(table);
  collector.noteDrained(timespec{::time(nullptr), 0});

  GetParam().change(files, outside);

  bool overflowed = false;
  const TMAppliedChanges applied = followRound(watch, table, collector, top, *storage, measure, overflowed);
  EXPECT_EQ(overflowed, GetParam().overflows);

  TMFinishedScan fresh = scanToEnd(files.path());
  remeasureTree(*fresh.root, TMSizeMeasure::kOnDisk, measure);
  EXPECT_EQ(flatten(top), flatten(*fresh.root));
  EXPECT_TRUE(inOrder(top));
  const auto countsAfter = countEntriesBelow(*fresh.root);
  EXPECT_EQ(int64_t(countsBefore.first) + applied.files, int64_t(countsAfter.first));
  EXPECT_EQ(int64_t(countsBefore.second) + applied.folders, int64_t(countsAfter.second));
  ASSERT_TRUE(TMLayoutNode::refreshInPlace(*layout, applied.changed, applied.regrouped, blockSizes.finalLayoutDepth));
  EXPECT_EQ(shapeOf(layout.get()), shapeOf(createLayoutTree(*fresh.root, blockSizes.finalLayoutDepth, 0).get()));
  // Every folder of the tree is watched, and no other.
  EXPECT_EQ(table.watchedCount(), countsAfter.second + 1);
}

TEST(TMFollowChangesTwice, NewFilesComeAfterOldOnesOfTheirSizeAndAGrownListHasRoomLeft) {
  TMTemporaryTree files;
  makeStart(files);
  TMFinishedScan scan = scanToEnd(files.path());
  TMFolderTree& top = *scan.root->asFolder();
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), 1000);
  watchScannedTree(top, table, std::stop_token());
  TMChangeCollector collector(table);
  bool overflowed = false;
  files.makeFile("a/same", 5 * kBlock);  // as large as a/two
  followRound(watch, table, collector, top, *scan.task->treeStorage(), TMSizeMeasure::kOnDisk, overflowed);
  const TMFileTree* a = childNamed(&top, "a");
  const std::vector<std::string> names = childNames(a);
  EXPECT_LT(std::find(names.begin(), names.end(), "two"), std::find(names.begin(), names.end(), "same"));
  const TMChildList* grown = a->asFolder()->children();
  files.makeFile("a/more", 2 * kBlock);
  TMChangePlan plan;
  followRound(watch, table, collector, top, *scan.task->treeStorage(), TMSizeMeasure::kOnDisk, overflowed, &plan);
  // Room was left the first time: no list is made, none replaced.
  ASSERT_EQ(plan.updates.size(), 1u);
  EXPECT_EQ(plan.updates[0].roomierList, nullptr);
  EXPECT_EQ(a->asFolder()->children(), grown);
  EXPECT_EQ(childNames(a).size(), 5u);
}

TEST(TMFollowChangesAtTheDepthLimit, AFolderLaidOutAsALeafBecomesAFolderWhenAFileComesIn) {
  // Laid out two levels deep, "x" shows only "x/y", which is too deep: "x"
  // is a leaf until a file comes right into it.
  constexpr int32_t kDepth = 2;
  TMTemporaryTree files;
  files.makeFolder("x/y");
  files.makeFile("x/y/deep", 3 * kBlock);
  files.makeFile("top", 5 * kBlock);
  TMFinishedScan scan = scanToEnd(files.path());
  TMFolderTree& top = *scan.root->asFolder();
  std::unique_ptr<TMLayoutNode> layout = createLayoutTree(top, kDepth, 0, layoutBuiltUnderTest());
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), 1000);
  watchScannedTree(top, table, std::stop_token());
  TMChangeCollector collector(table);
  bool overflowed = false;
  files.makeFile("x/direct", 7 * kBlock);
  const TMAppliedChanges applied =
      followRound(watch, table, collector, top, *scan.task->treeStorage(), TMSizeMeasure::kOnDisk, overflowed);
  ASSERT_TRUE(TMLayoutNode::refreshInPlace(*layout, applied.changed, applied.regrouped, kDepth));
  TMFinishedScan fresh = scanToEnd(files.path());
  EXPECT_EQ(shapeOf(layout.get()), shapeOf(createLayoutTree(*fresh.root, kDepth, 0).get()));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TMFollowChanges,
    ::testing::Values(
        DiskChangeCase{"a file created", [](auto& f, auto&) { f.makeFile("a/new", 17 * kBlock); }},
        DiskChangeCase{"a file grown", [](auto& f, auto&) { appendBytes(f.pathOf("a/one"), 20 * kBlock); }},
        DiskChangeCase{"a file's length changed within its blocks, its time kept",
                   [](auto& f, auto&) { appendKeepingTime(f.pathOf("a/odd"), 100); }},
        DiskChangeCase{"a file created, by length", [](auto& f, auto&) { f.makeFile("a/new", 17 * kBlock - 5); }, false,
                   TMSizeMeasure::kLength},
        DiskChangeCase{"a file grown, by length", [](auto& f, auto&) { appendBytes(f.pathOf("b/d"), 12345); }, false,
                   TMSizeMeasure::kLength},
        DiskChangeCase{"a file truncated", [](auto& f, auto&) { ASSERT_EQ(::truncate(f.pathOf("b/d").c_str(), 0), 0); }},
        DiskChangeCase{"a file removed", [](auto& f, auto&) { ASSERT_EQ(::unlink(f.pathOf("a/two").c_str()), 0); }},
        DiskChangeCase{"a file moved to another folder", [](auto& f, auto&) { moveEntry(f.pathOf("a/two"), f.pathOf("e/two")); }},
        DiskChangeCase{"a file into an empty folder", [](auto& f, auto&) { f.makeFile("e/first", 2 * kBlock); }},
        DiskChangeCase{"a file into a folder of empty files", [](auto& f, auto&) { f.makeFile("z/full", 10 * kBlock); }},
        DiskChangeCase{"folders made with files in them",
                   [](auto& f, auto&) {
                     f.makeFolder("n/m");
                     f.makeFile("n/m/deep", 19 * kBlock);
                     f.makeFile("n/near", 23 * kBlock);
                   }},
        DiskChangeCase{"a folder removed",
                   [](auto& f, auto&) { TMTemporaryTree::removeRecursively(AT_FDCWD, f.pathOf("b").c_str()); }},
        DiskChangeCase{"a folder moved within", [](auto& f, auto&) { moveEntry(f.pathOf("b"), f.pathOf("a/b2")); }},
        DiskChangeCase{"a folder moved out", [](auto& f, auto& o) { moveEntry(f.pathOf("b"), o.pathOf("b")); }},
        DiskChangeCase{"a folder moved in",
                   [](auto& f, auto& o) {
                     o.makeFolder("x/y");
                     o.makeFile("x/y/z", 29 * kBlock);
                     moveEntry(o.pathOf("x"), f.pathOf("a/x"));
                   }},
        DiskChangeCase{"a folder removed and made again",
                   [](auto& f, auto&) {
                     TMTemporaryTree::removeRecursively(AT_FDCWD, f.pathOf("b").c_str());
                     f.makeFolder("b");
                     f.makeFile("b/other", 31 * kBlock);
                   }},
        DiskChangeCase{"a file replaced by a folder",
                   [](auto& f, auto&) {
                     ASSERT_EQ(::unlink(f.pathOf("a/one").c_str()), 0);
                     f.makeFolder("a/one");
                     f.makeFile("a/one/inside", 37 * kBlock);
                   }},
        DiskChangeCase{"a burst past the kernel's queue",
                   [](auto& f, auto&) {
                     for (int i = 0; i < 20000; ++i) f.makeFile("e/burst-" + std::to_string(i));
                     f.makeFile("e/last", 41 * kBlock);
                   },
                   true}),
    caseNamesByName);

struct TableCase {
  std::string name;
  std::vector<std::string> watched;
  std::string forgotten;
  std::vector<std::string> left;
};

class TMWatchTableForgetting : public ::testing::TestWithParam<TableCase> {};

TEST_P(TMWatchTableForgetting, ForgetsAFolderAndWhatLiesBelowItOnly) {
  TMTemporaryTree files;
  for (const std::string& folder : GetParam().watched) files.makeFolder(folder);
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), 100);
  table.watch("");
  for (const std::string& folder : GetParam().watched) ASSERT_TRUE(table.watch(folder));
  table.forgetBelow(GetParam().forgotten);
  std::vector<std::string> left = GetParam().left;
  if (!GetParam().forgotten.empty()) left.insert(left.begin(), "");
  EXPECT_EQ(table.watchedFolders(), left);
  EXPECT_EQ(table.takeEnded(GetParam().forgotten), true);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TMWatchTableForgetting,
    ::testing::Values(TableCase{"siblings that sort between a folder and its own",
                                {"a", "a b", "a.b", "a/b", "a/b/c", "a0", "b"}, "a", {"a b", "a.b", "a0", "b"}},
                      TableCase{"a folder deep down", {"a", "a/b", "a/b/c", "a/bc"}, "a/b", {"a", "a/bc"}},
                      TableCase{"the scanned folder", {"a", "b/c"}, "", {}}),
    caseNamesByName);

struct LimitCase {
  std::string name;
  uint64_t limit;
  uint64_t watched;
  uint64_t unwatched;
};

class TMWatchTableLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(TMWatchTableLimit, KeepsToItsLimitAndCountsWhatItLeaves) {
  TMTemporaryTree files;
  makeStart(files);
  TMFinishedScan scan = scanToEnd(files.path());
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), GetParam().limit);
  watchScannedTree(*scan.root->asFolder(), table, std::stop_token());
  EXPECT_EQ(table.watchedCount(), GetParam().watched);
  EXPECT_EQ(table.unwatchedCount(), GetParam().unwatched);
  // The top levels first: the scanned folder is followed whenever any is.
  if (GetParam().watched > 0) {
    EXPECT_EQ(table.watchedFolders().front(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, TMWatchTableLimit,
                         ::testing::Values(LimitCase{"none", 0, 0, 6}, LimitCase{"one short", 5, 5, 1},
                                           LimitCase{"exactly enough", 6, 6, 0}, LimitCase{"plenty", 100, 6, 0},
                                           LimitCase{"three quarters of the user's", TMWatchTable::limitFor(4), 3, 3}),
                         caseNamesByName);


struct EventCase {
  std::string name;
  std::string folder;  // whose watch tells
  uint32_t mask;
  std::string entry;
  std::set<std::string> marked;        // folders to list again
  std::vector<std::string> stillWatched;
  bool overflow = false;
};

class TMChangeCollecting : public ::testing::TestWithParam<EventCase> {};

TEST_P(TMChangeCollecting, MarksTheFoldersAnEventConcerns) {
  TMTemporaryTree files;
  files.makeFolder("a/b/c");
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), 100);
  for (const char* folder : {"", "a", "a/b", "a/b/c"}) ASSERT_TRUE(table.watch(folder));
  const std::vector<std::string> watched = table.watchedFolders();
  // The watch of a folder, found from the table by trying each one the
  // kernel handed out (they count up from 1).
  int told = -1;
  for (int candidate = 1; candidate < 100 && told < 0; ++candidate) {
    if (table.folderOf(candidate) == GetParam().folder) told = candidate;
  }
  TMChangeCollector collector(table);
  collector.take({{GetParam().overflow ? -1 : told, GetParam().mask, GetParam().entry}});
  EXPECT_EQ(collector.takeOverflow(), GetParam().overflow);
  EXPECT_EQ(collector.takeFolders(), GetParam().marked);
  EXPECT_EQ(table.watchedFolders(), GetParam().stillWatched);
}

INSTANTIATE_TEST_SUITE_P(
    Events, TMChangeCollecting,
    ::testing::Values(
        EventCase{"a file written", "a/b", IN_MODIFY, "log", {"a/b"}, {"", "a", "a/b", "a/b/c"}},
        EventCase{"a folder removed tells through its own watch", "a/b", IN_DELETE_SELF, "", {"a"},
                  {"", "a", "a/b", "a/b/c"}},
        EventCase{"a folder moved away leaves its watches", "a/b", IN_MOVE_SELF, "", {"a"}, {"", "a"}},
        EventCase{"the scanned folder moved", "", IN_MOVE_SELF, "", {""}, {}},
        EventCase{"a watch ended by the kernel", "a/b/c", IN_IGNORED, "", {}, {"", "a", "a/b"}},
        EventCase{"events lost", "", IN_Q_OVERFLOW, "", {}, {"", "a", "a/b", "a/b/c"}, true}),
    caseNamesByName);

struct OverflowCase {
  std::string name;
  time_t drainedAfterNow;  // seconds
  std::set<std::string> marked;
};

class TMOverflowMarking : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(TMOverflowMarking, MarksTheFoldersChangedSinceTheQueueWasLastReadEmpty) {
  TMTemporaryTree files;
  files.makeFolder("a/b");
  TMFolderWatch watch;
  TMWatchTable table(watch, files.path(), 100);
  for (const char* folder : {"", "a", "a/b"}) ASSERT_TRUE(table.watch(folder));
  TMChangeCollector collector(table);
  // The folders were all made just now: changed at the time the queue is
  // said to have been read empty, give or take the file times' coarseness.
  collector.noteDrained(timespec{::time(nullptr) + GetParam().drainedAfterNow, 0});
  collector.markFoldersChangedSinceDrained(*TMFileSystem::posix());
  EXPECT_EQ(collector.takeFolders(), GetParam().marked);
}

INSTANTIATE_TEST_SUITE_P(Times, TMOverflowMarking,
                         ::testing::Values(OverflowCase{"changed long after", -60, {"", "a", "a/b"}},
                                           OverflowCase{"changed within the margin", 1, {"", "a", "a/b"}},
                                           OverflowCase{"unchanged since", 60, {}}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora
