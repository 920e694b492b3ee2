// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window: it places the initial message or the map with the list
// and the find bar, the status line with the progress bar and Stop, the
// menus and the toolbar. What it shows is its session's; each feature
// (the map's commands, the list, find, colours, compare, the commands on a
// selection) is a class of its own that talks to the session.

#include <QMainWindow>
#include <memory>

#include "TMPreferences.h"
#include "view/controller/TMScanStatus.h"
#include "view/session/TMSession.h"
#include "view/controller/TMWindowHost.h"
#include "window/TMScanProgressBar.h"

class QStackedLayout;
class QMenu;
class QToolButton;

namespace tilemora {

class TMColoursFeature;
class TMCompareFeature;
class TMElidingLabel;
class TMFindFeature;
class TMListFeature;
class TMMapCommands;
class TMMapPane;
class TMMessageView;
class TMStartPage;
class TMSelectionCommands;
class TMWindowDelegate;

class TMMainWindow : public QMainWindow, private TMWindowHost, private TMSessionObserver {
  Q_OBJECT

 public:
  // Takes the folder waiting in the hand-over slot, if any, and starts
  // scanning it.
  TMMainWindow(TMWindowDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue);
  ~TMMainWindow() override;

  TMSession& session() { return *session_; }
  TMMainWindowController& controller() { return session_->controller(); }
  TMMessageView& messageView() { return *messageView_; }
  TMMapPane& mapPane() { return *mapPane_; }
  TMScanProgressBar& progressBar() { return *progress_; }
  TMElidingLabel& statusLine() { return *statusLine_; }
  QAction& stopAction() { return *stop_; }
  const QToolButton& stopButton() const { return *stopButton_; }
  TMMapCommands& mapCommands() { return *mapCommands_; }
  TMSelectionCommands& selection() { return *selection_; }
  TMListFeature& list() { return *list_; }
  TMStartPage& startPage() { return *startPage_; }
  TMFindFeature& find() { return *find_; }
  TMColoursFeature& colours() { return *colours_; }
  TMCompareFeature& compare() { return *compare_; }

  // File ▸ Open…: a folder for this window.
  void openDocument();
  // File ▸ Import Scan…: saved scans for this window.
  void openImportDialog();
  // Reads the saved scans at `paths` ("-": standard input) and shows them
  // here, side by side as one map when several.
  void importScans(const QList<QByteArray>& paths);
  // Scans `folder` (an absolute path; asked for when empty) as root through
  // pkexec, read-only, the map growing as the helper writes.
  void scanAsAdministrator(QByteArray folder);
  // The list of every folder the scan could not read, if any.
  void showUnreadableFolders();
  // Applies the kept preferences: sizes, scan options, colours, the trash
  // question, the free space, the history.
  void applyPreferences(const TMPreferences& preferences);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Stop is offered while a scan runs, or a saved scan is read or written.
  void updateStopAction();

  // TMWindowHost
  void showMessageView(bool shown) override;
  void showOpenFailure(const TMFileURL& url, std::string_view reason) override;
  void setProgressIndeterminate(bool indeterminate) override { progress_->setIndeterminate(indeterminate); }
  bool isProgressIndeterminate() const override { return progress_->isIndeterminate(); }
  void startProgressAnimation() override { progress_->startAnimation(); }
  void stopProgressAnimation() override { progress_->stopAnimation(); }
  void setProgressRange(double minimum, double maximum) override { progress_->setFractionRange(minimum, maximum); }
  void setProgressValue(double value) override { progress_->setFraction(value); }
  void setProgressVisible(bool visible) override { progress_->setVisible(visible); }
  void noteRecentFolder(const TMFileURL& url) override;
  void showScanStatus(const TMScanStatus& status) override;
  void setFileDropResponder(std::function<void(const TMFileURL&)> responder) override;
  void toolbarFlagsChanged() override;
  void askToMoveToTrash(const TMTrashQuestion& question,
                        std::function<void(bool move, bool stopAsking)> answer) override;
  void showFolderTrashed(const TMFileURL& url) override;
  void showWaitingForReaders(bool waiting) override;
  // TMSessionObserver
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void mapStateChanged() override;
  void readingChanged(Reading why, bool reading) override;
  void readFailed(Reading why, const TMImportError& error) override;
  void savingChanged(bool saving) override;

  void buildMenus();
  // Where tilemora-scan, the helper of a scan as administrator, is; empty
  // when it is nowhere.
  static QString scanHelperPath();
  void fillRecentMenu();

  TMWindowDelegate& delegate_;
  QStackedLayout* pages_;
  TMStartPage* startPage_;
  TMMessageView* messageView_;  // the start page's
  TMMapPane* mapPane_;
  TMElidingLabel* statusLine_;
  TMScanProgressBar* progress_;
  QAction* stop_;
  QToolButton* stopButton_;  // shown only while there is something to stop
  QMenu* recentMenu_ = nullptr;
  std::unique_ptr<TMSession> session_;
  TMMapCommands* mapCommands_;
  TMSelectionCommands* selection_;
  TMListFeature* list_;
  TMFindFeature* find_;
  TMColoursFeature* colours_;
  TMCompareFeature* compare_;
  QString readName_;  // the saved scans being read to show
  bool readingAsAdministrator_ = false;  // or the folder scanned as administrator
};

}  // namespace tilemora
