// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main queue served explicitly by its owner's thread: whoever calls
// runPending() or runNextWithin() is the main thread.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "TMMainQueue.h"

namespace tilemora {

class TMManualMainQueue : public TMMainQueue {
 public:
  void post(std::function<void()> work) override;

  // Runs every closure queued so far (and those they queue); answers how many ran.
  size_t runPending();

  // Waits up to `timeout` for a closure and runs it; answers whether one ran.
  bool runNextWithin(std::chrono::milliseconds timeout);

  size_t pendingCount() const;
  // Waits up to `timeout` for a closure without running it; answers whether
  // one is waiting (as an event loop sleeps until there is work).
  bool waitForWork(std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable posted_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace tilemora
