// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scan/TMScanDriver.h"
#include "TMMainWindowController.h"

#include "view/controller/TMScanProgressRelay.h"
#include "view/map/TMSharedLayout.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMVolume.h"
#include "core/layout/TMBlockSizes.h"
#include "core/layout/TMLayoutArena.h"
#include "core/layout/TMLayoutLookAhead.h"
#include "core/platform/TMHeapTrim.h"
#include "core/scan/TMExclusions.h"

namespace tilemora {

TMMainWindowController::TMMainWindowController(TMWindowHost& window, TMTreeMapView& mainTreeView, TMJobRunner& jobs,
                                               TMScanEnvironment environment, std::function<void()> windowClosed)
    : window_(window),
      mainTreeView_(mainTreeView),
      jobs_(jobs),
      environment_(std::move(environment)),
      windowClosed_(std::move(windowClosed)) {}

TMMainWindowController::~TMMainWindowController() {
  stopScan();
  // The scan's thread is waited for by its task; a scan asked to stop ends
  // within milliseconds.
  scanTask_.reset();
  if (windowClosed_) windowClosed_();
}

uint64_t TMMainWindowController::scannedElementCount() const {
  return relay_ ? relay_->count() : 0;
}

void TMMainWindowController::stopScan() {
  if (scanTask_) scanTask_->requestStop();
}

void TMMainWindowController::retireScan() {
  if (!scanTask_) return;
  scanTask_->requestStop();
  // Its thread ends in a moment: waited for off the main thread.
  jobs_.start("ending a scan", TMJobRunner::Reads::kNothingShared,
              [task = std::move(scanTask_)](const TMJobRunner::Job&) mutable { task.reset(); });
  scanTask_.reset();
}

void TMMainWindowController::openURL(TMFileURL url) {
  stopScan();
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.afterTreeReaders([weak, url = std::move(url)] {
    if (auto controller = weak.lock()) controller->openURLNow(url);
  });
}

void TMMainWindowController::openURLNow(const TMFileURL& asked) {
  TMFileURL url = asked;
  retireScan();
  imported_ = false;
  administratorScan_ = false;
  scanOrigins_ = {};
  mainTreeView_.setItemsOnDisk(true);
  if (std::optional<std::string> reason = reasonNotScannable(url, *environment_.fileSystem)) {
    // Nothing to scan: the window says so, and the folder is no recent one.
    curentlyNavigated_.reset();
    scannedUrl_.reset();
    relay_.reset();
    window_.stopProgressAnimation();
    window_.setProgressVisible(false);
    mainTreeView_.setTreeMap(nullptr, url);
    window_.showOpenFailure(url, *reason);
    window_.showMessageView(true);
    mapStateChange();  // the view, cleared, says nothing itself
    return;
  }
  window_.showMessageView(false);
  curentlyNavigated_.reset();
  scannedUrl_.reset();
  // The kernel's path of the folder: a deletion or a reveal of the root acts
  // on the folder, not on a link to it.
  url = environment_.fileSystem->resolvedPath(url);
  window_.setProgressVisible(true);
  window_.setProgressIndeterminate(true);
  window_.startProgressAnimation();
  scannedUrl_ = url;
  window_.noteRecentFolder(url);

  relay_ = std::make_shared<TMScanProgressRelay>(weak_from_this(), environment_.mainQueue);
  scanExclusions_ = environment_.options.exclusions;
  beginTree();
  curentlyNavigated_ = createFromPath(
      url, relay_, [relay = std::weak_ptr<TMScanProgressRelay>(relay_)] {
        if (auto current = relay.lock()) current->scanEnded();
      },
      environment_, scanTask_);
  window_.toolbarFlagsChanged();  // nothing is deleted while the scan writes
  window_.showScanStatus(scanStatus());
  if (treeObserver_ != nullptr) treeObserver_->treeShown(curentlyNavigated_, url, true);
}

void TMMainWindowController::openImportedTree(TMImportedScan scan) {
  retireScan();
  window_.showMessageView(false);
  window_.setProgressVisible(true);
  relay_.reset();
  imported_ = true;
  administratorScan_ = false;
  noteImportedFacts(scan);
  scanOrigins_ = std::move(scan.origins);
  mainTreeView_.setItemsOnDisk(false);
  curentlyNavigated_ = std::move(scan.root);
  scannedUrl_ = TMFileURL::fromPathComponents(scan.rootComponents);
  beginTree();
  // No scan: the full map is built at once, off the main thread.
  commitTree();
}

void TMMainWindowController::readSavedScanLive(TMSavedScanOpener open,
                                               std::function<void(const TMImportError&)> failed,
                                               bool asAdministrator) {
  stopScan();
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.afterTreeReaders([weak, open = std::move(open), failed = std::move(failed), asAdministrator]() mutable {
    if (auto controller = weak.lock())
      controller->readSavedScanLiveNow(std::move(open), std::move(failed), asAdministrator);
  });
}

void TMMainWindowController::readSavedScanLiveNow(TMSavedScanOpener open,
                                                  std::function<void(const TMImportError&)> failed,
                                                  bool asAdministrator) {
  retireScan();
  window_.showMessageView(false);
  imported_ = true;
  administratorScan_ = asAdministrator;
  scanOrigins_ = {};
  mainTreeView_.setItemsOnDisk(false);
  curentlyNavigated_.reset();
  scannedUrl_.reset();
  noteImportedFacts({});  // told as the reading ends
  window_.setProgressVisible(true);
  window_.setProgressIndeterminate(true);
  window_.startProgressAnimation();
  relay_ = std::make_shared<TMScanProgressRelay>(weak_from_this(), environment_.mainQueue);
  beginTree();
  // Told only while this reading is the window's current one.
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  std::weak_ptr<TMScanProgressRelay> reading = relay_;
  auto current = [weak, reading]() -> std::shared_ptr<TMMainWindowController> {
    auto controller = weak.lock();
    auto relay = reading.lock();
    return controller && relay && controller->relay_ == relay ? controller : nullptr;
  };
  TMSavedScanStreamHandlers handlers;
  handlers.progress = relay_;
  handlers.entriesAtOnce = environment_.savedScanEntriesAtOnce;
  handlers.rootKnown = [current](std::shared_ptr<TMFileTree> root, const TMImportedScan& scan) {
    if (auto controller = current()) controller->savedScanRootKnown(std::move(root), scan);
  };
  handlers.ended = [current, failed](TMImportResult result) {
    auto controller = current();
    if (!controller) return;
    if (auto* error = std::get_if<TMImportError>(&result)) {
      controller->savedScanFailed();
      if (failed) failed(*error);
      return;
    }
    controller->savedScanEnded(std::get<TMImportedScan>(result));
  };
  scanTask_ = streamSavedScan(std::move(open), std::move(handlers), environment_.mainQueue);
  if (!scanTask_) {
    savedScanFailed();
    if (failed) failed(TMImportError{0, 0, "no thread could be started to read it", {}});
    return;
  }
  window_.toolbarFlagsChanged();
  window_.showScanStatus(scanStatus());
}

void TMMainWindowController::savedScanRootKnown(std::shared_ptr<TMFileTree> root, const TMImportedScan& scan) {
  curentlyNavigated_ = std::move(root);
  scannedUrl_ = TMFileURL::fromPathComponents(scan.rootComponents);
  importedScannedAt_ = scan.timestamp;
  window_.showScanStatus(scanStatus());
  if (treeObserver_ != nullptr) treeObserver_->treeShown(curentlyNavigated_, *scannedUrl_, true);
}

void TMMainWindowController::savedScanEnded(const TMImportedScan& scan) {
  noteImportedFacts(scan);
  folderReader_ = scan.loader;
  commitTree();
}

void TMMainWindowController::noteImportedFacts(const TMImportedScan& scan) {
  importedScannedAt_ = scan.timestamp;
  importedUnreadable_ = scan.unreadableFolders;
  importedNotRead_ = scan.unreadFolders;
  importedExcluded_ = scan.excludedEntries;
  importedWithoutLength_ = scan.filesWithoutLength;
  importedWithoutAllocatedSize_ = scan.filesWithoutAllocatedSize;
}

void TMMainWindowController::savedScanFailed() {
  // Nothing of a saved scan read in part is shown as if it were whole.
  retireScan();
  relay_.reset();
  ++commits_;  // a map still being built for it is not wanted
  curentlyNavigated_.reset();
  scannedUrl_.reset();
  releaseOffTheMainThread(std::exchange(progressLayout_, nullptr));
  window_.stopProgressAnimation();
  window_.setProgressVisible(false);
  mainTreeView_.setTreeMap(nullptr, TMFileURL::fromPath("/"));
  window_.showMessageView(true);
  if (treeObserver_ != nullptr) treeObserver_->treeShown(nullptr, TMFileURL::fromPath("/"), false);
  mapStateChange();
}

void TMMainWindowController::beginTree() {
  jobs_.stop(folderReadJob_);
  folderReader_.reset();
  importedNotRead_ = 0;
  ended_ = false;
  mapFinal_ = false;
  stopped_ = false;
  progressBuilding_ = false;
  nextProgressLayoutAt_ = {};
  progressLayout_.reset();
  countedNode_ = nullptr;
  treeMeasure_ = TMSizeMeasure::kOnDisk;  // scans and saved scans are read so
  mainTreeView_.setTreeSettled(false);
  ++commits_;  // a full map still being built for the last tree is not wanted
  ++treeVersion_;
  following_ = false;
  scanStart_ = std::chrono::steady_clock::now();
}

void TMMainWindowController::stopScanning() {
  if (!isScanning() || ended_) return;
  scanTask_->requestStop();
  scanTask_->waitUntilFinished();  // milliseconds: then nothing writes the tree
  stopped_ = true;
  commitTree();
}

TMScanStatus TMMainWindowController::scanStatus() const {
  TMScanStatus status;
  status.scanning = isScanning();
  status.stopped = stopped_;
  status.entries = scannedElementCount();
  // What the scan took stays what it was when told again later.
  const auto end = mapFinal_ ? scanShown_ : std::chrono::steady_clock::now();
  status.seconds = std::chrono::duration<double>(end - scanStart_).count();
  status.measure = treeMeasure_;
  status.administrator = administratorScan_;
  status.imported = imported_;
  if (!curentlyNavigated_) return status;
  const auto* volume = curentlyNavigated_->asVolume();
  const TMFileTree* folder = volume ? volume->child() : curentlyNavigated_.get();
  status.bytes = folder ? folder->diskSize() : 0;
  if (volume && volume->emptySpace()) {
    status.volume = true;
    status.freeBytes = volume->emptySpace()->diskSize();
    status.usedBytes = volume->volumeSize() - std::min(volume->volumeSize(), status.freeBytes);
    status.unscannedBytes = volume->unscannedSizeNow();
  }
  if (status.scanning || !folder) return status;
  std::tie(status.files, status.folders) = entryCounts_;
  if (scanTask_ && stopped_) status.cutShortFolders = scanTask_->cutShortFolderCount();
  if (scanTask_ && !imported_) {
    status.excludedEntries = scanTask_->excludedCount();
    if (scanExclusions_) status.exclusionPatterns = scanExclusions_->patterns();
  }
  if (scanTask_ && !stopped_) {
    status.unreadableFolders = scanTask_->unreadableFolderCount();
    const auto& unreadable = scanTask_->unreadableFolders();
    for (size_t i = 0; i < std::min<size_t>(unreadable.size(), TMScanStatus::kUnreadableFoldersTold); ++i)
      status.firstUnreadableFolders.push_back(unreadable[i].path);
  }
  if (imported_) {
    status.scannedAt = importedScannedAt_;
    status.unreadableFolders = importedUnreadable_;
    status.foldersNotRead = importedNotRead_;
    status.excludedEntries = importedExcluded_;
    status.filesWithoutLength = importedWithoutLength_;
    status.filesWithoutAllocatedSize = importedWithoutAllocatedSize_;
  }
  if (mapFinal_) status.selection = selectionStatus();
  status.following = following_;
  status.followedFolders = followedFolders_;
  status.unfollowedFolders = unfollowedFolders_;
  return status;
}

const std::vector<TMUnreadableFolder>& TMMainWindowController::unreadableFolders() const {
  static const std::vector<TMUnreadableFolder> none;
  return scanTask_ && mapFinal_ && !stopped_ && !imported_ ? scanTask_->unreadableFolders() : none;
}

std::pair<uint64_t, uint64_t> TMMainWindowController::entriesBelow(const TMFileTree& node) const {
  if (countedNode_ != &node) {
    countedEntries_ = countEntriesBelow(node);
    countedNode_ = &node;
  }
  return countedEntries_;
}

std::optional<TMSelectionStatus> TMMainWindowController::selectionStatus() const {
  const TMNodeState* selected = mainTreeView_.selected();
  if (!selected || !selected->layout) return std::nullopt;
  TMSelectionStatus selection;
  selection.name = selected->url.lastPathComponent();
  selection.bytes = selected->layout->nodeSize();
  selection.space = selected->file == nullptr;
  if (selected->file && selected->file->asFolder()) {
    selection.folder = true;
    std::tie(selection.files, selection.folders) = entriesBelow(*selected->file);
  }
  const std::vector<TMTreeMapView::TMSelectedItem> items = outermostSelectedItems();
  if (items.size() > 1) {
    // Several: their totals, what lies inside a selected folder once.
    selection.items = items.size();
    selection.bytes = selection.files = selection.folders = 0;
    selection.folder = false;
    for (const auto& item : items) {
      selection.bytes += item.file->diskSize();
      const auto [files, folders] =
          item.file->asFolder() ? countEntriesBelow(*item.file) : std::pair<uint64_t, uint64_t>{1, 0};
      selection.files += files;
      selection.folders += folders + (item.file->asFolder() ? 1 : 0);
    }
  }
  return selection;
}

void TMMainWindowController::noteDeleted(const TMFileTree& node) {
  const auto [files, folders] = entriesBelow(node);
  const bool folder = node.asFolder() != nullptr;
  entryCounts_.first -= std::min(entryCounts_.first, files + (folder ? 0 : 1));
  entryCounts_.second -= std::min(entryCounts_.second, folders + (folder ? 1 : 0));
  countedNode_ = nullptr;  // the folders above it hold less now
  if (treeObserver_ != nullptr) treeObserver_->itemDeleted(node);
}

void TMMainWindowController::releaseOffTheMainThread(std::shared_ptr<TMLayoutNode> layout,
                                                     std::function<void()> then) {
  if (!layout && !then) return;
  // What a map points at outlives it: the map holds its tree.
  jobs_.start("releasing a map", TMJobRunner::Reads::kNothingShared,
              [layout = std::move(layout), then = std::move(then)](const TMJobRunner::Job&) mutable {
                layout.reset();
                if (then) then();
              });
}

void TMMainWindowController::updateView() {
  // A step posted before the scan was stopped must not undo the final map.
  if (!curentlyNavigated_ || ended_) return;
  showProgressFraction();
  // The shallow map is built off the main thread, one at a time: a step
  // that comes while one is being built, or too soon after the last one was
  // shown, is dropped, and the window keeps answering while the tree grows.
  if (progressBuilding_ || std::chrono::steady_clock::now() < nextProgressLayoutAt_) return;
  const uint64_t commit = commits_;
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  progressBuilding_ = jobs_.start("building the map", TMJobRunner::Reads::kTheTree,
                                  [tree = curentlyNavigated_, weak, commit](const TMJobRunner::Job& job) {
                                    const auto start = std::chrono::steady_clock::now();
                                    std::shared_ptr<TMLayoutNode> layout =
                                        makeSharedLayout(tree, blockSizes.scanLayoutDepth, TMLayoutBuilt::kAtOnce);
                                    const auto buildTime = std::chrono::steady_clock::now() - start;
                                    job.post([weak, commit, layout = std::move(layout), buildTime]() mutable {
                                      if (auto controller = weak.lock())
                                        controller->showProgressLayout(commit, std::move(layout), buildTime);
                                    });
                                  }) != 0;
}

void TMMainWindowController::showProgressFraction() {
  const float progress = float(curentlyNavigated_->advancementPercentage());
  if (progress < 0) return;  // a folder cannot tell
  if (window_.isProgressIndeterminate()) {
    window_.stopProgressAnimation();
    window_.setProgressIndeterminate(false);
    window_.setProgressRange(0.0, 1.0);
  }
  window_.setProgressValue(double(progress));
}

void TMMainWindowController::showProgressLayout(uint64_t commit, std::shared_ptr<TMLayoutNode> layout,
                                                std::chrono::steady_clock::duration buildTime) {
  if (commit != commits_) return;  // built for a tree no longer shown
  progressBuilding_ = false;
  // Until the full map is on screen the newest shallow one is worth showing,
  // even when the scan has ended meanwhile.
  if (mapFinal_ || !curentlyNavigated_) return;
  const auto start = std::chrono::steady_clock::now();
  // The map it replaces is let go of off the main thread too: tearing down
  // a big shallow map takes milliseconds.
  std::shared_ptr<TMLayoutNode> replaced = std::exchange(progressLayout_, layout);
  mainTreeView_.setTreeMap(std::move(layout), *scannedUrl_);
  releaseOffTheMainThread(std::move(replaced));
  window_.showScanStatus(scanStatus());
  if (treeObserver_ != nullptr) treeObserver_->treeShown(curentlyNavigated_, *scannedUrl_, true);
  const auto shown = std::chrono::steady_clock::now();
  nextProgressLayoutAt_ = shown + kIdleTimesPerProgressLayout * (buildTime + (shown - start));
}

void TMMainWindowController::commitTree() {
  if (ended_) return;  // a stop and the end notice may both come
  ended_ = true;
  window_.stopProgressAnimation();
  // A volume's bar tells a fraction (even when no step came to set it up):
  // where a stopped scan got, or full, done, even where used space stayed
  // out of reach (it remains on the map as unscanned space). A folder's
  // fraction is not known: its stopped scan's bar goes.
  const double done = curentlyNavigated_ ? curentlyNavigated_->advancementPercentage() : -1.0;
  if (done >= 0) {
    if (window_.isProgressIndeterminate()) {
      window_.setProgressIndeterminate(false);
      window_.setProgressRange(0.0, 1.0);
    }
    window_.setProgressValue(stopped_ ? done : 1.0);
  } else if (stopped_) {
    window_.setProgressVisible(false);
  }
  if (!curentlyNavigated_) {
    finishCommit(commits_, nullptr, {});
    return;
  }
  // Nothing writes the tree any more: the scan has ended, and nothing is
  // deleted before the full map is handed over.
  const uint64_t commit = commits_;
  if (treeMeasure_ == sizeMeasure_) {
    buildFullMap(commit);
    return;
  }
  // Shallow maps may still be read off the main thread: re-measured once
  // they have let go.
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.afterTreeReaders([weak, commit] {
    auto controller = weak.lock();
    if (!controller || commit != controller->commits_) return;
    controller->remeasureNow();
    controller->buildFullMap(commit);
  });
}

void TMMainWindowController::setSizeMeasure(TMSizeMeasure measure) {
  sizeMeasure_ = measure;
  // A tree still scanned or being mapped is re-measured at its commit.
  if (!curentlyNavigated_ || !mapFinal_ || treeMeasure_ == measure) return;
  const uint64_t commit = commits_;
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.afterTreeReaders([weak, commit] {
    auto controller = weak.lock();
    if (!controller || commit != controller->commits_ || !controller->remeasureNow()) return;
    controller->buildMapAgain();
  });
}

void TMMainWindowController::buildMapAgain() {
  const uint64_t commit = commits_;
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.start("building the map", TMJobRunner::Reads::kTheTree,
              [tree = curentlyNavigated_, weak, commit, canvas = mainTreeView_.frame()](const TMJobRunner::Job& job) {
                auto layout = makeSharedLayout(tree, blockSizes.finalLayoutDepth, TMLayoutBuilt::kWhenLookedAt);
                if (layout) layOutFirstFrame(*layout, canvas);
                job.post([weak, commit, layout = std::move(layout)]() mutable {
                  if (auto controller = weak.lock()) controller->showRemeasuredMap(commit, std::move(layout));
                });
              });
}

bool TMMainWindowController::remeasureNow() {
  if (!curentlyNavigated_ || treeMeasure_ == sizeMeasure_) return false;
  remeasureTree(*curentlyNavigated_, treeMeasure_, sizeMeasure_);
  treeMeasure_ = sizeMeasure_;
  ++treeVersion_;
  countedNode_ = nullptr;
  if (treeObserver_ != nullptr) treeObserver_->treeRemeasured(curentlyNavigated_);
  return true;
}

void TMMainWindowController::showRemeasuredMap(uint64_t commit, std::shared_ptr<TMLayoutNode> layout) {
  if (commit != commits_ || !curentlyNavigated_ || !scannedUrl_ || !layout) return;
  const TMNodeState* current = mainTreeView_.current();
  const TMNodeState* selected = mainTreeView_.selected();
  const std::optional<TMFileURL> shownUrl = current ? std::optional(current->url) : std::nullopt;
  const std::optional<TMFileURL> selectedUrl = selected ? std::optional(selected->url) : std::nullopt;
  mainTreeView_.setTreeMap(std::move(layout), *scannedUrl_);
  if (shownUrl && !(*shownUrl == *scannedUrl_)) mainTreeView_.focusOn(*shownUrl);
  if (selectedUrl) mainTreeView_.selectURL(*selectedUrl);
  window_.showScanStatus(scanStatus());
}

void TMMainWindowController::buildFullMap(uint64_t commit) {
  std::weak_ptr<TMMainWindowController> weak = weak_from_this();
  jobs_.start("building the map", TMJobRunner::Reads::kTheTree,
              [tree = curentlyNavigated_, weak, commit, canvas = mainTreeView_.frame()](const TMJobRunner::Job& job) {
                const auto* volume = tree->asVolume();
                const TMFileTree* folder = volume ? volume->child() : tree.get();
                auto layout = makeSharedLayout(tree, blockSizes.finalLayoutDepth, TMLayoutBuilt::kWhenLookedAt);
                // What the first frame enters is laid out here, not on the
                // main thread.
                if (layout) layOutFirstFrame(*layout, canvas);
                const auto counts = folder ? countEntriesBelow(*folder) : std::pair<uint64_t, uint64_t>();
                job.post([weak, commit, layout = std::move(layout), counts]() mutable {
                  if (auto controller = weak.lock()) controller->finishCommit(commit, std::move(layout), counts);
                });
              });
}

void TMMainWindowController::finishCommit(uint64_t commit, std::shared_ptr<TMLayoutNode> layout,
                                          std::pair<uint64_t, uint64_t> entryCounts) {
  if (commit != commits_ || mapFinal_) return;
  mapFinal_ = true;
  scanShown_ = std::chrono::steady_clock::now();
  entryCounts_ = entryCounts;
  if (scanTask_) mainTreeView_.setScannedRootIdentity(scanTask_->rootIdentity());
  mainTreeView_.setTreeSettled(true);
  if (curentlyNavigated_ && scannedUrl_) mainTreeView_.setTreeMap(std::move(layout), *scannedUrl_);
  // The shallow maps are over: the last one goes, then what was kept to
  // rebuild them goes back, and so does what the heaps of the scan and of
  // the full map's thread hold free.
  releaseOffTheMainThread(std::move(progressLayout_), [] {
    TMLayoutArena::releaseSpareBlocks();
    releaseFreedHeapMemory();
  });
  // A complete scan's bar would only say "done": it goes. A stopped
  // volume's keeps showing how far the scan got.
  if (!stopped_) window_.setProgressVisible(false);
  window_.toolbarFlagsChanged();  // deletion is possible now
  window_.showScanStatus(scanStatus());
  if (curentlyNavigated_ && scannedUrl_ && treeObserver_ != nullptr)
    treeObserver_->treeShown(curentlyNavigated_, *scannedUrl_, false);
}

void TMMainWindowController::refreshSizeTexts() {
  mainTreeView_.redraw();
  if (curentlyNavigated_) window_.showScanStatus(scanStatus());
}

void TMMainWindowController::notifyViewCleanup() {
  const std::optional<TMFileURL> trashed = scannedUrl_;
  curentlyNavigated_.reset();
  scannedUrl_.reset();
  countedNode_ = nullptr;
  if (treeObserver_ != nullptr) treeObserver_->treeShown(nullptr, TMFileURL(), false);
  window_.setProgressVisible(false);
  if (trashed) window_.showFolderTrashed(*trashed);
  window_.showMessageView(true);
}

}  // namespace tilemora
