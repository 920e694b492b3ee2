// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window: the initial message or the map pane, the progress bar,
// the menus and the toolbar; and its controller, which drives its scans
// and says which commands are possible. The window only places widgets.

#include <QMainWindow>
#include <memory>

#include "view/TMMainWindowController.h"
#include "view/TMWindowHost.h"

class QAction;
class QProgressBar;
class QStackedLayout;
class QMenu;

namespace tilemora {

class TilemoraAppDelegate;
class TMElidingLabel;
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
  void importScan(const QByteArray& path);

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

 private:
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
  std::shared_ptr<TMMainQueue> mainQueue_;
  uint64_t imports_ = 0;  // numbers the reads started, so that only the last one shows
  bool indeterminate_ = true;
  bool animating_ = false;
  std::shared_ptr<TMMainWindowController> controller_;
};

}  // namespace tilemora
