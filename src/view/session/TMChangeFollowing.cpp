// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChangeFollowing.h"

#include <atomic>
#include <optional>
#include <stop_token>
#include <vector>

#include "view/controller/TMMainWindowController.h"
#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMVolume.h"
#include "core/follow/TMChangeCollector.h"
#include "core/follow/TMFolderUpdatePlanning.h"
#include "core/follow/TMTreeWatching.h"
#include "core/follow/TMWatchTable.h"
#include "core/platform/TMFolderWatch.h"
#include "core/platform/TMJobRunner.h"

namespace tilemora {

// One followed tree: what its jobs share, held by each of them.
struct TMChangeFollowing::Followed {
  std::shared_ptr<TMFileTreeStorage> storage;  // keeps the tree
  TMFolderTree* top = nullptr;
  TMScanEnvironment environment;
  TMFolderWatch watch;
  std::unique_ptr<TMWatchTable> table;
};

namespace {

// Calls `deliver` with the follower, if it is still there.
template <class Deliver>
auto whileAlive(const std::shared_ptr<TMChangeFollowing*>& self, Deliver deliver) {
  return [weak = std::weak_ptr<TMChangeFollowing*>(self), deliver = std::move(deliver)](auto&&... arguments) mutable {
    if (auto alive = weak.lock()) deliver(**alive, std::forward<decltype(arguments)>(arguments)...);
  };
}

timespec realTimeNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

}  // namespace

TMChangeFollowing::TMChangeFollowing(TMJobRunner& jobs, TMMainWindowController& controller)
    : jobs_(jobs), controller_(controller) {}

TMChangeFollowing::~TMChangeFollowing() { stop(); }

void TMChangeFollowing::setEnabled(bool enabled) {
  enabled_ = enabled;
  treeShown();
}

void TMChangeFollowing::treeShown() {
  std::shared_ptr<TMFileTreeStorage> storage = enabled_ ? controller_.followableTreeStorage() : nullptr;
  if (followed_ && storage == followed_->storage) return;  // the same tree, still followed
  stop();
  if (storage) {
    followed_ = std::make_shared<Followed>();
    followed_->storage = std::move(storage);
    start();
  }
  tellStatus();
}

void TMChangeFollowing::start() {
  Followed& followed = *followed_;
  TMFileTree* root = followed.storage->root;
  followed.top = root->asVolume() ? root->asVolume()->child() : root->asFolder();
  followed.environment = controller_.shownScanEnvironment();
  const uint64_t limit = TMWatchTable::limitFor(TMFolderWatch::maxUserWatches());
  followed.table = std::make_unique<TMWatchTable>(followed.watch, controller_.scannedUrl()->path(), limit);
  if (followed.watch.error() != 0 || followed.top == nullptr) {
    followed_.reset();
    return;
  }
  // The watches go on first, from the tree; the events of those already on
  // are queued meanwhile.
  startWatching();
  watcherJob_ = jobs_.start(
      "following changes", TMJobRunner::Reads::kNothingShared,
      [held = followed_, weakSelf = std::weak_ptr<TMChangeFollowing*>(self_)](const TMJobRunner::Job& job) {
        TMChangeCollector collector(*held->table);
        std::stop_callback wake(job.stopToken(), [&] { held->watch.wake(); });
        std::vector<TMFolderWatch::Event> events;
        using Clock = std::chrono::steady_clock;
        // When the folders gathered go: kCoalescing after the first event,
        // and kRoundSpacing after the last ones went (never: none gathered).
        constexpr Clock::time_point kNone = Clock::time_point::max();
        Clock::time_point handOverAt = kNone;
        Clock::time_point handedOverAt;
        while (!job.stopRequested()) {
          const auto now = Clock::now();
          const auto wait = handOverAt != kNone
                                ? std::max(std::chrono::milliseconds(0),
                                           std::chrono::duration_cast<std::chrono::milliseconds>(handOverAt - now))
                                : std::chrono::milliseconds(1000);
          events.clear();
          if (!held->watch.read(events, wait)) break;
          if (events.empty()) collector.noteDrained(realTimeNow());
          collector.take(events);
          if (collector.takeOverflow()) collector.markFoldersChangedSinceDrained(*held->environment.fileSystem);
          if (collector.hasFolders() && handOverAt == kNone)
            handOverAt = std::max(Clock::now() + kCoalescing, handedOverAt + kRoundSpacing);
          if (handOverAt != kNone && Clock::now() >= handOverAt) {
            handOverAt = kNone;
            handedOverAt = Clock::now();
            auto self = weakSelf.lock();
            if (!self) break;
            job.post(whileAlive(self, [folders = collector.takeFolders()](TMChangeFollowing& follower) mutable {
              follower.changed(std::move(folders));
            }));
          }
        }
      });
}

void TMChangeFollowing::startWatching() {
  watchingJob_ = jobs_.start(
      "watching the scanned folders", TMJobRunner::Reads::kTheTree,
      [held = followed_](const TMJobRunner::Job& job) { watchScannedTree(*held->top, *held->table, job.stopToken()); },
      whileAlive(self_, [held = std::weak_ptr<Followed>(followed_)](TMChangeFollowing& self, bool stopped) {
        if (!self.followed_ || held.lock() != self.followed_) return;
        self.watchingJob_ = 0;
        // Stopped for a change of the tree: the watches are put on again
        // once it is made (resume; those on already stay).
        self.watchingDone_ = !stopped;
        self.tellStatus();
      }));
}

void TMChangeFollowing::stop() {
  for (uint64_t* job : {&watcherJob_, &watchingJob_, &roundJob_}) {
    if (*job != 0) jobs_.stop(*job);
    *job = 0;
  }
  followed_.reset();
  watchingDone_ = false;
  roundRunning_ = false;
  waiting_.clear();
}

void TMChangeFollowing::resume() {
  if (followed_ && !watchingDone_ && watchingJob_ == 0) startWatching();
  if (!roundRunning_) startRound();
}

void TMChangeFollowing::changed(std::set<std::string> folders) {
  waiting_.merge(folders);
  if (!roundRunning_) startRound();
}

void TMChangeFollowing::startRound() {
  if (!followed_ || waiting_.empty()) return;
  roundRunning_ = true;
  auto folders = std::make_shared<const std::set<std::string>>(std::exchange(waiting_, {}));
  auto plan = std::make_shared<std::optional<TMChangePlan>>();
  TMFollowedTree tree;
  tree.top = followed_->top;
  tree.arena = &followed_->storage->arena;
  tree.watches = followed_->table.get();
  tree.environment = followed_->environment;
  tree.measure = controller_.treeMeasure();
  const uint64_t version = controller_.treeVersion();
  auto requeue = [folders](TMChangeFollowing& self) {
    self.waiting_.insert(folders->begin(), folders->end());
    self.roundRunning_ = false;
  };
  roundJob_ = jobs_.start(
      "listing changed folders", TMJobRunner::Reads::kTheTree,
      [held = followed_, tree, folders, plan, version](const TMJobRunner::Job& job) {
        std::atomic<bool> stopped{false};
        std::stop_callback stopping(job.stopToken(), [&] { stopped.store(true); });
        *plan = planFolderUpdates(*folders, tree, &stopped);
        (*plan)->treeVersion = version;
      },
      whileAlive(self_, [held = std::weak_ptr<Followed>(followed_), plan, requeue](TMChangeFollowing& self, bool stopped) {
        if (held.lock() != self.followed_ || !self.followed_) return;
        self.roundJob_ = 0;
        // Stopped for a change of the tree: listed again once it is made.
        if (stopped || !*plan) return requeue(self);
        if ((*plan)->isEmpty()) {
          // Written or touched without a change of size: the work reading
          // the tree goes on undisturbed.
          self.roundRunning_ = false;
          return self.resume();
        }
        self.jobs_.afterTreeReaders(whileAlive(self.self_, [held, plan, requeue](TMChangeFollowing& follower) {
          if (held.lock() != follower.followed_ || !follower.followed_) return;
          if (!follower.controller_.applyFollowedChanges(**plan)) {
            requeue(follower);  // the tree changed since it was listed
          } else {
            for (const std::string& gone : (*plan)->removedFolders) follower.followed_->table->forgetBelow(gone);
            follower.roundRunning_ = false;
          }
          follower.tellStatus();
          follower.resume();
        }));
      }));
}

void TMChangeFollowing::tellStatus() {
  if (!followed_) {
    controller_.setFollowing(false, 0, 0);
    return;
  }
  controller_.setFollowing(true, followed_->table->watchedCount(), followed_->table->unwatchedCount());
}

}  // namespace tilemora
