// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The map pane: the tree map with its two scroll bars and its path bar.
// It owns the view's logic and is its host: everything the logic asks of
// the toolkit (repaints, knobs, the path, the window's title, animations,
// cursors, reveal) is done here, and the scroll bars' and the path bar's
// input goes back to it.

#include <QWidget>
#include <memory>

#include "view/map/TMTreeMapView.h"
#include "view/map/TMTreeMapViewHost.h"
#include "import/TMScanOrigins.h"

class QScrollBar;

namespace tilemora {

class TMColourLegend;
class TMPathBar;
class TMQtAnimationDriver;
class TMTreeMapWidget;

class TMMapPane : public QWidget, public TMTreeMapViewHost {
  Q_OBJECT

 public:
  explicit TMMapPane(QWidget* parent = nullptr);
  ~TMMapPane() override;

  TMTreeMapView& view() { return *view_; }
  TMTreeMapWidget& map() { return *map_; }
  QScrollBar& horizontalScroller() { return *horizontalScroller_; }
  QScrollBar& verticalScroller() { return *verticalScroller_; }
  TMPathBar& pathBar() { return *pathView_; }
  // What the colours mean, under the path bar; hidden while they are by depth.
  TMColourLegend& legend() { return *legend_; }

  // TMTreeMapViewHost
  void requestRepaint() override;
  void showPath(const std::optional<TMFileURL>& url) override;
  void setWindowTitle(std::string_view title) override;
  // A word shown in parentheses after the name in the title ("imported"),
  // or none.
  void setTitleNote(const QString& note);
  // Where the saved scans shown side by side came from, for the paths shown.
  void setScanOrigins(const TMScanOrigins& origins);
  void setRepresentedURL(const std::optional<TMFileURL>& url) override;
  void setScrollerPositions(const TMScrollerPositions& positions) override;
  void startAnimation(double seconds, std::function<void(float)> frame, std::function<void()> end) override;
  void pushClosedHandCursor() override;
  void popCursor() override;
  void revealInFileManager(const TMFileURL& item, const TMFileURL& container) override;
  TMTrashResult moveToTrash(const TMTrashRequest& request) override;
  // A warning naming the item and the reason, which does not block the window.
  void showDeletionFailure(const TMFileURL& item, std::string_view reason) override;

 private:
  // A warning over the window that does not block it.
  void showWarning(const QString& text, const QString& reason);
  // A scroll bar's action: the part hit and the bar's value as a fraction.
  void scrollerActed(QScrollBar& scroller, int action);

  TMColourLegend* legend_;
  std::unique_ptr<TMTreeMapView> view_;
  std::string title_;  // the last title the view asked for
  QString titleNote_;
  TMTreeMapWidget* map_;
  QScrollBar* horizontalScroller_;
  QScrollBar* verticalScroller_;
  TMPathBar* pathView_;
  TMQtAnimationDriver* animation_;
};

}  // namespace tilemora
