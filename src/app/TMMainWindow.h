// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window: the initial message or the map pane, the progress bar,
// the menus and the toolbar; and its controller, which drives its scans
// and says which commands are possible. The window only places widgets.

#include <QMainWindow>
#include <atomic>
#include <unordered_set>
#include <memory>

#include "TMColourLegend.h"
#include "TMPreferences.h"
#include "view/TMMainWindowController.h"
#include "view/TMScanStatus.h"
#include "view/TMWindowHost.h"

class QAction;
class QActionGroup;
class QProgressBar;
class QSplitter;
class QStackedLayout;
class QMenu;

namespace tilemora {

class TilemoraAppDelegate;
class TMElidingLabel;
class TMFileList;
class TMFindBar;
class TMFileTypesWindow;
struct TMFileTypeChoice;
struct TMSearchResult;
class TMSelectionActions;
class TMTypeColoring;
class TMAgeColoring;
class TMChangeColoring;
struct TMTreeComparison;
struct TMDesktopAccess;
class TMMapPane;
class TMMessageView;

class TMMainWindow : public QMainWindow, public TMWindowHost {
  Q_OBJECT

 public:
  // Takes the folder waiting in the hand-over slot, if any, and starts
  // scanning it.
  TMMainWindow(TilemoraAppDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue);
  ~TMMainWindow() override;

  TMMainWindowController& controller() { return *controller_; }
  TMMessageView& messageView() { return *messageView_; }
  TMMapPane& mapPane() { return *mapPane_; }
  QProgressBar& progressBar() { return *progress_; }

  // File ▸ Open…: a folder for this window.
  void openDocument();
  // File ▸ Import Scan…: a saved scan for this window.
  void openImportDialog();
  // Reads the saved scan at `path` ("-": standard input) and shows it here.
  void importScan(const QByteArray& path) { importScans({path}); }
  // Reads the saved scans at `paths` and shows them side by side, as one map.
  void importScans(const QList<QByteArray>& paths);

  // File ▸ Save Scan…: the shown scan, written to a file the user names.
  QAction& saveScanAction() { return *saveScan_; }
  void openSaveDialog();
  // Writes the shown scan to `path` (compressed as its name ends) on a
  // thread of its own; tells the outcome in the status line, or in a box.
  void saveScan(const QByteArray& path);
  // File ▸ Compare with Saved Scan…, and the earlier scans of the shown
  // folder in File ▸ Compare With.
  QAction& compareAction() { return *compare_; }
  QMenu& compareWithMenu() { return *compareWith_; }
  void openCompareDialog();
  // Reads the saved scan at `path` and colours the map by what changed
  // since; a scan still running is compared once it ends. A window that
  // shows nothing opens the folder the saved scan names.
  void compareWithSavedScan(const QByteArray& path);
  // The comparison shown, if any.
  const TMTreeComparison* comparison() const { return comparison_.get(); }
  // The status line's words for the comparison: "+4.2 GB since 30 Nov 2026 18:20".
  QString comparisonText() const;
  // The list's mode "Changes" (View ▸ Changes), while comparing.
  QAction& showChangesAction() { return *showChanges_; }

  // TMWindowHost
  void showMessageView(bool shown) override;
  void showOpenFailure(const TMFileURL& url, std::string_view reason) override;
  void setProgressIndeterminate(bool indeterminate) override;
  bool isProgressIndeterminate() const override { return indeterminate_; }
  void startProgressAnimation() override;
  void stopProgressAnimation() override;
  void setProgressRange(double minimum, double maximum) override;
  void setProgressValue(double value) override;
  void setProgressVisible(bool visible) override;
  void noteRecentFolder(const TMFileURL& url) override;
  void showScanStatus(const TMScanStatus& status) override;
  TMElidingLabel& statusLine() { return *statusLine_; }
  QAction& stopAction() { return *stop_; }
  void setFileDropResponder(std::function<void(const TMFileURL&)> responder) override;
  void toolbarFlagsChanged() override;
  void askToMoveToTrash(const TMTrashQuestion& question,
                        std::function<void(bool move, bool stopAsking)> answer) override;
  void showFolderTrashed(const TMFileURL& url) override;
  // The list of every folder the scan could not read, if any.
  void showUnreadableFolders();

  // The View menu's and the toolbar's commands.
  QAction& zoomInAction() { return *zoomIn_; }
  QAction& zoomOutAction() { return *zoomOut_; }
  QAction& narrowAction() { return *narrow_; }
  QAction& goUpAction() { return *goUp_; }
  QAction& revealAction() { return *reveal_; }
  QAction& selectFirstItemAction() { return *selectFirstItem_; }
  QAction& moveToTrashAction() { return *moveToTrash_; }
  QAction& rescanAction() { return *rescan_; }
  QAction& showFreeSpaceAction() { return *showFreeSpace_; }
  // Shows or hides a volume's free and unscanned space (View ▸ Show Free Space).
  void setShowsFreeSpace(bool shown);

  // What the files are coloured by (View ▸ Colour By), with the legend.
  void setColourMode(TMColourMode mode);
  TMColourMode colourMode() const { return colourMode_; }
  QActionGroup& colourByActions() { return *colourBy_; }
  // View ▸ File Types: the shown folder's files by type (opened on demand).
  QAction& fileTypesAction() { return *fileTypes_; }
  TMFileTypesWindow* fileTypesWindow() { return fileTypesWindow_; }

  // Find (Ctrl+F): the bar over the map, its matches highlighted.
  TMFindBar& findBar() { return *findBar_; }
  QAction& findAction() { return *find_; }
  // The matches of the last search that ended, largest first; none while
  // nothing is searched for.
  const TMSearchResult* searchResult() const { return searchResult_.get(); }

  // The list beside the map, and the commands on a selection.
  TMFileList& fileList() { return *fileList_; }
  QAction& showListAction() { return *showList_; }
  QAction& largestFilesAction() { return *largestFiles_; }
  QAction& openItemAction() { return *openItem_; }
  QAction& openTerminalAction() { return *openTerminal_; }
  QAction& copyPathAction() { return *copyPath_; }
  // What the commands on a selection reach of the desktop (tests fake it).
  void setDesktopAccess(TMDesktopAccess desktop);
  void showTree(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void mapStateChanged() override;
  void itemDeleted(const TMFileTree& node) override;
  void willChangeTree() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The list's widgets, commands and settings (TMMainWindowList.cpp).
  void buildList(QWidget* mapPages);
  void buildListCommands();
  void setListShown(bool shown);
  void setShowsLargestFiles(bool shown);
  // The largest files of the shown folder, when the list shows them.
  void updateLargestFiles();
  void showSelectionMenu(const QPoint& globalPosition);
  void saveListSettings() const;
  void updateSelectionCommands();
  // Find (TMMainWindowFind.cpp).
  QWidget* buildFindBar(QWidget* mapPages);
  void startSearch();
  void showSearchResult(std::shared_ptr<const TMSearchResult> result);
  void selectMatch(int step);
  void endSearch();
  // The map's files coloured by the mode, with a search's matches picked out.
  void applyFileColoring();
  // View ▸ Colour By, and the legend (TMMainWindowColours.cpp).
  void buildColourCommands(QMenu& view);
  // The legend for the shown folder, when the colours are not by depth.
  void updateLegend();
  std::vector<TMColourLegend::Entry> typeLegend(const TMFileTree& folder) const;
  std::vector<TMColourLegend::Entry> ageLegend(const TMFileTree& folder) const;
  // The file types window's table for the shown folder, if it is open.
  void updateFileTypes();
  void pickType(const std::optional<TMFileTypeChoice>& choice);
  // Saving and comparing (TMMainWindowCompare.cpp).
  void buildCompareCommands();
  void fillCompareWithMenu();
  // Compares the saved tree with the shown one, on a thread of its own.
  void startComparison();
  void showComparison(std::shared_ptr<const TMTreeComparison> comparison);
  void endComparison();
  std::vector<TMColourLegend::Entry> changeLegend() const;
  // A tree is shown (`newTree`: another than before), complete or not
  // (from showTree): a comparison of another tree goes, one waiting for
  // this tree starts, and a complete scan goes to the history.
  void compareOrKeepTree(bool newTree, const TMFileURL& url, bool scanning);
  // The shown scan to the history, when the preference says so.
  void saveToHistory();
  // Runs `work` on a thread of its own while it reads the shown tree; a
  // deletion waits for it (willChangeTree).
  void readTreeElsewhere(std::function<void()> work);
  void setListMode(int mode);

  void buildMenus();
  void buildCommands();
  void fillRecentMenu();

  TilemoraAppDelegate& delegate_;
  TMMessageView* messageView_;
  TMMapPane* mapPane_;
  QProgressBar* progress_;
  TMElidingLabel* statusLine_;
  QAction* stop_ = nullptr;
  QStackedLayout* pages_;
  QMenu* recentMenu_ = nullptr;
  QAction* zoomIn_ = nullptr;
  QAction* zoomOut_ = nullptr;
  QAction* narrow_ = nullptr;
  QAction* goUp_ = nullptr;
  QAction* reveal_ = nullptr;
  QAction* selectFirstItem_ = nullptr;
  QAction* moveToTrash_ = nullptr;
  QAction* rescan_ = nullptr;
  QAction* showFreeSpace_ = nullptr;
  TMFileList* fileList_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QAction* showList_ = nullptr;
  QAction* largestFiles_ = nullptr;
  QAction* openItem_ = nullptr;
  QAction* openTerminal_ = nullptr;
  QAction* copyPath_ = nullptr;
  std::unique_ptr<TMSelectionActions> selectionActions_;
  std::shared_ptr<TMFileTree> listedTree_;  // what the list shows
  bool listedScanning_ = false;
  std::optional<TMFileURL> largestFilesFolder_;  // where the largest files were found
  TMFindBar* findBar_ = nullptr;
  QAction* find_ = nullptr;
  std::shared_ptr<std::atomic<uint64_t>> searches_ = std::make_shared<std::atomic<uint64_t>>(0);
  // Searches still reading the tree on their threads.
  std::shared_ptr<std::atomic<int>> searchesRunning_ = std::make_shared<std::atomic<int>>(0);
  std::shared_ptr<const TMSearchResult> searchResult_;
  int matchShown_ = -1;  // the match Enter selected last
  QActionGroup* colourBy_ = nullptr;
  TMColourMode colourMode_ = TMColourMode::kDepth;
  std::shared_ptr<TMTypeColoring> typeColoring_;
  std::shared_ptr<TMAgeColoring> ageColoring_;
  std::optional<TMFileURL> legendFolder_;  // the shown folder the legend counts
  QAction* fileTypes_ = nullptr;
  TMFileTypesWindow* fileTypesWindow_ = nullptr;
  std::optional<TMFileURL> fileTypesFolder_;  // the shown folder the types window counts
  // The files of the type chosen in the types window, picked out on the map.
  std::shared_ptr<const std::unordered_set<const TMFileTree*>> typePicked_;
  // Saving and comparing.
  QAction* saveScan_ = nullptr;
  QAction* compare_ = nullptr;
  QMenu* compareWith_ = nullptr;
  QAction* showChanges_ = nullptr;
  std::shared_ptr<TMFileTree> savedTree_;  // the saved scan compared with
  int64_t savedAt_ = 0;                    // when it was made
  std::optional<TMFileURL> comparedUrl_;   // the folder compared with it
  std::shared_ptr<const TMTreeComparison> comparison_;
  std::shared_ptr<TMChangeColoring> changeColoring_;
  uint64_t comparisons_ = 0;     // numbers them: only the last one shows
  uint64_t compareReads_ = 0;    // numbers the saved scans read to compare with
  int64_t scanStartedAt_ = 0;    // of the tree shown, for what is saved of it
  TMScanStatus lastStatus_;
  std::shared_ptr<TMMainQueue> mainQueue_;
  uint64_t imports_ = 0;  // numbers the reads started, so that only the last one shows
  bool indeterminate_ = true;
  bool animating_ = false;
  std::shared_ptr<TMMainWindowController> controller_;
};

}  // namespace tilemora
