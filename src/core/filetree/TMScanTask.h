#pragma once
// The handle of one running scan: lets its owner stop it early and wait for
// its thread to finish.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tilemora {

class TMScanTask {
 public:
  // Asks the scan to stop; it then ends within a few milliseconds without
  // calling its receiver or end notifier again. Any thread.
  void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
  bool stopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }

  // True once the scan thread has returned and given up the tree.
  bool isFinished() const;
  void waitUntilFinished() const;

  // Waits until no scan of the process is running, at most `timeout`;
  // answers whether none is. For a clean exit after stopping every scan.
  static bool waitForAllScans(std::chrono::milliseconds timeout);

 private:
  friend class TMFileTree;
  TMScanTask();
  void markFinished();

  std::atomic<bool> stopRequested_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable finishedChanged_;
  bool finished_ = false;
};

}  // namespace tilemora
