// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drives the scans of one window: starts them, rebuilds a shallow map while
// they run (one progress step per 1000 scanned entries, never more than one
// waiting at a time), hands the full map to the view at the end, and keeps
// the progress indicator in step. The full map of a big tree takes a while
// to build, so it is built as a job of the window's runner while the last
// shallow map stays on screen; the scan counts as running until it is
// handed over. Before the tree changes (another tree, a deletion) the jobs
// reading it are asked to stop, and the change waits for them on the main
// queue, never on the main thread.
//
// Lifetime: the window holds the controller in a shared_ptr. Everything a
// scan calls back holds only a weak reference to it, so nothing is ever
// called on a closed window; closing the window, or opening another folder,
// stops the old scan, whose tree then goes as soon as nothing holds it.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "view/controller/TMGlobalQueues.h"
#include "view/map/TMTreeMapView.h"
#include "view/session/TMTreeObserver.h"
#include "view/controller/TMWindowHost.h"
#include "core/platform/TMJobRunner.h"
#include "core/filetree/TMFileTree.h"
#include "core/filetree/TMFilesBelow.h"
#include "core/filetree/TMSizeMeasure.h"
#include "core/scan/TMScanOptions.h"
#include "core/scan/TMScanTask.h"
#include "core/follow/TMFolderUpdate.h"
#include "import/TMLazyTreeLoader.h"
#include "import/TMNcduImport.h"
#include "import/TMSavedScanStream.h"
#include "import/TMScanOrigins.h"

namespace tilemora {

class TMScanProgressRelay;
struct TMFileTreeStorage;

class TMMainWindowController : public std::enable_shared_from_this<TMMainWindowController> {
 public:
  // `windowClosed` runs when the controller goes away (the delegate's
  // notifyWindowClosed). `jobs` runs its work off the main thread and must
  // outlive it.
  TMMainWindowController(TMWindowHost& window, TMTreeMapView& mainTreeView, TMJobRunner& jobs,
                         TMScanEnvironment environment, std::function<void()> windowClosed = {});
  ~TMMainWindowController();
  TMMainWindowController(const TMMainWindowController&) = delete;
  TMMainWindowController& operator=(const TMMainWindowController&) = delete;

  // Told of the tree shown, the map's changes and deletions; none by default.
  void setTreeObserver(TMTreeObserver* observer) { treeObserver_ = observer; }

  // Starts scanning `url` in this window; a scan still running is stopped.
  // A path that cannot be scanned shows why in the message view instead.
  // The work reading the shown tree is asked to stop first: the scan starts
  // once it has (at once when none runs). Taken by value: Rescan passes the
  // URL this call replaces.
  void openURL(TMFileURL url);
  // Shows a saved scan instead of scanning: its root, scanned at the path
  // it names (on whatever machine made it), when it says, with the folders
  // it could not read, the entries it excluded and the sizes it lacks. Its
  // items cannot be revealed, moved to the trash or scanned again here.
  void openImportedTree(TMImportedScan scan);
  // Shows a saved scan as it is read from what `open` opens: the map grows
  // as a scan's does, Stop ends the reading, and what is read whole ends as
  // openImportedTree's. What cannot be read whole clears the map, and
  // `failed` is told why.
  // `asAdministrator`: it is a scan of this machine run as root (see
  // administratorScanOf); its map stays read-only all the same.
  void readSavedScanLive(TMSavedScanOpener open, std::function<void(const TMImportError&)> failed,
                         bool asAdministrator = false);
  bool isAdministratorScan() const { return administratorScan_; }
  // What the next scans count (the current one goes on as it began).
  void setScanOptions(const TMScanOptions& options) { environment_.options = options; }
  const TMScanOptions& scanOptions() const { return environment_.options; }
  // What the map, the list and the status measure by. A complete tree is
  // re-measured once the work reading it has let go of it, and its map
  // built again, keeping the folder shown and the selection where they
  // still show; a tree being scanned, once its scan ends.
  void setSizeMeasure(TMSizeMeasure measure);
  TMSizeMeasure sizeMeasure() const { return sizeMeasure_; }
  // What the shown tree is measured by now (it may still lag the choice).
  TMSizeMeasure treeMeasure() const { return treeMeasure_; }
  // Tells the window the status again, and redraws the map: the units of
  // sizes may have changed.
  void refreshSizeTexts();
  // Counts what the window was asked to show (folders and saved scans), so
  // that a slow reader can tell whether its result is still wanted.
  uint64_t openings() const { return commits_; }
  // Whether the window shows a saved scan.
  bool isImported() const { return imported_; }
  // Whether the shown saved scan has folders not read yet (a binary export
  // read a folder at a time).
  bool holdsFoldersNotRead() const { return importedNotRead_ > 0; }
  // What reads it, while it can (none once a part of the file was broken).
  const std::shared_ptr<TMLazyTreeLoader>& folderReader() const { return folderReader_; }
  // Reads the folders from the root down to each of `paths` (names below
  // the root) where they are not read yet, off the main thread, and builds
  // the map again; `done` then runs on the main thread, unless another tree
  // was opened meanwhile. False, starting nothing, when no saved scan is
  // read a folder at a time.
  bool readFoldersAlong(std::vector<std::vector<std::string>> paths, std::function<void()> done);
  // When the saved scan shown was made (seconds since the epoch; 0: not said).
  int64_t importedScannedAt() const { return importedScannedAt_; }
  // Where the saved scans shown side by side came from (none otherwise).
  const TMScanOrigins& scanOrigins() const { return scanOrigins_; }
  // Stops the running scan (Esc, the Stop button) and shows what it found.
  void stopScanning();
  // Whether the tree shown is what a stopped scan found.
  bool wasStopped() const { return stopped_; }
  // The tree map view's root itself was deleted: forget the tree.
  void notifyViewCleanup();

  // Installs the drop responder and the view's state-change callback (so
  // the flags follow the view at once), then opens the folder waiting in
  // `queues`, if any.
  void awakeFromNib(TMGlobalQueues& queues);

  // The window's commands, forwarded to the view.
  void zoomInView();
  void zoomOutView();
  void narrowFolder();
  void goUp();
  void revealInFinder();
  // Moves the selection to the trash, unless a scan is still writing the
  // tree; asks first (always for the scanned folder itself), and acts on
  // the answer only if the selection is still the same, once the work
  // reading the tree has let go of it.
  void deleteSelectedElement();
  // Whether Move to Trash asks before it acts on items inside the scanned
  // folder.
  void setAskBeforeTrash(bool ask) { askBeforeTrash_ = ask; }
  bool asksBeforeTrash() const { return askBeforeTrash_; }
  // Whether a map is shown (Select First Item applies).
  bool showsMap() const { return mainTreeView_.current() != nullptr; }
  // Whether Rescan applies: a folder scanned here is known.
  bool canRescan() const { return scannedUrl_.has_value() && !imported_; }
  // Whether Move to Trash can act now: no scan runs and the selection is
  // an item on disk.
  bool canDeleteSelection() const;

  // --- changes on disk followed (see TMChangeFollowing) ---------------------
  // Counts the changes made to the shown tree (a new tree, a deletion, a
  // re-measure, changes followed): a plan made from another version is stale.
  uint64_t treeVersion() const { return treeVersion_; }
  // What the shown tree is made of, when it is a complete scan of this
  // machine that can follow changes; null otherwise.
  std::shared_ptr<TMFileTreeStorage> followableTreeStorage() const;
  // What the shown scan counted, with the exclusions it used.
  TMScanEnvironment shownScanEnvironment() const;
  // Makes `plan` to the shown tree (nothing may read it) and shows the
  // result: the map in place (or built again), the counts, the status, the
  // observers. False, changing nothing, when the plan is stale.
  bool applyFollowedChanges(const TMChangePlan& plan);
  // What the status line tells of following.
  void setFollowing(bool following, uint64_t followed, uint64_t unfollowed);

  // Recomputes the five flags from the view, then tells the window once.
  void mapStateChange();
  // Reads the folder selected, when it is one of a saved scan read a folder
  // at a time and not read yet (see TMMainWindowReading).
  void readFolderLookedInto();
  // Shows what a job reading folders of the saved scan (opening `commit`)
  // left: the counts, the map; a broken part of the file ends the reading.
  void foldersRead(uint64_t commit, bool broken, const TMLazyTreeLoader::Held& held);

  std::shared_ptr<TMFileTree> curentlyNavigated() const { return curentlyNavigated_; }
  const std::optional<TMFileURL>& scannedUrl() const { return scannedUrl_; }
  // Every folder the finished scan could not read (none while it runs).
  const std::vector<TMUnreadableFolder>& unreadableFolders() const;
  // Progress notices received since the current scan began.
  uint64_t scannedElementCount() const;
  // True from the start of a scan until its full map is on screen.
  bool isScanning() const { return scanTask_ && !mapFinal_; }

  // The toolbar flags; they start as an empty window's.
  bool atMaximumZoom() const { return atMaximumZoom_; }
  bool atMinimumZoom() const { return atMinimumZoom_; }
  bool showableInFinder() const { return showableInFinder_; }
  bool narrowable() const { return narrowable_; }
  bool atTopLevel() const { return atTopLevel_; }
  void setAtMaximumZoom(bool value) { atMaximumZoom_ = value; }
  void setAtMinimumZoom(bool value) { atMinimumZoom_ = value; }
  void setShowableInFinder(bool value) { showableInFinder_ = value; }
  void setNarrowable(bool value) { narrowable_ = value; }
  void setAtTopLevel(bool value) { atTopLevel_ = value; }

 private:
  friend class TMScanProgressRelay;
  // A new tree is being shown: not ended, stopped or final yet, with a new
  // commit number and its clock started.
  void beginTree();
  // The progress step: shows a volume's progress and starts building a
  // depth-3 map of the growing tree on a thread of its own, unless one is
  // being built or the last one was shown too recently.
  void updateView();
  // The map built in `buildTime` for the tree of the commit numbered
  // `commit`, on screen unless that tree has gone or its full map is shown.
  void showProgressLayout(uint64_t commit, std::shared_ptr<TMLayoutNode> layout,
                          std::chrono::steady_clock::duration buildTime);
  // The progress bar at a step: a volume's fraction found so far.
  void showProgressFraction();
  // Lets go of `layout` as a job (tearing down a big map takes
  // milliseconds), then runs `then` there.
  void releaseOffTheMainThread(std::shared_ptr<TMLayoutNode> layout, std::function<void()> then = {});
  // The scan of `url`, once the jobs reading the old tree have let go.
  void openURLNow(const TMFileURL& url);
  // The same for a saved scan read as it arrives.
  void readSavedScanLiveNow(TMSavedScanOpener open, std::function<void(const TMImportError&)> failed,
                            bool asAdministrator);
  // The saved scan being read names its root, `root`, with `scan`'s facts.
  void savedScanRootKnown(std::shared_ptr<TMFileTree> root, const TMImportedScan& scan);
  // The saved scan has been read whole, or could not be.
  void savedScanEnded(const TMImportedScan& scan);
  void savedScanFailed();
  // What the status tells of a saved scan: its date, the folders it could
  // not read, the entries it excluded, the sizes it lacks.
  void noteImportedFacts(const TMImportedScan& scan);
  // The running scan is stopped, and its task goes as a job: its thread is
  // waited for off the main thread.
  void retireScan();
  // Deletes the selection asked about as `asked`, its items `urls` (commit
  // `commit`), if it is still what the map selects.
  void deleteIfStillSelected(const std::weak_ptr<const TMNodeState>& asked, std::vector<TMFileURL> urls,
                             uint64_t commit);
  // The items selected, without those inside another one of them.
  std::vector<TMTreeMapView::TMSelectedItem> outermostSelectedItems() const;
  // The end of the scan: starts building the full map.
  void commitTree();
  // Builds the full map of the commit numbered `commit` off the main
  // thread, the tree measured as chosen first.
  void buildFullMap(uint64_t commit);
  // Re-measures the shown tree, nothing reading it, when it is not measured
  // as chosen; answers whether it did.
  bool remeasureNow();
  // Builds the whole map of the shown tree again off the main thread and
  // shows it where the old one was (see showRemeasuredMap).
  void buildMapAgain();
  // The full map of the re-measured tree, shown where the old one was.
  void showRemeasuredMap(uint64_t commit, std::shared_ptr<TMLayoutNode> layout);
  // The full map of the commit numbered `commit`, with the files and folders
  // counted beside it; ignored when another folder was opened since.
  void finishCommit(uint64_t commit, std::shared_ptr<TMLayoutNode> layout,
                    std::pair<uint64_t, uint64_t> entryCounts);
  void stopScan();
  // The status of the current scan, counting files and folders at its end.
  TMScanStatus scanStatus() const;
  // What the status tells of the selection.
  std::optional<TMSelectionStatus> selectionStatus() const;
  // Files and folders below `node`, kept for the last node asked about.
  std::pair<uint64_t, uint64_t> entriesBelow(const TMFileTree& node) const;
  // A node left the tree: the counts drop by what went.
  void noteDeleted(const TMFileTree& node);

  TMWindowHost& window_;
  TMTreeMapView& mainTreeView_;
  TMJobRunner& jobs_;
  TMTreeObserver* treeObserver_ = nullptr;
  TMScanEnvironment environment_;
  std::function<void()> windowClosed_;

  std::shared_ptr<TMFileTree> curentlyNavigated_;
  std::optional<TMFileURL> scannedUrl_;
  std::shared_ptr<TMScanProgressRelay> relay_;  // the current scan's receiver
  std::shared_ptr<TMScanTask> scanTask_;
  bool ended_ = false;     // the scan thread is done (or stopped)
  bool mapFinal_ = false;  // its full map is on screen
  bool stopped_ = false;
  bool progressBuilding_ = false;  // a shallow map is being built off the main thread
  // No shallow map is started before then: the live map takes a small share
  // of the processors, whatever a map of this tree costs to build and show.
  std::chrono::steady_clock::time_point nextProgressLayoutAt_;
  static constexpr int kIdleTimesPerProgressLayout = 24;
  std::shared_ptr<TMLayoutNode> progressLayout_;  // the shallow map shown
  bool imported_ = false;
  bool administratorScan_ = false;  // imported_ too: read-only
  int64_t importedScannedAt_ = 0;
  uint64_t importedUnreadable_ = 0;
  uint64_t importedNotRead_ = 0;  // folders of a binary export not read yet
  // What reads the folders of a binary export not read yet, and the job
  // reading one (0: none).
  std::shared_ptr<TMLazyTreeLoader> folderReader_;
  uint64_t folderReadJob_ = 0;
  uint64_t importedExcluded_ = 0;
  uint64_t importedWithoutLength_ = 0;
  uint64_t importedWithoutAllocatedSize_ = 0;
  TMScanOrigins scanOrigins_;
  uint64_t commits_ = 0;   // numbers the full maps asked for
  std::pair<uint64_t, uint64_t> entryCounts_;  // files and folders, once final
  bool askBeforeTrash_ = true;
  TMSizeMeasure sizeMeasure_ = TMSizeMeasure::kOnDisk;
  TMSizeMeasure treeMeasure_ = TMSizeMeasure::kOnDisk;
  std::shared_ptr<const TMExclusions> scanExclusions_;  // what the shown scan left out
  mutable const TMFileTree* countedNode_ = nullptr;  // the last node entriesBelow counted
  mutable std::pair<uint64_t, uint64_t> countedEntries_;
  std::chrono::steady_clock::time_point scanStart_;
  std::chrono::steady_clock::time_point scanShown_;  // when the full map was handed over

  uint64_t treeVersion_ = 0;
  bool following_ = false;
  uint64_t followedFolders_ = 0;
  uint64_t unfollowedFolders_ = 0;

  bool atMaximumZoom_ = false;
  bool atMinimumZoom_ = false;
  bool showableInFinder_ = false;
  bool narrowable_ = false;
  bool atTopLevel_ = true;
};

}  // namespace tilemora
