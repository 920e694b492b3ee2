#include "TMMainWindowController.h"

#include "TMScanProgressRelay.h"
#include "TMSharedLayout.h"
#include "core/layout/TMBlockSizes.h"

namespace tilemora {

TMMainWindowController::TMMainWindowController(TMWindowHost& window, TMTreeMapView& mainTreeView,
                                               TMScanEnvironment environment,
                                               std::function<void()> windowClosed)
    : window_(window),
      mainTreeView_(mainTreeView),
      environment_(std::move(environment)),
      windowClosed_(std::move(windowClosed)) {}

TMMainWindowController::~TMMainWindowController() {
  stopScan();
  if (windowClosed_) windowClosed_();
}

uint64_t TMMainWindowController::scannedElementCount() const {
  return relay_ ? relay_->count() : 0;
}

void TMMainWindowController::stopScan() {
  if (scanTask_) scanTask_->requestStop();
}

void TMMainWindowController::openURL(const TMFileURL& url) {
  stopScan();
  if (std::optional<std::string> reason = TMFileTree::reasonNotScannable(url, *environment_.fileSystem)) {
    // Nothing to scan: the window says so, and the folder is no recent one.
    curentlyNavigated_.reset();
    scannedUrl_.reset();
    relay_.reset();
    mainTreeView_.setTreeMap(nullptr, url);
    window_.showOpenFailure(url, *reason);
    window_.showMessageView(true);
    window_.toolbarFlagsChanged();
    return;
  }
  window_.showMessageView(false);
  curentlyNavigated_.reset();
  scannedUrl_.reset();
  window_.setProgressIndeterminate(true);
  window_.startProgressAnimation();
  scannedUrl_ = url;
  window_.noteRecentFolder(url);

  relay_ = std::make_shared<TMScanProgressRelay>(weak_from_this(), environment_.mainQueue);
  ended_ = false;
  curentlyNavigated_ = TMFileTree::createFromPath(
      url, relay_, [relay = std::weak_ptr<TMScanProgressRelay>(relay_)] {
        if (auto current = relay.lock()) current->scanEnded();
      },
      environment_, &scanTask_);
  window_.toolbarFlagsChanged();  // nothing is deleted while the scan writes
}

void TMMainWindowController::updateView() {
  if (!curentlyNavigated_) return;
  auto layout = makeSharedLayout(curentlyNavigated_, blockSizes.scanLayoutDepth);
  const float progress = float(curentlyNavigated_->advancementPercentage());
  if (progress >= 0) {
    if (window_.isProgressIndeterminate()) {
      window_.stopProgressAnimation();
      window_.setProgressIndeterminate(false);
      window_.setProgressRange(0.0, 1.0);
    }
    window_.setProgressValue(double(progress));
  }
  mainTreeView_.setTreeMap(std::move(layout), *scannedUrl_);
}

void TMMainWindowController::commitTree() {
  ended_ = true;
  if (!curentlyNavigated_) return;
  mainTreeView_.setTreeMap(makeSharedLayout(curentlyNavigated_, blockSizes.finalLayoutDepth),
                           *scannedUrl_);
  window_.stopProgressAnimation();
  // A volume's bar ends full, done, even where used space stayed out of
  // reach (it remains on the map as unscanned space).
  if (!window_.isProgressIndeterminate()) window_.setProgressValue(1.0);
}

void TMMainWindowController::notifyViewCleanup() {
  curentlyNavigated_.reset();
  scannedUrl_.reset();
}

}  // namespace tilemora

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
  if (std::optional<TMFileURL> url = queues.getFileFromQueue()) openURL(*url);
}

void TMMainWindowController::mapStateChange() {
  setAtMaximumZoom(mainTreeView_.isZoomMaximum());
  setAtMinimumZoom(mainTreeView_.isZoomMinimum());
  setNarrowable(mainTreeView_.isSelectionNarrowable());
  setAtTopLevel(mainTreeView_.isAtTopLevel());
  setShowableInFinder(mainTreeView_.isSelectionReavealableInFinder());
  window_.toolbarFlagsChanged();
}

void TMMainWindowController::zoomInView() { mainTreeView_.zoomBy(kZoomInStep); }
void TMMainWindowController::zoomOutView() { mainTreeView_.zoomBy(kZoomOutStep); }
void TMMainWindowController::narrowFolder() { mainTreeView_.narrowSelected(); }
void TMMainWindowController::goUp() { mainTreeView_.popNarrowing(); }
void TMMainWindowController::revealInFinder() { mainTreeView_.revealSelectionInFinder(); }

void TMMainWindowController::deleteSelectedElement() {
  if (canDeleteSelection()) mainTreeView_.deleteSelection(true);
}

bool TMMainWindowController::canDeleteSelection() const {
  return !isScanning() && mainTreeView_.isSelectionDeletable();
}

}  // namespace tilemora
