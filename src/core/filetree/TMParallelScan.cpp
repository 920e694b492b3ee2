// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMParallelScan.h"

#include <algorithm>
#include <thread>

#include "TMChildListRecycler.h"
#include "TMFolderTree.h"
#include "TMNodeArena.h"
#include "core/platform/TMFileSystem.h"
#include "core/platform/TMThread.h"

namespace tilemora {

namespace {

// Each thread keeps fewer levels open than a one-thread scan: a branch
// waiting in the queue holds its folder open meanwhile. With at most one
// branch queued per idle thread and kSpareBranches more, the scan holds no
// more open folders than one-thread scans would, one per thread.
constexpr size_t kKeptOpenPerThread = TMOpenFolderChain::kKeptOpen - size_t(TMParallelScan::kSpareBranches);

}  // namespace

// What one thread works with: nodes go to its own chunks of the tree's
// arena, the lists it replaces to its own recycler. Aligned so that no two
// threads write one cache line.
struct alignas(64) TMParallelScan::Thread {
  Thread(TMParallelScan& scan, const TMScanningContext_t& settings) : arena(*settings.arena) {
    context.updateReceiver = settings.updateReceiver;
    context.options = settings.options;
    context.fileSystem = settings.fileSystem;
    context.arena = &arena;
    context.recycler = &recycler;
    context.stopRequested = settings.stopRequested;
    context.rootPath = settings.rootPath;
    context.parallel = &scan;
  }
  TMNodeArena arena;
  TMChildListRecycler recycler;
  TMScanningContext_t context;
};

void TMParallelScan::scan(TMFolderTree* start, int descriptor, dev_t device, ino_t inode, unsigned threads,
                          TMScanningContext_t* context) {
  // Shared with the helper threads, which may still be returning when the
  // calling thread goes on.
  std::shared_ptr<TMParallelScan> scan(new TMParallelScan);
  std::vector<std::unique_ptr<Thread>> states;
  for (unsigned i = 0; i < std::max(threads, 1u); ++i) states.push_back(std::make_unique<Thread>(*scan, *context));
  scan->queue_.push_back({start, descriptor, device, inode, new TMScanBranch});

  for (size_t i = 1; i < states.size(); ++i) {
    {
      std::lock_guard<std::mutex> lock(scan->mutex_);
      ++scan->runningHelpers_;
    }
    TMScanningContext_t* helperContext = &states[i]->context;
    const bool started = startDetachedThread([scan, helperContext] {
      scan->work(*helperContext);
      std::lock_guard<std::mutex> lock(scan->mutex_);
      --scan->runningHelpers_;
      scan->changed_.notify_all();
    });
    if (!started) {
      // Fewer threads than asked: the others share the work.
      std::lock_guard<std::mutex> lock(scan->mutex_);
      --scan->runningHelpers_;
      break;
    }
  }
  scan->work(states[0]->context);
  {
    std::unique_lock<std::mutex> lock(scan->mutex_);
    scan->changed_.wait(lock, [&] { return scan->runningHelpers_ == 0; });
  }

  for (const auto& state : states) {
    context->recycler->takeOver(state->recycler);
    const TMScanningContext_t& helper = state->context;
    context->unreadableFolderCount += helper.unreadableFolderCount;
    context->unreadableFolders.insert(context->unreadableFolders.end(), helper.unreadableFolders.begin(),
                                      helper.unreadableFolders.end());
  }
}

void TMParallelScan::work(TMScanningContext_t& context) {
  for (;;) {
    Task task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ++idleThreads_;
      updateOpenings();
      if (queue_.empty() && !done_) {
        // Waking a sleeping thread takes longer than most branches take to
        // list: wait awake for a moment first.
        lock.unlock();
        for (int i = 0; i < kAwakeChecks && queued_.load(std::memory_order_relaxed) == 0 &&
                        !finished_.load(std::memory_order_relaxed);
             ++i)
          std::this_thread::yield();
        lock.lock();
      }
      changed_.wait(lock, [&] { return done_ || !queue_.empty(); });
      --idleThreads_;
      if (queue_.empty()) {
        updateOpenings();
        return;
      }
      task = queue_.front();
      queue_.pop_front();
      updateOpenings();
    }
    listBranch(task, context);
  }
}

void TMParallelScan::updateOpenings() {
  openings_.store(idleThreads_ + kSpareBranches - int(queue_.size()), std::memory_order_relaxed);
  queued_.store(int(queue_.size()), std::memory_order_relaxed);
}

bool TMParallelScan::handOff(TMFolderTree* folder, int descriptor, dev_t device, ino_t inode,
                             TMScanningContext_t* context) {
  auto branch = std::make_unique<TMScanBranch>();
  branch->parent = context->branch;
  const auto& parents = context->parentStack;
  branch->above.assign(parents.begin(), parents.begin() + context->parentCount);
  if (context->options.crossMountPoints) branch->identitiesAbove = context->pathIdentities;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (idleThreads_ + kSpareBranches <= int(queue_.size())) return false;
    context->branch->unfinished.fetch_add(1, std::memory_order_relaxed);
    queue_.push_back({folder, descriptor, device, inode, branch.release()});
    updateOpenings();
  }
  changed_.notify_one();
  ++context->handOffs;
  return true;
}

bool TMParallelScan::isFirstLink(dev_t device, ino_t inode) {
  std::lock_guard<std::mutex> lock(linksMutex_);
  return linkedFilesSeen_.emplace(device, inode).second;
}

void TMParallelScan::listBranch(const Task& task, TMScanningContext_t& context) {
  context.branch = task.branch;
  context.parentCount = 0;
  {
    TMOpenFolderChain openFolders(*context.fileSystem, kKeptOpenPerThread);
    openFolders.enter(task.descriptor, task.device, task.inode);
    if (!context.shouldStop()) {
      context.openFolders = &openFolders;
      if (context.options.crossMountPoints) context.pathIdentities.assign({{task.device, task.inode}});
      task.folder->populateChildListAtUrl(task.device, &context);
      context.openFolders = nullptr;
    }
  }
  settle(&context);
  context.recycler->reclaimIfUnread();
  endBranchPart(task.branch, context);
  context.branch = nullptr;
}

void TMParallelScan::settle(TMScanningContext_t* context) {
  if (context->sizeOwedAbove != 0) {
    for (TMScanBranch* branch = context->branch; branch != nullptr; branch = branch->parent) {
      for (TMFolderTree* folder : branch->above) folder->addToDiskSizeShared(context->sizeOwedAbove);
    }
    context->sizeOwedAbove = 0;
  }
  if (context->unreportedEntries != 0 && context->updateReceiver != nullptr && !context->shouldStop())
    context->updateReceiver->notifyFilesScanned(context->unreportedEntries);
  context->unreportedEntries = 0;
}

void TMParallelScan::endBranchPart(TMScanBranch* branch, TMScanningContext_t& context) {
  // The release orders this thread's writes to the tree before the count
  // falls; the thread that takes it to zero acquires them before sorting.
  while (branch->unfinished.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    for (TMFolderTree* folder : branch->waitingFolders) folder->finishChildList(&context);
    TMScanBranch* parent = branch->parent;
    delete branch;
    if (parent == nullptr) {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
      finished_.store(true, std::memory_order_relaxed);
      changed_.notify_all();
      return;
    }
    branch = parent;
  }
}

}  // namespace tilemora
