// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMParallelScan.h"

#include <algorithm>
#include <memory>
#include <thread>
#include <utility>

#include "TMFolderScan.h"
#include "TMScanStrategy.h"
#include "TMScanningContext.h"
#include "core/filetree/TMChildListRecycler.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMNodeArena.h"
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

// One of the threads: its context, its decisions, and where it puts what it
// makes (nodes in its own chunks of the tree's arena, replaced lists in its
// own recycler). Aligned so that no two threads write one cache line.
class alignas(64) TMParallelScan::Thread final : public TMScanStrategy {
 public:
  Thread(TMParallelScan& scan, const TMScanningContext_t& settings) : scan_(scan), arena_(*settings.arena) {
    context.updateReceiver = settings.updateReceiver;
    context.options = settings.options;
    context.fileSystem = settings.fileSystem;
    context.arena = &arena_;
    context.recycler = &recycler;
    context.stopRequested = settings.stopRequested;
    context.rootPath = settings.rootPath;
    context.strategy = this;
    if (settings.observer != nullptr) observer = settings.observer->forAnotherThread();
    context.observer = observer.get();
  }

  // Lists what `task` hands this thread, down to its end.
  void listBranch(const Task& task) {
    branch_ = task.branch;
    context.parentCount = 0;
    context.handOffs = 0;
    context.branch = branch_;
    if (observer != nullptr) observer->folderTakenOver(task.observed);
    bool wholeListing = false;
    {
      TMOpenFolderChain openFolders(*context.fileSystem, kKeptOpenPerThread);
      openFolders.enter(task.descriptor, task.device, task.inode);
      if (!context.shouldStop()) {
        context.openFolders = &openFolders;
        if (context.options.crossMountPoints) context.pathIdentities.assign({{task.device, task.inode}});
        wholeListing = TMFolderScan(context).populateChildListAtUrl(*task.folder, task.device);
        context.openFolders = nullptr;
      } else {
        // Handed over, never listed.
        task.folder->markCutShort();
        ++context.cutShortFolderCount;
      }
    }
    if (observer != nullptr) observer->folderLeft(!wholeListing);
    settle();
    recycler.reclaimIfUnread();
    scan_.endBranchPart(branch_, context);
    branch_ = nullptr;
  }

  bool handOff(TMFolderTree* folder, int descriptor, dev_t device, ino_t inode,
               TMScanningContext_t& walk) override {
    if (!scan_.wantsFolder()) return false;
    auto branch = std::make_unique<TMScanBranch>();
    branch->parent = branch_;
    branch->foldersAbove.assign(walk.parentStack.begin(), walk.parentStack.begin() + walk.parentCount);
    if (walk.options.crossMountPoints) branch->identitiesAbove = walk.pathIdentities;
    // The observer is told before another thread can take the folder.
    std::shared_ptr<TMScanObserver::HandOff> observed;
    if (observer != nullptr) observed = observer->folderHandedOff();
    if (!scan_.queue({folder, descriptor, device, inode, branch.get(), observed}, *branch_)) {
      if (observer != nullptr) observer->folderTakenOver(observed);
      return false;
    }
    branch.release();
    return true;
  }

  bool isFirstLink(dev_t device, ino_t inode) override { return scan_.isFirstLink(device, inode); }

  void addToSizesAbove(TMFolderTree& folder, uint64_t size, TMScanningContext_t& walk) override {
    // Branches below this thread's add to these folders too.
    folder.addToDiskSizeShared(size);
    walk.sizeOwedAbove += size;
  }

  void settleSizesAbove(TMScanningContext_t& walk) override {
    const uint64_t owed = std::exchange(walk.sizeOwedAbove, 0);
    if (owed == 0) return;
    for (int32_t i = walk.parentCount - 1; i >= 0; --i) walk.parentStack[size_t(i)]->addToDiskSizeShared(owed);
    sizeOwedAbove_ += owed;
  }

  void entryAccepted(TMScanningContext_t&) override {
    if (++unreportedEntries_ == kEntriesBetweenSettlements) settle();
  }

  void sortWhenHandedOffListed(TMFolderTree& folder) override { branch_->waitingFolders.push_back(&folder); }

  TMScanningContext_t context;
  TMChildListRecycler recycler;
  std::unique_ptr<TMScanObserver> observer;  // this thread's, when the scan is observed

 private:
  // Adds to the folders above the branch the size owed them, and reports
  // the unreported entries.
  void settle() {
    settleSizesAbove(context);
    if (sizeOwedAbove_ != 0) {
      branch_->forEachFolderAbove([&](TMFolderTree& folder) { folder.addToDiskSizeShared(sizeOwedAbove_); });
      sizeOwedAbove_ = 0;
    }
    if (unreportedEntries_ != 0 && context.updateReceiver != nullptr && !context.shouldStop())
      context.updateReceiver->notifyFilesScanned(unreportedEntries_);
    unreportedEntries_ = 0;
  }

  TMParallelScan& scan_;
  TMNodeArena arena_;
  TMScanBranch* branch_ = nullptr;  // what this thread lists now
  uint64_t sizeOwedAbove_ = 0;      // bytes found not yet added above the branch
  uint32_t unreportedEntries_ = 0;  // entries accepted since the last notice
};

void TMParallelScan::scan(TMFolderTree* start, int descriptor, dev_t device, ino_t inode, unsigned threads,
                          TMScanningContext_t* context, std::shared_ptr<TMScanObserver::HandOff> observed) {
  // The helpers are joined before this returns.
  std::unique_ptr<TMParallelScan> scan(new TMParallelScan);
  std::vector<std::unique_ptr<Thread>> states;
  for (unsigned i = 0; i < std::max(threads, 1u); ++i) states.push_back(std::make_unique<Thread>(*scan, *context));
  scan->queue_.push_back({start, descriptor, device, inode, new TMScanBranch, std::move(observed)});

  std::vector<TMThread> helpers;
  for (size_t i = 1; i < states.size(); ++i) {
    Thread* helper = states[i].get();
    helpers.emplace_back([&scan = *scan, helper] { scan.work(*helper); });
    // Fewer threads than asked: the others share the work.
    if (!helpers.back().started()) break;
  }
  scan->work(*states[0]);
  for (TMThread& helper : helpers) helper.join();

  for (const auto& state : states) {
    if (state->observer != nullptr) state->observer->threadEnded();
    context->recycler->takeOver(state->recycler);
    const TMScanningContext_t& helper = state->context;
    context->unreadableFolderCount += helper.unreadableFolderCount;
    context->cutShortFolderCount += helper.cutShortFolderCount;
    context->excludedCount += helper.excludedCount;
    context->unreadableFolders.insert(context->unreadableFolders.end(), helper.unreadableFolders.begin(),
                                      helper.unreadableFolders.end());
  }
}

void TMParallelScan::work(Thread& thread) {
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
    thread.listBranch(task);
  }
}

void TMParallelScan::updateOpenings() {
  openings_.store(idleThreads_ + kSpareBranches - int(queue_.size()), std::memory_order_relaxed);
  queued_.store(int(queue_.size()), std::memory_order_relaxed);
}

bool TMParallelScan::queue(const Task& task, TMScanBranch& from) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (idleThreads_ + kSpareBranches <= int(queue_.size())) return false;
    from.unfinished.fetch_add(1, std::memory_order_relaxed);
    queue_.push_back(task);
    updateOpenings();
  }
  changed_.notify_one();
  return true;
}

bool TMParallelScan::isFirstLink(dev_t device, ino_t inode) {
  std::lock_guard<std::mutex> lock(linksMutex_);
  return linkedFilesSeen_.emplace(device, inode).second;
}

void TMParallelScan::endBranchPart(TMScanBranch* branch, TMScanningContext_t& context) {
  // The release orders this thread's writes to the tree before the count
  // falls; the thread that takes it to zero acquires them before sorting.
  while (branch->unfinished.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    for (TMFolderTree* folder : branch->waitingFolders) TMFolderScan::finishChildList(*folder, context);
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
