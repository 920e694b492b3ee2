// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSession.h"

#include <ctime>
#include <utility>

#include "core/drawing/TMChangeColoring.h"
#include "core/drawing/TMHighlightColoring.h"
#include "core/filetree/TMVolume.h"
#include "import/TMAdministratorScan.h"
#include "import/TMComparedFileTree.h"
#include "import/TMScanHistory.h"
#include "core/platform/TMHostName.h"
#include "import/TMTreeExport.h"

namespace tilemora {

namespace {

// What a search or a comparison starts at: a volume's folder, else the tree.
const TMFileTree* searchedFolder(const TMFileTree& tree) {
  const TMVolume* volume = tree.asVolume();
  return volume != nullptr ? volume->child() : &tree;
}

// When the system has no thread left for a job (a limit on processes).
constexpr const char* kNoThread = "no thread could be started";

TMImportError noThreadError() { return TMImportError{0, 0, kNoThread, {}}; }

}  // namespace

TMSession::TMSession(TMWindowHost& window, TMTreeMapView& view, TMScanEnvironment environment,
                     std::function<void()> windowClosed)
    : jobs_(environment.mainQueue),
      view_(view),
      controller_(std::make_shared<TMMainWindowController>(window, view, jobs_, std::move(environment),
                                                           std::move(windowClosed))) {
  controller_->setTreeObserver(this);
  following_ = std::make_unique<TMChangeFollowing>(jobs_, *controller_);
}

TMSession::~TMSession() {
  following_.reset();
  controller_->setTreeObserver(nullptr);
  // The scan stops and the window is told it closed; the jobs stop and are
  // waited for as the runner goes, last.
  controller_.reset();
}

void TMSession::addObserver(TMSessionObserver& observer) { observers_.push_back(&observer); }

void TMSession::removeObserver(TMSessionObserver& observer) {
  std::erase(observers_, &observer);
}

template <class Tell>
void TMSession::tell(Tell&& tell) {
  // An observer may add or remove another while it is told.
  const std::vector<TMSessionObserver*> observers = observers_;
  for (TMSessionObserver* observer : observers) tell(*observer);
}

bool TMSession::forgetEnded(uint64_t& job) {
  // A newer job of the same kind may have taken its place meanwhile.
  if (job == 0 || jobs_.isRunning(job)) return false;
  job = 0;
  return true;
}

int64_t TMSession::shownScannedAt() const {
  return controller_->isImported() ? controller_->importedScannedAt() : scanStartedAt_;
}

// --- what the controller tells ------------------------------------------------

void TMSession::treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) {
  const bool newTree = tree != shownTree_;
  shownTree_ = tree;
  shownScanning_ = scanning;
  if (newTree) {
    shownUrl_ = tree ? std::optional<TMFileURL>(url) : std::nullopt;
    scanStartedAt_ = int64_t(std::time(nullptr));
    // What was found, compared or picked in the old tree speaks of it alone.
    jobs_.stop(searchJob_);
    searchJob_ = 0;
    jobs_.stop(searchFileJob_);
    searchFileJob_ = 0;
    searchMatchesInFile_.reset();
    jobs_.stop(comparisonJob_);
    comparisonJob_ = 0;
    stopCountingFileTypes();
    fileComparison_.reset();
    jobs_.stop(largestJob_);
    largestJob_ = 0;
    const bool hadMatches = searchResult_ != nullptr;
    const bool hadComparison = comparison_ != nullptr;
    searchResult_.reset();
    comparison_.reset();
    changeColoring_.reset();
    pickedFiles_.reset();
    // A saved scan waiting for this very folder stays, to compare with it.
    if (!(savedTree_ && tree && comparedUrl_ == url)) {
      savedTree_.reset();
      fileComparison_.reset();
      comparedUrl_.reset();
    }
    if (hadMatches || hadComparison) applyColoring();
    if (hadMatches) tell([](TMSessionObserver& o) { o.searchChanged(); });
    if (hadComparison) tell([](TMSessionObserver& o) { o.comparisonChanged(); });
  }
  tell([&](TMSessionObserver& o) { o.treeShown(tree, url, scanning); });
  if (!scanning && tree) {
    startComparison();
    saveToHistory();
  }
  following_->treeShown();
}

void TMSession::treeChanged(const std::shared_ptr<TMFileTree>& tree) {
  tell([&](TMSessionObserver& o) { o.treeChanged(tree); });
  // The comparison under way was stopped for the change: it starts again.
  if (savedTree_) startComparison();
}

void TMSession::setFollowChanges(bool follow) { following_->setEnabled(follow); }

void TMSession::mapStateChanged() {
  tell([](TMSessionObserver& o) { o.mapStateChanged(); });
}

void TMSession::treeRemeasured(const std::shared_ptr<TMFileTree>& tree) {
  // Told once the work reading the tree has stopped, the comparison's
  // (which reads the saved tree too) included.
  remeasureSavedTree();
  tell([&](TMSessionObserver& o) { o.treeRemeasured(tree); });
  if (savedTree_) startComparison();
  following_->resume();
}

void TMSession::itemDeleted(const TMFileTree& node) {
  tell([&](TMSessionObserver& o) { o.itemDeleted(node); });
  // What went is a removed item now (the comparison under way when the
  // deletion came was stopped for it: it starts again too).
  if (savedTree_) startComparison();
  following_->resume();
}

// --- saved scans shown --------------------------------------------------------

void TMSession::importScans(std::vector<std::string> paths) {
  stopReading();
  if (paths.size() == 1) {
    // One saved scan is shown as it is read, its map growing like a scan's
    // (from a pipe: a scan under way elsewhere).
    showLive(savedScanFileAt(paths.front()), false);
    return;
  }
  const uint64_t openings = controller_->openings();
  readJob_ = jobs_.start(
      "reading a saved scan", TMJobRunner::Reads::kNothingShared,
      [this, paths = std::move(paths), openings](const TMJobRunner::Job& job) {
        auto result = std::make_shared<TMImportResult>(importNcduExportsAt(paths, job.stopToken()));
        job.post([this, result, openings] {
          // Something else was opened meanwhile: this is no longer wanted.
          if (openings != controller_->openings()) return;
          if (auto* error = std::get_if<TMImportError>(result.get())) {
            tell([&](TMSessionObserver& o) { o.readFailed(TMSessionObserver::Reading::kShowing, *error); });
            return;
          }
          jobs_.afterTreeReaders([this, result] {
            controller_->openImportedTree(std::move(std::get<TMImportedScan>(*result)));
          });
        });
      },
      [this](bool) {
        if (forgetEnded(readJob_))
          tell([](TMSessionObserver& o) { o.readingChanged(TMSessionObserver::Reading::kShowing, false); });
      });
  if (readJob_ != 0)
    tell([](TMSessionObserver& o) { o.readingChanged(TMSessionObserver::Reading::kShowing, true); });
  else
    tell([](TMSessionObserver& o) { o.readFailed(TMSessionObserver::Reading::kShowing, noThreadError()); });
}

void TMSession::scanAsAdministrator(std::string scanProgram, std::string folder) {
  stopReading();
  showLive(administratorScanOf(std::move(scanProgram), std::move(folder)), true);
}

void TMSession::showLive(TMSavedScanOpener open, bool asAdministrator) {
  controller_->readSavedScanLive(
      std::move(open),
      [this](const TMImportError& error) {
        tell([&](TMSessionObserver& o) { o.readFailed(TMSessionObserver::Reading::kShowing, error); });
      },
      asAdministrator);
}

void TMSession::stopReading() {
  jobs_.stop(readJob_);
  jobs_.stop(compareReadJob_);
}

// --- find ---------------------------------------------------------------------

void TMSession::startSearch(std::function<bool(std::string_view)> matches) {
  searchMatches_ = matches;
  searchMatchesInFile_.reset();  // until the walk below has counted them
  searchInMemory(matches);
  // A saved scan read in part: the largest matches are found in its file
  // and the folders holding them read; the tree is then searched again.
  if (!searchJob_ || !shownUrl_) return;
  startLargestFromFile(searchFileJob_, *shownUrl_, kMatchesReadFromFile, matches, true,
                       [this, matches](std::optional<uint64_t> matched) {
                         searchMatchesInFile_ = matched;
                         searchInMemory(matches);
                       });
}

void TMSession::searchAgain() {
  if (searchMatches_) searchInMemory(searchMatches_);
}

void TMSession::searchInMemory(std::function<bool(std::string_view)> matches) {
  jobs_.stop(searchJob_);
  searchJob_ = 0;
  if (!matches || !isShownTreeComplete() || searchedFolder(*shownTree_) == nullptr) {
    endSearch();
    return;
  }
  searchJob_ = jobs_.start(
      "searching", TMJobRunner::Reads::kTheTree,
      [this, tree = shownTree_, matches = std::move(matches)](const TMJobRunner::Job& job) {
        auto result = std::make_shared<const TMSearchResult>(
            searchTree(*searchedFolder(*tree), matches, [&job] { return !job.stopRequested(); }));
        if (result->abandoned) return;
        job.post([this, result] {
          replaceSearchResult(result);
          tell([](TMSessionObserver& o) { o.searchChanged(); });
        });
      },
      [this](bool) { forgetEnded(searchJob_); });
}

void TMSession::endSearch() {
  searchMatches_ = nullptr;
  searchMatchesInFile_.reset();
  jobs_.stop(searchJob_);
  searchJob_ = 0;
  jobs_.stop(searchFileJob_);
  searchFileJob_ = 0;
  if (!searchResult_) return;
  replaceSearchResult(nullptr);
  tell([](TMSessionObserver& o) { o.searchChanged(); });
}

void TMSession::replaceSearchResult(std::shared_ptr<const TMSearchResult> result) {
  std::shared_ptr<const TMSearchResult> last = std::exchange(searchResult_, std::move(result));
  applyColoring();  // the map lets go of the last result's colouring
  if (last.use_count() != 1) return;  // still held elsewhere
  jobs_.start("letting go of the last search's result", TMJobRunner::Reads::kNothingShared,
              [last = std::move(last)](const TMJobRunner::Job&) {});
}

// --- compare ------------------------------------------------------------------

void TMSession::compareWithSavedScan(const std::string& path) {
  jobs_.stop(compareReadJob_);
  compareReadJob_ = jobs_.start(
      "reading a saved scan", TMJobRunner::Reads::kNothingShared,
      [this, path](const TMJobRunner::Job& job) {
        auto result = std::make_shared<TMImportResult>(importNcduExportAt(path, job.stopToken()));
        job.post([this, result] {
          if (auto* error = std::get_if<TMImportError>(result.get())) {
            tell([&](TMSessionObserver& o) { o.readFailed(TMSessionObserver::Reading::kComparing, *error); });
            return;
          }
          TMImportedScan& scan = std::get<TMImportedScan>(*result);
          endComparison();
          savedTree_ = std::move(scan.root);
          // Measured as the shown tree will be; nothing reads it yet.
          savedMeasure_ = TMSizeMeasure::kOnDisk;
          remeasureSavedTree();
          savedAt_ = scan.timestamp;
          if (!controller_->scannedUrl()) {
            // Nothing shown yet: the folder the saved scan names, as it is now.
            const TMFileURL url = TMFileURL::fromPathComponents(scan.rootComponents);
            comparedUrl_ = url;
            controller_->openURL(url);
            return;
          }
          comparedUrl_ = controller_->scannedUrl();
          startComparison();
        });
      },
      [this](bool) {
        if (forgetEnded(compareReadJob_))
          tell([](TMSessionObserver& o) { o.readingChanged(TMSessionObserver::Reading::kComparing, false); });
      });
  if (compareReadJob_ != 0)
    tell([](TMSessionObserver& o) { o.readingChanged(TMSessionObserver::Reading::kComparing, true); });
  else
    tell([](TMSessionObserver& o) { o.readFailed(TMSessionObserver::Reading::kComparing, noThreadError()); });
}

void TMSession::remeasureSavedTree() {
  fileComparison_.reset();
  if (!savedTree_) return;
  remeasureTree(*savedTree_, savedMeasure_, controller_->sizeMeasure());
  savedMeasure_ = controller_->sizeMeasure();
}

void TMSession::startComparison() {
  if (!savedTree_ || !isShownTreeComplete()) return;
  jobs_.stop(comparisonJob_);
  // A saved scan read in part is compared whole from its file; the map's
  // colours come from what the tree holds.
  std::shared_ptr<TMLazyTreeLoader> loader = controller_->holdsFoldersNotRead() ? controller_->folderReader() : nullptr;
  comparisonJob_ = jobs_.start(
      "comparing", TMJobRunner::Reads::kTheTree,
      [this, saved = savedTree_, current = shownTree_, loader = std::move(loader), fromFile = fileComparison_,
       byLength = controller_->sizeMeasure() == TMSizeMeasure::kLength](const TMJobRunner::Job& job) {
        TMComparedFileTree savedSide(*saved);
        TMComparedFileTree currentSide(*current, loader != nullptr);
        TMTreeComparison inMemory = compareScans(savedSide, currentSide, 1000, job.stopToken());
        if (inMemory.stopped) return;
        std::shared_ptr<const TMTreeComparison> whole = fromFile;
        if (loader && !whole) whole = compareWithFile(*saved, *loader, byLength, job.stopToken());
        if (job.stopRequested()) return;
        auto result = std::make_shared<TMTreeComparison>(whole ? TMTreeComparison(*whole) : std::move(inMemory));
        if (whole) result->nodeChanges = inMemory.nodeChanges;
        job.post([this, result, whole] {
          comparisonJob_ = 0;
          comparison_ = result;
          fileComparison_ = whole;
          changeColoring_ = std::make_shared<TMChangeColoring>(result->nodeChanges);
          tell([](TMSessionObserver& o) { o.comparisonChanged(); });
        });
      });
}

void TMSession::endComparison() {
  jobs_.stop(comparisonJob_);
  comparisonJob_ = 0;
  savedTree_.reset();
  fileComparison_.reset();
  comparedUrl_.reset();
  savedAt_ = 0;
  if (!comparison_) return;
  comparison_.reset();
  changeColoring_.reset();
  tell([](TMSessionObserver& o) { o.comparisonChanged(); });
}

// --- saving -------------------------------------------------------------------

void TMSession::saveScan(const std::string& path) {
  if (!isShownTreeComplete() || !controller_->scannedUrl()) return;
  if (controller_->holdsFoldersNotRead()) {
    // Saved now, the folders not read yet would be saved empty.
    tell([&](TMSessionObserver& o) { o.saveEnded(path, false, "some folders of the saved scan are not read yet"); });
    return;
  }
  stopSaving();
  const bool imported = controller_->isImported();
  const TMTreeExportHeader header{controller_->scannedUrl()->path(), "tilemora", TILEMORA_VERSION, shownScannedAt(),
                                  imported ? std::string() : thisHostName(), controller_->treeMeasure()};
  saveJob_ = jobs_.start(
      "saving the scan", TMJobRunner::Reads::kTheTree,
      [this, tree = shownTree_, header, path](const TMJobRunner::Job& job) {
        std::string error;
        const bool saved = saveTreeExport(*tree, header, path, error, -1, job.stopToken());
        job.post([this, path, saved, error] { tell([&](TMSessionObserver& o) { o.saveEnded(path, saved, error); }); });
      },
      [this, path](bool stopped) {
        const bool last = forgetEnded(saveJob_);
        // A save stopped on the way tells nothing itself.
        if (stopped) tell([&](TMSessionObserver& o) { o.saveEnded(path, false, "stopped"); });
        if (last) tell([](TMSessionObserver& o) { o.savingChanged(false); });
      });
  if (saveJob_ != 0)
    tell([](TMSessionObserver& o) { o.savingChanged(true); });
  else
    tell([&](TMSessionObserver& o) { o.saveEnded(path, false, kNoThread); });
}

void TMSession::stopSaving() { jobs_.stop(saveJob_); }

void TMSession::setHistory(bool keep, std::string stateHome) {
  keepsHistory_ = keep;
  stateHome_ = std::move(stateHome);
}

void TMSession::saveToHistory() {
  if (!keepsHistory_ || !isShownTreeComplete() || controller_->isImported() || controller_->wasStopped() ||
      !controller_->scannedUrl())
    return;
  const TMTreeExportHeader header{controller_->scannedUrl()->path(), "tilemora", TILEMORA_VERSION, scanStartedAt_,
                                  thisHostName(), controller_->treeMeasure()};
  const uint64_t job = jobs_.start(
      "keeping the scan in the history", TMJobRunner::Reads::kTheTree,
      [this, tree = shownTree_, header, history = TMScanHistory(stateHome_)](const TMJobRunner::Job& job) {
        std::string error;
        if (history.save(*tree, header, error, job.stopToken()) || job.stopRequested()) return;
        job.post([this, error] { tell([&](TMSessionObserver& o) { o.historyFailed(error); }); });
      });
  if (job == 0) tell([](TMSessionObserver& o) { o.historyFailed(kNoThread); });
}

// --- colours ------------------------------------------------------------------

void TMSession::setModeColoring(std::shared_ptr<const TMFileColoring> coloring) {
  modeColoring_ = std::move(coloring);
  applyColoring();
}

void TMSession::setPickedFiles(std::shared_ptr<const std::unordered_set<const TMFileTree*>> files) {
  pickedFiles_ = std::move(files);
  applyColoring();
}

void TMSession::applyColoring() {
  std::shared_ptr<const TMFileColoring> coloring = modeColoring_;
  if (searchResult_) {
    // The covered files, shared with the result that holds them.
    std::shared_ptr<const TMHighlightColoring::Files> picked(searchResult_, &searchResult_->coveredFiles);
    std::shared_ptr<const TMBytesByFolder> pickedBytes(searchResult_, &searchResult_->coveredBytes);
    coloring = std::make_shared<TMHighlightColoring>(coloring, std::move(picked), std::move(pickedBytes));
  } else if (pickedFiles_) {
    coloring = std::make_shared<TMHighlightColoring>(coloring, pickedFiles_);
  }
  view_.setFileColoring(std::move(coloring));
  tell([](TMSessionObserver& o) { o.coloringChanged(); });
}

}  // namespace tilemora
