// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The handle of one running scan: lets its owner stop it early, wait for
// its thread to finish, and read what the scan reports once it has.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "TMUnreadableFolder.h"
#include "core/platform/TMFileURL.h"
#include "core/platform/TMThread.h"
#include "core/platform/TMTrash.h"

namespace tilemora {

class TMFileTree;
class TMProgressNotifiable;
struct TMFileTreeStorage;
struct TMScanEnvironment;

class TMScanTask {
 public:
  // Asks the scan to stop; it then ends within a few milliseconds without
  // calling its receiver or end notifier again. Any thread.
  void requestStop() {
    stopRequested_.store(true, std::memory_order_relaxed);
    stopSource_.request_stop();
  }
  bool stopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }
  // The same stop, for work that waits on it (a read from a pipe).
  std::stop_token stopToken() const { return stopSource_.get_token(); }

  // Runs `work` on a thread of its own as a task like a scan's: for what
  // fills a tree the way a scan does (a saved scan read as it arrives).
  // `work` looks at the stop asked; the task is finished when it returns.
  // It is given the task, and a weak handle for what it posts to be told
  // only while someone still holds the task. Null when no thread could be had.
  using Work = std::function<void(TMScanTask& task, const std::weak_ptr<TMScanTask>& handle)>;
  static std::shared_ptr<TMScanTask> run(Work work);

  // True once the scan thread has returned and given up the tree.
  bool isFinished() const;
  void waitUntilFinished() const;

  // Waits until no scan of the process is running, and no job of any
  // runner, at most `timeout`; answers whether none is. For tests that wait
  // for work to settle.
  static bool waitForAllScans(std::chrono::milliseconds timeout);

  // Waits for the scan's thread to end: ask the scan to stop first.
  ~TMScanTask();


  // Folders that could not be opened (counted as empty): how many, and
  // each one. Written by the scan before it announces its end; read them
  // after the end notice has run, or once finished.
  uint64_t unreadableFolderCount() const { return unreadableFolderCount_; }
  // Folders a stopped scan had not listed whole (none for a scan that ran
  // to its end); read once finished.
  uint64_t cutShortFolderCount() const { return cutShortFolderCount_; }
  // Entries the exclusions left out; read once finished.
  uint64_t excludedCount() const { return excludedCount_; }
  // What the scan opened at its path ({0, 0} when it could not open it);
  // read it once finished.
  const TMFileIdentity& rootIdentity() const { return rootIdentity_; }
  const std::vector<TMUnreadableFolder>& unreadableFolders() const { return unreadableFolders_; }
  // What the scanned tree is made of, while its root is held (null after).
  std::shared_ptr<TMFileTreeStorage> treeStorage() const { return storage_.lock(); }

 private:
  friend std::shared_ptr<TMFileTree> createFromPath(const TMFileURL&, std::shared_ptr<TMProgressNotifiable>,
                                                    std::function<void()>, const TMScanEnvironment&,
                                                    std::shared_ptr<TMScanTask>&);
  TMScanTask();
  void markFinished();

  std::atomic<bool> stopRequested_{false};
  std::stop_source stopSource_;
  mutable std::mutex mutex_;
  mutable std::condition_variable finishedChanged_;
  bool finished_ = false;
  uint64_t unreadableFolderCount_ = 0;
  uint64_t cutShortFolderCount_ = 0;
  uint64_t excludedCount_ = 0;
  std::vector<TMUnreadableFolder> unreadableFolders_;
  TMFileIdentity rootIdentity_;
  std::weak_ptr<TMFileTreeStorage> storage_;
  TMThread thread_;  // the scan; joined before anything else of the task goes
};

}  // namespace tilemora
