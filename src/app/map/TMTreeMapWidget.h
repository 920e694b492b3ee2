// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt side of the map itself: it paints the frame the view's logic
// gathered and turns mouse, wheel, key, gesture and tooltip events into
// plain calls on that logic (points flipped to y up). A folder dropped on
// it opens in its window, as on the empty window. The map pane owns the
// logic and everything else around it.

#include <functional>

#include "window/TMFileDraggingView.h"
#include "view/map/TMTreeMapView.h"
#include "import/TMScanOrigins.h"

namespace tilemora {

class TMTreeMapWidget : public TMFileDraggingView {
  Q_OBJECT

 public:
  TMTreeMapWidget(TMTreeMapView& view, QWidget* parent = nullptr);

  TMTreeMapView& view() { return view_; }
  const TMTreeMapView& view() const { return view_; }

  // The tooltip of what lies at `position` (widget coordinates): its path
  // (or what the space is) and its size; empty where there is nothing.
  QString toolTipAt(QPoint position);
  // A line added to the tooltip of an item of the tree (what changed of it,
  // while the map is compared with a saved scan); empty: none.
  void setToolTipNote(std::function<QString(const TMFileTree&)> note) { toolTipNote_ = std::move(note); }
  // Where the saved scans shown side by side came from: a path below one
  // is told from its origin.
  void setOrigins(const TMScanOrigins& origins) { origins_ = origins; }
  const TMScanOrigins& origins() const { return origins_; }
  // The view's state changed: a new selection is told (once per selection).
  void noteSelection();

 signals:
  // The selection is another one (or none): for assistive technology.
  void selectionChanged();
  // A right click selected what lies at `globalPosition`: a menu is wanted.
  void menuWanted(const QPoint& globalPosition);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

  bool focusNextPrevChild(bool next) override;

 private:
  TMPoint viewPointOf(QPointF position) const;

  TMTreeMapView& view_;
  std::function<QString(const TMFileTree&)> toolTipNote_;
  TMScanOrigins origins_;
  std::optional<TMFileURL> announcedSelection_;
  QPointF pressPosition_;
  QPointF lastDragPosition_;
  bool dragging_ = false;  // moved past the drag distance since the press
  int clickCount_ = 1;
};

}  // namespace tilemora
