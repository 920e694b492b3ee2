// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMScanTask.h"

#include <memory>

#include "core/platform/TMThread.h"

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

bool TMScanTask::waitForAllScans(std::chrono::milliseconds timeout) {
  RunningScans& scans = runningScans();
  std::unique_lock lock(scans.mutex);
  return scans.changed.wait_for(lock, timeout, [&] { return scans.count == 0; });
}

bool TMScanTask::isFinished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

void TMScanTask::waitUntilFinished() const {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

bool TMScanTask::startFinishingWork(std::function<void()> work) {
  auto task = std::shared_ptr<TMScanTask>(new TMScanTask);
  if (startDetachedThread([task, work = std::move(work)]() mutable {
        // What the work holds goes before it counts as finished.
        std::function<void()> running = std::move(work);
        running();
        running = nullptr;
        task->markFinished();
      }))
    return true;
  task->markFinished();
  return false;
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
