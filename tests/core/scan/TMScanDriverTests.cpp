// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <thread>

#include "core/scan/TMScanDriver.h"
#include "core/filetree/TMNodeArena.h"
#include "core/filetree/TMVolume.h"
#include "core/scan/TMParallelScan.h"
#include "core/scan/TMSerialScan.h"
#include "core/scan/TMScanningContext.h"
#include "support/TMCaseNames.h"
#include "support/TMFaultyFileSystem.h"
#include "support/TMScanRunner.h"
#include "support/TMTemporaryTree.h"
#include "support/TMTreeInspection.h"

namespace tilemora::test {
namespace {

struct VolumeCase {
  const char* path;
  bool volume;
};

class TMIsVolume : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(TMIsVolume, ComparesThePathWithLocalMountPointsAsAString) {
  TMFaultyFileSystem fileSystem;
  fileSystem.mountPoints = {"/media/Disk", "/home"};
  EXPECT_EQ(isVolume(TMFileURL::fromPath(GetParam().path), fileSystem), GetParam().volume)
      << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, TMIsVolume,
                         ::testing::Values(VolumeCase{"/", true}, VolumeCase{"/home", true},
                                           VolumeCase{"/home/", true},
                                           VolumeCase{"/media/Disk", true},
                                           VolumeCase{"/media/disk", false},
                                           VolumeCase{"/media", false},
                                           VolumeCase{"/home/user", false}),
                         caseNamesBy([](const VolumeCase& c) { return spelledOut(c.path); }));

TEST(TMScanDriver, ScansAMountPointAsAVolumeWithMeasuredSpace) {
  TMTemporaryTree tree;
  tree.makeFile("file", 1);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->mountPoints = {tree.path()};
  fileSystem->sizes = {500000000000, 100000000000};
  fileSystem->allocatedSizes = {{"file", 200000000000}};

  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem);
  auto* volume = scan.root->asVolume();
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->diskSize(), 0u);
  EXPECT_EQ(volume->filename(), TMFileURL::fromPath(tree.path()).lastPathComponent());
  EXPECT_EQ(volume->volumeSize(), 500000000000u);
  EXPECT_EQ(volume->emptySpace()->diskSize(), 100000000000u);
  EXPECT_EQ(volume->unscannedSpace()->diskSize(), 0u);
  EXPECT_EQ(volume->child()->diskSize(), 200000000000u);
  EXPECT_DOUBLE_EQ(volume->advancementPercentage(), 0.5);
  EXPECT_EQ(volume->unscannedSizeNow(), 200000000000u);
}

TEST(TMVolume, UnscannedSpaceNeverWrapsAndProgressStartsAtZero) {
  TMTemporaryTree tree;
  tree.makeFile("file", 1);
  auto fileSystem = std::make_shared<TMFaultyFileSystem>();
  fileSystem->mountPoints = {tree.path()};
  fileSystem->sizes = {1000000, 400000};
  fileSystem->allocatedSizes = {{"file", 901120}};  // hard links can do this
  TMFinishedScan scan = scanToEnd(tree.path(), fileSystem);
  auto* volume = scan.root->asVolume();
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->unscannedSizeNow(), 0u);
  EXPECT_DOUBLE_EQ(volume->advancementPercentage(), 901120.0 / 600000.0);

  TMNodeArena arena;
  EXPECT_EQ(TMFileTree::create<TMVolume>(arena, "unscanned")->advancementPercentage(), 0.0);
}

TEST(TMScanDriver, TheRealRootIsAVolumeWhoseFreeSpaceMatchesStatvfs) {
  auto queue = std::make_shared<TMManualMainQueue>();
  std::shared_ptr<TMScanTask> task;
  std::shared_ptr<TMFileTree> root =
      createFromPath(TMFileURL::fromPath("/"), nullptr, [] {}, {queue}, task);
  task->requestStop();  // only the measurement is wanted
  task->waitUntilFinished();
  auto* volume = root->asVolume();
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->filename(), "/");
  TMFileSystemSizes sizes = TMFileSystem::posix()->fileSystemSizes("/");
  EXPECT_EQ(volume->volumeSize(), sizes.totalSize);
  EXPECT_GT(volume->volumeSize(), 0u);
  EXPECT_EQ(queue->runPending(), 1u);  // the end notice is queued, and does nothing
}

TEST(TMScanDriver, ReturnsTheEmptyRootThatTheScanThenFills) {
  TMTemporaryTree tree;
  uint64_t size = tree.makeFile("file", 5000);
  auto queue = std::make_shared<TMManualMainQueue>();
  bool ended = false;
  std::shared_ptr<TMScanTask> task;
  std::shared_ptr<TMFileTree> root = createFromPath(
      TMFileURL::fromPath(tree.path()), nullptr, [&] { ended = true; }, {queue}, task);
  const TMFileTree* handedOut = root.get();
  task->waitUntilFinished();
  EXPECT_FALSE(ended);  // the end notice waits for the main queue
  EXPECT_EQ(queue->runPending(), 1u);
  EXPECT_TRUE(ended);
  EXPECT_EQ(root.get(), handedOut);
  EXPECT_EQ(root->diskSize(), size);
}

TEST(TMScanDriver, AnEmptyFolderGivesOneEndNoticeAndNoProgress) {
  TMTemporaryTree tree;
  TMFinishedScan scan = scanToEnd(tree.path());
  EXPECT_EQ(scan.endNotices, 1);
  EXPECT_EQ(scan.receiver->count(), 0u);
  EXPECT_EQ(scan.root->advancementPercentage(), -1.0);
}

// With one thread and with several.
class TMScanDriverStop : public ::testing::TestWithParam<unsigned> {};

TEST_P(TMScanDriverStop, AStoppedScanEndsQuicklyCallsNothingMoreAndReleasesItsTree) {
  TMTemporaryTree tree(TMTemporaryTree::fastestBase());
  for (int i = 0; i < 300; ++i) {
    tree.makeFolder("f" + std::to_string(i));
    for (int j = 0; j < 20; ++j) tree.makeFile("f" + std::to_string(i) + "/" + std::to_string(j));
  }
  auto queue = std::make_shared<TMManualMainQueue>();
  auto receiver = std::make_shared<TMCountingReceiver>();
  std::atomic<bool> stopped{false};
  std::atomic<uint64_t> noticesAfterStop{0};
  std::shared_ptr<TMScanTask> task;
  receiver->onNotice = [&](const TMFileTree*) {
    if (stopped.load()) noticesAfterStop.fetch_add(1);
  };
  bool ended = false;
  TMScanEnvironment environment{queue};
  environment.options.threads = GetParam();
  std::shared_ptr<TMFileTree> root = createFromPath(
      TMFileURL::fromPath(tree.path()), receiver, [&] { ended = true; }, environment, task);
  std::weak_ptr<TMFileTree> watch = root;
  while (receiver->count() < 100 && !task->isFinished()) std::this_thread::yield();

  // The flag is checked before each batch of notices: at most the batches
  // already under way when the request is made can still arrive, one per
  // thread.
  task->requestStop();
  stopped = true;
  auto requested = std::chrono::steady_clock::now();
  task->waitUntilFinished();
  auto took = std::chrono::steady_clock::now() - requested;
  EXPECT_LT(took, std::chrono::milliseconds(500));
  EXPECT_LT(receiver->count(), 300u * 21u);
  const unsigned threads = GetParam();
  EXPECT_LE(noticesAfterStop.load(), threads == 1 ? TMSerialScan::kEntriesBetweenNotices
                                                  : threads * TMParallelScan::kEntriesBetweenSettlements);

  queue->runPending();
  EXPECT_FALSE(ended);
  root.reset();
  EXPECT_TRUE(watch.expired());
}

INSTANTIATE_TEST_SUITE_P(Threads, TMScanDriverStop, ::testing::Values(1u, 4u),
                         caseNamesByThreads);

}  // namespace
}  // namespace tilemora::test
