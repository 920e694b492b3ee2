// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several threads scanning one tree. Each thread lists folders depth first
// exactly as a one-thread scan does; while another thread is idle (or fewer
// than a few sub-folders wait for the next one to be), the next sub-folder a
// thread meets is queued for another thread, already open, instead of being
// descended into. What one thread lists from such a hand-off on is a branch.
//
// The tree comes out the same as with one thread: every folder's children
// are appended in listing order by the one thread that lists it, and sorted
// once their sizes are final. A folder from which a sub-folder was handed
// off (directly or further down) waits for that: it is sorted when its
// branch and every branch handed off from it have ended, by the thread that
// ends the last of them.
//
// Sizes: a thread adds each file's size at once to the folders of its own
// branch (atomically: branches below add to them too) and keeps what it owes
// the folders above its branch, adding it every few hundred entries and when
// its branch ends, so the folders near the root are not fought over.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "TMInodeSet.h"
#include "TMScanBranch.h"
#include "TMScanObserver.h"

namespace tilemora {

class TMFolderTree;
struct TMScanningContext_t;

class TMParallelScan {
 public:
  // Scans `start`, open at `descriptor` (on `device`, as `inode`), with
  // `threads` threads, the calling one among them, and the settings of
  // `context`; returns when the whole tree has been listed and sorted (or
  // the scan told to stop). The threads' unreadable folders and retired
  // lists end up in `context` and its recycler. With an observer that
  // follows threads, `start` was entered and handed off as `observed`.
  static void scan(TMFolderTree* start, int descriptor, dev_t device, ino_t inode, unsigned threads,
                   TMScanningContext_t* context, std::shared_ptr<TMScanObserver::HandOff> observed = nullptr);

  // Branches kept queued beyond one per idle thread: most branches are a
  // few files listed in microseconds, and a thread that ends one finds the
  // next waiting instead of waiting for another thread to meet a folder.
  static constexpr int kSpareBranches = 2;
  // A thread tells its entries and adds the sizes it owes above its branch
  // every this many entries.
  static constexpr uint32_t kEntriesBetweenSettlements = 256;

 private:
  struct Task {
    TMFolderTree* folder;
    int descriptor;
    dev_t device;
    ino_t inode;
    TMScanBranch* branch;
    std::shared_ptr<TMScanObserver::HandOff> observed;  // what the observer handed off with it
  };
  class Thread;

  TMParallelScan() = default;
  // Lists the branches handed to `thread` until the whole tree is done.
  void work(Thread& thread);
  // Whether a sub-folder would be taken now (a thread is idle, or fewer
  // than kSpareBranches wait): a look without the lock, made before each
  // sub-folder.
  bool wantsFolder() const { return openings_.load(std::memory_order_relaxed) > 0; }
  // Queues `task` for another thread unless it would not be taken soon.
  bool queue(const Task& task, TMScanBranch& from);
  bool isFirstLink(dev_t device, ino_t inode);
  // One listing or hand-off of `branch` has ended; sorts the folders that
  // waited once nothing below them is unfinished, going up as branches end.
  void endBranchPart(TMScanBranch* branch, TMScanningContext_t& context);
  void updateOpenings();  // with mutex_ held

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Task> queue_;
  int idleThreads_ = 0;
  bool done_ = false;
  // Idle threads plus kSpareBranches less the queued branches, the queued
  // branches, and done_, for looks without the lock.
  std::atomic<int> openings_{0};
  std::atomic<int> queued_{0};
  std::atomic<bool> finished_{false};
  static constexpr int kAwakeChecks = 200;

  std::mutex linksMutex_;
  TMInodeSet linkedFilesSeen_;
};

}  // namespace tilemora
