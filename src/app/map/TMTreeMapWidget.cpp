// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMTreeMapWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QHelpEvent>
#include <QLocale>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>
#include <cstring>

#include "window/TMDisplayText.h"
#include "map/TMInputMapping.h"
#include "core/drawing/TMColor.h"
#include "core/drawing/TMSizeFormatter.h"
#include "render/TMFramePainter.h"

namespace tilemora {

TMTreeMapWidget::TMTreeMapWidget(TMTreeMapView& view, QWidget* parent)
    : TMFileDraggingView(parent), view_(view) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

TMPoint TMTreeMapWidget::viewPointOf(QPointF position) const {
  // The view's y axis points up.
  return {position.x(), double(height()) - position.y()};
}

void TMTreeMapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Where no gathered rectangle reaches (before the first tree, or parts
  // of folders left unfilled) the window's background shows.
  const TMColor& background = TMColor::windowBackgroundColor();
  painter.fillRect(rect(), QColor::fromRgbF(float(background.red), float(background.green),
                                            float(background.blue)));
  if (const TMGeometryGatherer* geometry = view_.geometry())
    paintGatheredFrame(painter, *geometry, double(height()), view_.paintsFramesAndTexts());
  drawDropHighlight(painter);
}

void TMTreeMapWidget::resizeEvent(QResizeEvent* event) {
  view_.setFrameSize(double(event->size().width()), double(event->size().height()));
}

void TMTreeMapWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return TMFileDraggingView::mousePressEvent(event);
  pressPosition_ = lastDragPosition_ = event->position();
  dragging_ = false;
  clickCount_ = 1;
  view_.mouseDown();
}

void TMTreeMapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt sends this in place of the second press.
  mousePressEvent(event);
  clickCount_ = 2;
}

void TMTreeMapWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  // A hand that trembles while clicking does not drag.
  if (!dragging_ &&
      (event->position() - pressPosition_).manhattanLength() < QApplication::startDragDistance())
    return;
  dragging_ = true;
  const QPointF delta = event->position() - lastDragPosition_;
  lastDragPosition_ = event->position();
  view_.mouseDragged(delta.x(), delta.y());
}

void TMTreeMapWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (view_.isLocked() || !view_.current()) return;
  // The menu acts on the selection: what lies under the pointer, first.
  view_.mouseDown();
  view_.mouseUp(viewPointOf(event->pos()), 1);
  emit menuWanted(event->globalPos());
}

void TMTreeMapWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return TMFileDraggingView::mouseReleaseEvent(event);
  // Ctrl-click adds the item to the selection, or takes it out of it.
  if (event->modifiers() & Qt::ControlModifier && clickCount_ < 2 && !view_.isDragging())
    return view_.toggleAtPoint(viewPointOf(event->position()));
  view_.mouseUp(viewPointOf(event->position()), clickCount_);
}

void TMTreeMapWidget::wheelEvent(QWheelEvent* event) {
  const QPointF units =
      wheelUnitsOf(event->pixelDelta(), event->angleDelta(), QApplication::wheelScrollLines());
  const bool zoom = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  // Some platforms turn Alt+wheel into a horizontal wheel: zoom by it all the same.
  const double zoomUnits = units.y() != 0 ? units.y() : units.x();
  view_.scrollWheel(units.x(), zoom ? zoomUnits : units.y(), zoom);
  event->accept();
}

void TMTreeMapWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up: return view_.keyDown(TMArrowKey::kUp);
    case Qt::Key_Down: return view_.keyDown(TMArrowKey::kDown);
    case Qt::Key_Left: return view_.keyDown(TMArrowKey::kLeft);
    case Qt::Key_Right: return view_.keyDown(TMArrowKey::kRight);
    case Qt::Key_Escape:
      // Reached only while there is nothing to stop.
      if (view_.selected() != nullptr) return view_.clearSelection();
      return TMFileDraggingView::keyPressEvent(event);
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // With a folder selected, Narrow takes Enter; with nothing, it starts
      // the keyboard on the first item.
      if (!view_.selected()) return view_.selectSubItem();
      return TMFileDraggingView::keyPressEvent(event);
    default: return TMFileDraggingView::keyPressEvent(event);
  }
}

bool TMTreeMapWidget::focusNextPrevChild(bool next) {
  // Tab on a map with nothing selected starts on its first item; once
  // something is, Tab moves on, so the map never keeps the focus.
  if (next && view_.current() && !view_.selected()) {
    view_.selectSubItem();
    return true;
  }
  return TMFileDraggingView::focusNextPrevChild(next);
}

bool TMTreeMapWidget::event(QEvent* event) {
  if (event->type() == QEvent::NativeGesture) {
    auto* gesture = static_cast<QNativeGestureEvent*>(event);
    if (gesture->gestureType() == Qt::ZoomNativeGesture) {
      view_.magnifyWithEvent(gesture->value());
      return true;
    }
  }
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = toolTipAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return TMFileDraggingView::event(event);
}

void TMTreeMapWidget::noteSelection() {
  const TMNodeState* selected = view_.selected();
  std::optional<TMFileURL> now;
  if (selected != nullptr) now = selected->url;
  if (now == announcedSelection_) return;
  announcedSelection_ = now;
  emit selectionChanged();
}

QString TMTreeMapWidget::toolTipAt(QPoint position) {
  std::optional<TMNodeDescription> node = view_.describeNodeAt(viewPointOf(position));
  if (!node) return {};
  const QString sizes = QStringLiteral("%1 (%2 bytes)")
                            .arg(QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(node->size)),
                                 QLocale().toString(qulonglong(node->size)));
  // Free and unscanned space are no files: their name says what they are.
  const QString what =
      displayText(node->isSpace ? std::string(node->url.lastPathComponent()) : origins_.shownPath(node->url));
  QString text = what + QLatin1Char('\n') + sizes;
  if (node->cutShort) {
    text += QLatin1Char('\n') + tr("Not scanned to the end: the scan was stopped");
  } else if (node->readError != 0) {
    text += QLatin1Char('\n') + tr("Could not be read: %1").arg(QString::fromLocal8Bit(std::strerror(node->readError)));
  } else if (node->holdsUnreadable) {
    text += QLatin1Char('\n') + tr("Holds folders that could not be read");
  }
  if (toolTipNote_ && node->node != nullptr) {
    const QString note = toolTipNote_(*node->node);
    if (!note.isEmpty()) text += QLatin1Char('\n') + note;
  }
  return text;
}

}  // namespace tilemora
