// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's session: what the window shows and the work on it. It owns
// the job runner, the main window controller (the tree, scanned or
// imported, and its scan), the saved scan being read, the search and its
// matches, the saved scan compared with and the comparison, the saving of
// the shown scan and of the history, and the colouring the map draws with.
// Whoever presents it observes it (TMSessionObserver) and sends it
// commands; no presenter talks to another.
//
// Every piece of work runs as a job of the runner; the tree changes (a new
// tree, a deletion) only once the jobs reading it have let go of it. Main
// thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "view/controller/TMMainWindowController.h"
#include "view/session/TMChangeFollowing.h"
#include "view/session/TMSessionObserver.h"
#include "core/drawing/TMFileColoring.h"
#include "core/drawing/TMFileTypes.h"
#include "core/filetree/TMLargestMatches.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/platform/TMJobRunner.h"
#include "import/TMTreeComparison.h"

namespace tilemora {

class TMChangeColoring;

class TMSession final : private TMTreeObserver {
 public:
  // What the session needs of the window: its host and its map view; the
  // scans' surroundings; what runs when the window's controller goes.
  TMSession(TMWindowHost& window, TMTreeMapView& view, TMScanEnvironment environment,
            std::function<void()> windowClosed = {});
  ~TMSession() override;
  TMSession(const TMSession&) = delete;
  TMSession& operator=(const TMSession&) = delete;

  TMMainWindowController& controller() { return *controller_; }
  const TMMainWindowController& controller() const { return *controller_; }
  TMJobRunner& jobs() { return jobs_; }

  // Observers are told in the order they were added; each must go before
  // the session, or be removed.
  void addObserver(TMSessionObserver& observer);
  void removeObserver(TMSessionObserver& observer);

  // The tree shown, and whether its scan still writes it.
  const std::shared_ptr<TMFileTree>& shownTree() const { return shownTree_; }
  bool isShownTreeComplete() const { return shownTree_ && !shownScanning_; }
  // When the shown tree was scanned (seconds since the epoch): for a scan
  // here, when it began; for a saved scan, as it says.
  int64_t shownScannedAt() const;

  // --- saved scans shown ---------------------------------------------------
  // Reads the saved scans at `paths` ("-": standard input) and shows them,
  // side by side when several; wanted only while nothing else is opened
  // meanwhile. Reading can be stopped.
  void importScans(std::vector<std::string> paths);
  // Scans `folder` as root through pkexec, with `scanProgram` (the absolute
  // path of tilemora-scan) as the helper, the map growing as it is read;
  // the map is read-only.
  void scanAsAdministrator(std::string scanProgram, std::string folder);
  // Whether a saved scan is being read, to show or to compare with.
  bool isReading() const { return readJob_ != 0 || compareReadJob_ != 0; }
  void stopReading();

  // --- find ----------------------------------------------------------------
  // Searches the shown tree for the names `matches` accepts, off the main
  // thread; a newer search replaces one still running. Nothing is searched
  // (and the matches go) while there is no complete tree or no pattern.
  // On a saved scan read in part, the folders holding its largest matches
  // (kMatchesReadFromFile at most) are read first, by a walk through its
  // file, and the tree is searched again.
  void startSearch(std::function<bool(std::string_view)> matches);
  static constexpr size_t kMatchesReadFromFile = 10'000;
  // The last search again, in the tree as it is now (changed since).
  void searchAgain();
  void endSearch();
  const std::shared_ptr<const TMSearchResult>& searchResult() const { return searchResult_; }
  // How many entries below the shown folder match in the file of a saved
  // scan read in part, once it has been walked: more than the matches
  // found when they are more than kMatchesReadFromFile.
  std::optional<uint64_t> matchesInFile() const { return searchMatchesInFile_; }

  // --- compare -------------------------------------------------------------
  // Reads the saved scan at `path` and compares the shown tree with it; a
  // scan still running is compared once it ends. A session that shows
  // nothing opens the folder the saved scan names.
  void compareWithSavedScan(const std::string& path);
  void endComparison();
  const std::shared_ptr<const TMTreeComparison>& comparison() const { return comparison_; }
  const std::shared_ptr<TMChangeColoring>& changeColoring() const { return changeColoring_; }
  // When the saved scan compared with was made (0: not said).
  int64_t savedAt() const { return savedAt_; }

  // --- saving --------------------------------------------------------------
  // Writes the shown scan to `path`, compressed as its name ends. Stops
  // when asked, or when the tree is about to change.
  void saveScan(const std::string& path);
  bool isSaving() const { return saveJob_ != 0; }
  void stopSaving();
  // Whether completed scans go to the history, kept in `stateHome`.
  void setHistory(bool keep, std::string stateHome);

  // --- changes on disk -----------------------------------------------------
  // Whether a complete scan's map follows the changes on disk (see
  // TMChangeFollowing); off by default.
  void setFollowChanges(bool follow);
  bool followsChanges() const { return following_->isEnabled(); }
  bool isFollowingChanges() const { return following_->isFollowing(); }

  // --- file types ----------------------------------------------------------
  // Counts the files below the shown tree's folder at `url` by type from
  // the saved scan's file, off the main thread, when folders of the tree
  // are not read yet: the count is then of the whole scan, and only the
  // totals are held. `progress` gets the share counted (0 to 1) now and
  // then, `counted` the totals (null when the file could not be read: count
  // in memory then), both on the main thread. A newer count, or a new tree,
  // stops one still running. Answers false, starting nothing, when the tree
  // in memory is whole (count it there).
  bool countFileTypesFromFile(const TMFileURL& url, std::function<void(double share)> progress,
                              std::function<void(const TMTypeStatistics*)> counted);
  void stopCountingFileTypes();

  // --- the largest of a saved scan read in part ----------------------------
  // Finds the `keep` largest entries below the shown tree's folder at `url`
  // that `accepts` takes (every file without it; folders too with
  // `folders`) by a walk through the saved scan's file, off the main
  // thread, then reads the folders that lead to them: the tree in memory
  // then holds them, and what looks for the largest there finds them.
  // `done` runs on the main thread once they are read, or when nothing
  // could be (unless a new tree is shown). A newer walk replaces one still
  // running. Answers false, starting nothing, when the tree is whole.
  bool readLargestFromFile(const TMFileURL& url, size_t keep, TMLargestMatches::Accepts accepts, bool folders,
                           std::function<void()> done);

  // --- colours -------------------------------------------------------------
  // The colouring of the colour mode in use (null: by depth).
  void setModeColoring(std::shared_ptr<const TMFileColoring> coloring);
  // Files picked out (a type chosen in the types window), or none.
  void setPickedFiles(std::shared_ptr<const std::unordered_set<const TMFileTree*>> files);

 private:
  // Shows the saved scan `open` opens as it is read (see readSavedScanLive).
  void showLive(TMSavedScanOpener open, bool asAdministrator);
  // TMTreeObserver: what the controller tells, passed on.
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void mapStateChanged() override;
  void itemDeleted(const TMFileTree& node) override;
  void treeRemeasured(const std::shared_ptr<TMFileTree>& tree) override;
  void treeChanged(const std::shared_ptr<TMFileTree>& tree) override;

  // Clears `job` once it has ended; answers whether it did (a newer job of
  // the same kind may have taken its place).
  bool forgetEnded(uint64_t& job);
  // The names below the shown root down to `url`, when the shown tree is
  // a saved scan read in part and `url` lies in it.
  std::optional<std::vector<std::string>> pathBelowShownRoot(const TMFileURL& url) const;
  // What readLargestFromFile does, as the job in `slot` (a member);
  // `done` is told how many entries matched in the file, once walked.
  bool startLargestFromFile(uint64_t& slot, const TMFileURL& url, size_t keep, TMLargestMatches::Accepts accepts,
                            bool folders, std::function<void(std::optional<uint64_t> matched)> done);
  void searchInMemory(std::function<bool(std::string_view)> matches);
  // Puts `result` (null: none) in the place of the search's result and
  // colours the map by it; the last result is freed on a job (a find on a
  // large tree holds millions of entries).
  void replaceSearchResult(std::shared_ptr<const TMSearchResult> result);
  // `saved` compared with the whole of the saved scan `loader` reads, from
  // its file; null when it cannot be read or `stop` was asked.
  static std::shared_ptr<const TMTreeComparison> compareWithFile(const TMFileTree& saved,
                                                                 const TMLazyTreeLoader& loader, bool byLength,
                                                                 const std::stop_token& stop);
  void startComparison();
  // Measures the saved tree as the shown one is to be; only while nothing
  // reads it.
  void remeasureSavedTree();
  void saveToHistory();
  // The map's colouring: the mode's, with the matches or the picked files
  // picked out.
  void applyColoring();
  template <class Tell>
  void tell(Tell&& tell);

  // Declared first: it goes last, after everything its jobs call back.
  TMJobRunner jobs_;
  TMTreeMapView& view_;
  std::shared_ptr<TMMainWindowController> controller_;
  std::vector<TMSessionObserver*> observers_;
  // After the controller: it follows the controller's tree.
  std::unique_ptr<TMChangeFollowing> following_;

  std::shared_ptr<TMFileTree> shownTree_;
  std::optional<TMFileURL> shownUrl_;
  bool shownScanning_ = false;
  int64_t scanStartedAt_ = 0;

  uint64_t readJob_ = 0;  // 0: none
  uint64_t searchJob_ = 0;
  uint64_t searchFileJob_ = 0;  // the walk through a saved scan's file for it
  std::function<bool(std::string_view)> searchMatches_;  // what the search looks for
  std::optional<uint64_t> searchMatchesInFile_;          // what its walk through the file counted
  std::shared_ptr<const TMSearchResult> searchResult_;

  uint64_t compareReadJob_ = 0;
  uint64_t comparisonJob_ = 0;
  std::shared_ptr<TMFileTree> savedTree_;
  TMSizeMeasure savedMeasure_ = TMSizeMeasure::kOnDisk;
  int64_t savedAt_ = 0;
  std::optional<TMFileURL> comparedUrl_;
  std::shared_ptr<const TMTreeComparison> comparison_;
  // Of the shown saved scan read in part, compared whole from its file:
  // kept while the trees stay, as reading folders changes only the colours.
  std::shared_ptr<const TMTreeComparison> fileComparison_;
  std::shared_ptr<TMChangeColoring> changeColoring_;

  uint64_t saveJob_ = 0;
  uint64_t typesJob_ = 0;
  uint64_t largestJob_ = 0;
  bool keepsHistory_ = false;
  std::string stateHome_;

  std::shared_ptr<const TMFileColoring> modeColoring_;
  std::shared_ptr<const std::unordered_set<const TMFileTree*>> pickedFiles_;
};

}  // namespace tilemora
