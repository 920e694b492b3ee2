// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the map of a finished scan true while files change on disk (View ▸
// Follow Changes). Watches go on the scanned folders, the top levels first
// (TMWatchTable keeps to a share of the user's limit); a job reads their
// events and hands over, at most every kCoalescing, the folders in which
// something happened. Those are listed again in a job that reads the tree
// (new folders are watched, then scanned), and the plan is made to the tree
// once nothing else reads it, on the main thread, in time in proportion to
// the folders changed (see TMMainWindowController::applyFollowedChanges).
// One round at a time: what happens meanwhile waits for the next.
//
// Only a complete scan of this machine is followed: not a saved scan, not
// one run as administrator, not one stopped early. Main thread only.

#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace tilemora {

class TMJobRunner;
class TMMainWindowController;

class TMChangeFollowing {
 public:
  TMChangeFollowing(TMJobRunner& jobs, TMMainWindowController& controller);
  ~TMChangeFollowing();
  TMChangeFollowing(const TMChangeFollowing&) = delete;
  TMChangeFollowing& operator=(const TMChangeFollowing&) = delete;

  // Whether trees are followed when they can be; off by default.
  void setEnabled(bool enabled);
  bool isEnabled() const { return enabled_; }
  // Whether the shown tree is followed now.
  bool isFollowing() const { return followed_ != nullptr; }

  // The controller shows another tree, or the same one complete: the old
  // one is no longer followed, the new one is when it can be.
  void treeShown();
  // The tree changed otherwise (a deletion, a re-measure): a round stopped
  // for it goes on.
  void resume();

  // How long events are gathered before their folders are listed again,
  // and the least time between two rounds: each stops the work reading the
  // tree (a search, a comparison), which then starts again.
  static constexpr std::chrono::milliseconds kCoalescing{200};
  static constexpr std::chrono::milliseconds kRoundSpacing{500};

 private:
  struct Followed;
  void start();
  // Puts the watches on the folders of the tree.
  void startWatching();
  void stop();
  // The watcher found something in `folders`.
  void changed(std::set<std::string> folders);
  void startRound();
  void tellStatus();

  TMJobRunner& jobs_;
  TMMainWindowController& controller_;
  bool enabled_ = false;
  std::shared_ptr<Followed> followed_;
  uint64_t watcherJob_ = 0;
  uint64_t watchingJob_ = 0;
  uint64_t roundJob_ = 0;
  bool watchingDone_ = false;  // every folder of the tree was offered a watch
  bool roundRunning_ = false;
  std::set<std::string> waiting_;  // folders to list again in the next round
  // What jobs call back through: gone with this object.
  std::shared_ptr<TMChangeFollowing*> self_ = std::make_shared<TMChangeFollowing*>(this);
};

}  // namespace tilemora
