// SPDX-License-Identifier: GPL-3.0-or-later
// The job runner: a job stopped mid-way delivers nothing, and its end is
// told as a stop; what waits for the tree's readers runs once they have
// ended, from the queue; the runner's end waits for every job. Run under
// ThreadSanitizer, the same cases prove the hand-overs do not race.

#include "core/platform/TMJobRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/platform/TMManualMainQueue.h"
#include "support/TMCaseNames.h"

namespace tilemora::test {
namespace {

using Clock = std::chrono::steady_clock;

// A job that walks until told to stop or `steps` are done, counting them,
// then delivers how far it got.
struct Walk {
  std::atomic<int> walked{0};
  std::atomic<bool> started{false};
  int delivered = -1;
  int endings = 0;
  bool endedStopped = false;
};

TMJobRunner::Work walking(Walk& walk, int steps) {
  return [&walk, steps](const TMJobRunner::Job& job) {
    walk.started = true;
    while (walk.walked < steps && !job.stopRequested()) {
      ++walk.walked;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    job.post([&walk] { walk.delivered = walk.walked; });
  };
}

std::function<void(bool)> ending(Walk& walk) {
  return [&walk](bool stopped) {
    ++walk.endings;
    walk.endedStopped = stopped;
  };
}

// Serves `queue` until `done` or a generous time has passed.
template <class Done>
void serveUntil(TMManualMainQueue& queue, Done done) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (!done() && Clock::now() < deadline) queue.runNextWithin(std::chrono::milliseconds(10));
}

struct StopCase {
  std::string name;
  bool stopMidway;  // asked to stop while it walks
};

class TMJobRunnerStop : public ::testing::TestWithParam<StopCase> {};

TEST_P(TMJobRunnerStop, AJobStoppedMidwayAnswersNothingAndEndsAsStopped) {
  auto queue = std::make_shared<TMManualMainQueue>();
  TMJobRunner runner(queue);
  Walk walk;
  const uint64_t job = runner.start("walking", TMJobRunner::Reads::kTheTree, walking(walk, 50), ending(walk));
  ASSERT_NE(job, 0u);
  EXPECT_TRUE(runner.isRunning(job));
  EXPECT_EQ(runner.treeReaderName(), "walking");
  while (!walk.started) std::this_thread::yield();
  if (GetParam().stopMidway) runner.stop(job);
  serveUntil(*queue, [&] { return walk.endings > 0; });
  EXPECT_EQ(walk.endings, 1);
  EXPECT_FALSE(runner.isRunning(job));
  EXPECT_EQ(runner.runningCount(), 0u);
  EXPECT_EQ(walk.endedStopped, GetParam().stopMidway);
  // Stopped: nothing delivered; else the whole walk.
  EXPECT_EQ(walk.delivered, GetParam().stopMidway ? -1 : 50);
  if (GetParam().stopMidway) {
    EXPECT_LT(walk.walked.load(), 50);
  }
}

INSTANTIATE_TEST_SUITE_P(Jobs, TMJobRunnerStop,
                         ::testing::Values(StopCase{"walked to its end", false}, StopCase{"stopped midway", true}),
                         caseNamesByName);

// Before the tree changes: the readers are asked to stop, what waits runs
// from the queue once they have ended, and other jobs go on.
TEST(TMJobRunner, WhatWaitsForTheTreeRunsOnceItsReadersHaveEnded) {
  auto queue = std::make_shared<TMManualMainQueue>();
  TMJobRunner runner(queue);
  bool changed = false;
  runner.afterTreeReaders([&] { changed = true; });
  EXPECT_TRUE(changed);  // none reads it: at once

  Walk reader, other;
  runner.start("reading", TMJobRunner::Reads::kTheTree, walking(reader, 100000), ending(reader));
  runner.start("elsewhere", TMJobRunner::Reads::kNothingShared, walking(other, 100000), ending(other));
  while (!reader.started || !other.started) std::this_thread::yield();
  changed = false;
  runner.afterTreeReaders([&] {
    changed = true;
    EXPECT_FALSE(runner.treeIsRead());
    EXPECT_EQ(reader.endings, 1);
  });
  EXPECT_FALSE(changed);  // the main thread does not wait
  serveUntil(*queue, [&] { return changed; });
  EXPECT_TRUE(changed);
  EXPECT_TRUE(reader.endedStopped);
  EXPECT_EQ(reader.delivered, -1);
  EXPECT_EQ(other.endings, 0);  // reads nothing of the tree: untouched
  EXPECT_EQ(runner.runningCount(), 1u);
}

// A runner that goes stops its jobs and waits for them: nothing runs on,
// and nothing is delivered after it.
TEST(TMJobRunner, ItsEndWaitsForEveryJobAndDropsWhatTheyDeliver) {
  auto queue = std::make_shared<TMManualMainQueue>();
  Walk walks[3];
  const int runningBefore = TMJobRunner::runningInProcess();
  {
    TMJobRunner runner(queue);
    for (Walk& walk : walks) runner.start("walking", TMJobRunner::Reads::kTheTree, walking(walk, 100000), ending(walk));
    for (Walk& walk : walks) {
      while (!walk.started) std::this_thread::yield();
    }
    EXPECT_EQ(TMJobRunner::runningInProcess(), runningBefore + 3);
  }
  EXPECT_EQ(TMJobRunner::runningInProcess(), runningBefore);
  queue->runPending();
  for (const Walk& walk : walks) {
    EXPECT_EQ(walk.delivered, -1);
    EXPECT_EQ(walk.endings, 0);
  }
}

}  // namespace
}  // namespace tilemora::test
