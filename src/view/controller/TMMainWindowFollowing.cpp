// SPDX-License-Identifier: GPL-3.0-or-later
// The window controller's side of following changes on disk: the tree it
// shows is changed as planned, and the map, the counts and the status
// follow, without a scan.

#include "TMMainWindowController.h"

#include "core/filetree/TMFileTreeStorage.h"
#include "core/filetree/TMVolume.h"
#include "core/follow/TMFolderUpdateApplying.h"

namespace tilemora {

std::shared_ptr<TMFileTreeStorage> TMMainWindowController::followableTreeStorage() const {
  if (!curentlyNavigated_ || !scanTask_ || !mapFinal_ || stopped_ || imported_ || !scannedUrl_) return nullptr;
  return scanTask_->treeStorage();
}

TMScanEnvironment TMMainWindowController::shownScanEnvironment() const {
  TMScanEnvironment environment = environment_;
  environment.options.exclusions = scanExclusions_;
  environment.observer = nullptr;
  return environment;
}

bool TMMainWindowController::applyFollowedChanges(const TMChangePlan& plan) {
  if (plan.treeVersion != treeVersion_ || !curentlyNavigated_ || !mapFinal_) return false;
  if (plan.isEmpty()) return true;
  const TMAppliedChanges applied = applyFolderUpdates(plan, *curentlyNavigated_, treeMeasure_);
  ++treeVersion_;
  countedNode_ = nullptr;
  entryCounts_.first = uint64_t(int64_t(entryCounts_.first) + applied.files);
  entryCounts_.second = uint64_t(int64_t(entryCounts_.second) + applied.folders);
  if (TMVolume* volume = curentlyNavigated_->asVolume(); volume && volume->emptySpace() && scannedUrl_) {
    // What the files took or gave back is free space no longer, or again.
    const TMFileSystemSizes sizes = environment_.fileSystem->fileSystemSizes(scannedUrl_->path().c_str());
    if (sizes.totalSize != 0) volume->emptySpace()->updateFreeSize(sizes.freeSize);
  }
  if (!mainTreeView_.showChangedTree(applied.changed, applied.regrouped)) {
    // Not to be refreshed in place: the whole map is built again, as after
    // a re-measure, keeping the folder shown and the selection.
    buildMapAgain();
  }
  if (treeObserver_ != nullptr) treeObserver_->treeChanged(curentlyNavigated_);
  window_.showScanStatus(scanStatus());
  return true;
}

void TMMainWindowController::setFollowing(bool following, uint64_t followed, uint64_t unfollowed) {
  following_ = following;
  followedFolders_ = followed;
  unfollowedFolders_ = unfollowed;
  if (mapFinal_) window_.showScanStatus(scanStatus());
}

}  // namespace tilemora
