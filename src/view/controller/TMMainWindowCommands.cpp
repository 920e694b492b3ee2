// SPDX-License-Identifier: GPL-3.0-or-later
// The main window controller's commands: what it installs as the window
// awakes, the toolbar flags it mirrors from the view, and the commands it
// forwards, deletion among them.
#include "view/controller/TMMainWindowController.h"

#include "core/filetree/TMFileTree.h"

namespace tilemora {

void TMMainWindowController::awakeFromNib(TMGlobalQueues& queues) {
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  window_.setFileDropResponder([weak](const TMFileURL& url) {
    if (auto controller = weak.lock()) controller->openURL(url);
  });
  mainTreeView_.setStateChangeResponder([weak] {
    if (auto controller = weak.lock()) controller->mapStateChange();
  });
  mainTreeView_.setCleanupResponder([weak] {
    if (auto controller = weak.lock()) controller->notifyViewCleanup();
  });
  mainTreeView_.setDeletionResponder([weak](const TMFileTree& node) {
    if (auto controller = weak.lock()) controller->noteDeleted(node);
  });
  if (std::optional<TMFileURL> url = queues.getFileFromQueue()) openURL(*url);
}

void TMMainWindowController::mapStateChange() {
  setAtMaximumZoom(mainTreeView_.isZoomMaximum());
  setAtMinimumZoom(mainTreeView_.isZoomMinimum());
  setNarrowable(mainTreeView_.isSelectionNarrowable());
  setAtTopLevel(mainTreeView_.isAtTopLevel());
  setShowableInFinder(mainTreeView_.isSelectionReavealableInFinder());
  window_.toolbarFlagsChanged();
  if (treeObserver_ != nullptr) treeObserver_->mapStateChanged();
  // The status line follows the selection and every deletion.
  if (mapFinal_ && curentlyNavigated_) window_.showScanStatus(scanStatus());
  readFolderLookedInto();
}

void TMMainWindowController::zoomInView() { mainTreeView_.zoomStep(+1); }
void TMMainWindowController::zoomOutView() { mainTreeView_.zoomStep(-1); }
void TMMainWindowController::narrowFolder() { mainTreeView_.narrowSelected(); }
void TMMainWindowController::goUp() { mainTreeView_.popNarrowing(); }
void TMMainWindowController::revealInFinder() { mainTreeView_.revealSelectionInFinder(); }

std::vector<TMTreeMapView::TMSelectedItem> TMMainWindowController::outermostSelectedItems() const {
  std::vector<TMTreeMapView::TMSelectedItem> items = mainTreeView_.selectedItems();
  std::vector<TMTreeMapView::TMSelectedItem> outermost;
  for (const auto& item : items) {
    const bool inside = std::any_of(items.begin(), items.end(), [&](const auto& other) {
      return other.url != item.url && item.url.isAtOrBelow(other.url);
    });
    if (!inside) outermost.push_back(item);
  }
  return outermost;
}

void TMMainWindowController::deleteSelectedElement() {
  if (!canDeleteSelection()) return;
  const TMNodeState& selected = *mainTreeView_.selected();
  TMTrashQuestion question;
  question.item = selected.url;
  question.bytes = selected.file->diskSize();
  question.folder = selected.file->asFolder() != nullptr;
  if (question.folder) question.files = entriesBelow(*selected.file).first;
  question.scannedFolder = mainTreeView_.isSelectionRoot();
  const std::vector<TMTreeMapView::TMSelectedItem> items = outermostSelectedItems();
  if (items.size() > 1) {
    question.bytes = question.files = 0;
    for (const auto& item : items) {
      question.items.push_back(item.url);
      question.bytes += item.file->diskSize();
      question.files += item.file->asFolder() ? countEntriesBelow(*item.file).first : 1;
    }
  }
  // The answer may come after other events, and the deletion after the
  // work reading the tree has stopped: it applies only to the same
  // selection of the same map.
  std::weak_ptr<const TMNodeState> asked = mainTreeView_.selectedState();
  std::vector<TMFileURL> urls;
  for (const auto& item : mainTreeView_.selectedItems()) urls.push_back(item.url);
  const uint64_t commit = commits_;
  if (!askBeforeTrash_ && !question.scannedFolder) {
    deleteIfStillSelected(asked, urls, commit);
    return;
  }
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  window_.askToMoveToTrash(question, [weak, asked, urls, commit](bool move, bool stopAsking) {
    auto controller = weak.lock();
    if (!controller) return;
    if (stopAsking) controller->setAskBeforeTrash(false);
    if (move) controller->deleteIfStillSelected(asked, urls, commit);
  });
}

void TMMainWindowController::deleteIfStillSelected(const std::weak_ptr<const TMNodeState>& asked,
                                                   std::vector<TMFileURL> urls, uint64_t commit) {
  const bool waiting = jobs_.treeIsRead();
  if (waiting) window_.showWaitingForReaders(true);
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.afterTreeReaders([weak, asked, urls = std::move(urls), commit, waiting] {
    auto controller = weak.lock();
    if (!controller) return;
    if (waiting) controller->window_.showWaitingForReaders(false);
    const std::shared_ptr<const TMNodeState> still = asked.lock();
    std::vector<TMFileURL> selectedNow;
    for (const auto& item : controller->mainTreeView_.selectedItems()) selectedNow.push_back(item.url);
    if (!still || still != controller->mainTreeView_.selectedState() || selectedNow != urls ||
        commit != controller->commits_ || !controller->canDeleteSelection())
      return;
    ++controller->treeVersion_;
    controller->mainTreeView_.deleteItems(urls);
  });
}

bool TMMainWindowController::canDeleteSelection() const {
  return !isScanning() && mainTreeView_.isSelectionDeletable();
}

}  // namespace tilemora
