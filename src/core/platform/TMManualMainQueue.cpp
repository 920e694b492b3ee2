// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMManualMainQueue.h"

namespace tilemora {

void TMManualMainQueue::post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
  }
  posted_.notify_one();
}

size_t TMManualMainQueue::runPending() {
  size_t ran = 0;
  while (runNextWithin(std::chrono::milliseconds(0))) ++ran;
  return ran;
}

bool TMManualMainQueue::runNextWithin(std::chrono::milliseconds timeout) {
  std::function<void()> work;
  {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return false;
    work = std::move(queue_.front());
    queue_.pop_front();
  }
  work();
  return true;
}

bool TMManualMainQueue::waitForWork(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
}

size_t TMManualMainQueue::pendingCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace tilemora
