#pragma once
// A main window: the initial message, or the tree map with its scroll
// bars, path bar and progress bar; its menus; and its controller, which
// drives its scans.

#include <QMainWindow>
#include <memory>

#include "view/TMMainWindowController.h"
#include "view/TMWindowHost.h"

class QProgressBar;
class QScrollBar;
class QStackedLayout;
class QMenu;

namespace tilemora {

class TilemoraAppDelegate;
class TMMessageView;
class TMPathBar;
class TMTreeMapWidget;

class TMMainWindow : public QMainWindow, public TMWindowHost {
  Q_OBJECT

 public:
  // Takes the folder waiting in the hand-over slot, if any, and starts
  // scanning it.
  TMMainWindow(TilemoraAppDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue);
  ~TMMainWindow() override;

  TMMainWindowController& controller() { return *controller_; }
  TMMessageView& messageView() { return *messageView_; }
  TMTreeMapWidget& treeMapWidget() { return *treeMap_; }
  QProgressBar& progressBar() { return *progress_; }

  // File ▸ Open…: a folder for this window.
  void openDocument();

  // TMWindowHost
  void showMessageView(bool shown) override;
  void setProgressIndeterminate(bool indeterminate) override;
  bool isProgressIndeterminate() const override { return indeterminate_; }
  void startProgressAnimation() override;
  void stopProgressAnimation() override;
  void setProgressRange(double minimum, double maximum) override;
  void setProgressValue(double value) override;
  void noteRecentFolder(const TMFileURL& url) override;

 private:
  void buildMenus();
  void fillRecentMenu();
  void showScrollers(const struct TMScrollerPositions& positions);

  TilemoraAppDelegate& delegate_;
  TMMessageView* messageView_;
  TMTreeMapWidget* treeMap_;
  QScrollBar* horizontalScroller_;
  QScrollBar* verticalScroller_;
  TMPathBar* pathView_;
  QProgressBar* progress_;
  QStackedLayout* pages_;
  QMenu* recentMenu_ = nullptr;
  bool indeterminate_ = true;
  bool animating_ = false;
  std::shared_ptr<TMMainWindowController> controller_;
};

}  // namespace tilemora
