// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The handle of one running scan: lets its owner stop it early, wait for
// its thread to finish, and read what the scan reports once it has.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "TMUnreadableFolder.h"
#include "core/platform/TMTrash.h"

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

  // Runs `work` on a thread of its own, counted among the running scans
  // until it returns: the work that finishes a scan (its full map) is
  // waited for at exit like the scan. False when no thread could be started.
  static bool startFinishingWork(std::function<void()> work);

  // Folders that could not be opened (counted as empty): how many, and
  // each one. Written by the scan before it announces its end; read them
  // after the end notice has run, or once finished.
  uint64_t unreadableFolderCount() const { return unreadableFolderCount_; }
  // What the scan opened at its path ({0, 0} when it could not open it);
  // read it once finished.
  const TMFileIdentity& rootIdentity() const { return rootIdentity_; }
  const std::vector<TMUnreadableFolder>& unreadableFolders() const { return unreadableFolders_; }

 private:
  friend class TMFileTree;
  TMScanTask();
  void markFinished();

  std::atomic<bool> stopRequested_{false};
  mutable std::mutex mutex_;
  mutable std::condition_variable finishedChanged_;
  bool finished_ = false;
  uint64_t unreadableFolderCount_ = 0;
  std::vector<TMUnreadableFolder> unreadableFolders_;
  TMFileIdentity rootIdentity_;
};

}  // namespace tilemora
