// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanTask.h"

#include <memory>

#include <thread>

#include "core/platform/TMJobRunner.h"

namespace tilemora {

namespace {

// The scans of the process that have not finished yet.
struct RunningScans {
  std::mutex mutex;
  std::condition_variable changed;
  int count = 0;
};

RunningScans& runningScans() {
  static RunningScans* scans = new RunningScans;  // outlives every scan thread
  return *scans;
}

}  // namespace

TMScanTask::TMScanTask() {
  RunningScans& scans = runningScans();
  std::lock_guard lock(scans.mutex);
  ++scans.count;
}

TMScanTask::~TMScanTask() { thread_.join(); }

std::shared_ptr<TMScanTask> TMScanTask::run(Work work) {
  auto task = std::shared_ptr<TMScanTask>(new TMScanTask);
  TMScanTask* running = task.get();  // the task waits for the thread before it goes
  task->thread_ = TMThread([running, handle = std::weak_ptr<TMScanTask>(task), work = std::move(work)]() mutable {
    work(*running, handle);
    work = nullptr;  // what it holds goes before the task says it is finished
    running->markFinished();
  });
  if (!task->thread_.started()) {
    task->markFinished();
    return nullptr;
  }
  return task;
}

bool TMScanTask::waitForAllScans(std::chrono::milliseconds timeout) {
  RunningScans& scans = runningScans();
  std::unique_lock lock(scans.mutex);
  if (!scans.changed.wait_for(lock, timeout, [&] { return scans.count == 0; })) return false;
  lock.unlock();
  // The jobs of every runner too: they tell no one when they end here, so
  // they are looked at now and then.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (TMJobRunner::runningInProcess() > 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool TMScanTask::isFinished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

void TMScanTask::waitUntilFinished() const {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

void TMScanTask::markFinished() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  finishedChanged_.notify_all();
  RunningScans& scans = runningScans();
  {
    std::lock_guard lock(scans.mutex);
    --scans.count;
  }
  scans.changed.notify_all();
}

}  // namespace tilemora
