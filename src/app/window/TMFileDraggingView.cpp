// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scan/TMScanDriver.h"
#include "TMFileDraggingView.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

#include "core/filetree/TMFileTree.h"

namespace tilemora {

namespace {

std::optional<TMFileURL> firstLocalURL(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return std::nullopt;
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return std::nullopt;
  // The path's bytes as the URL carries them, percent-decoded: a name that
  // is not valid UTF-8 would not survive a QString.
  return TMFileURL::fromPath(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
}

}  // namespace

TMFileDraggingView::TMFileDraggingView(QWidget* parent) : QWidget(parent) {
  setAcceptDrops(true);
}

void TMFileDraggingView::setFileDropResponder(std::function<void(const TMFileURL&)> responder) {
  dragResponder_ = std::move(responder);
}

TMFileDraggingView::DropStatus TMFileDraggingView::dropStatusFor(const QMimeData* data) {
  std::optional<TMFileURL> url = firstLocalURL(data);
  return url && isAcceptableURL(*url) ? kAcceptable : kRefused;
}

void TMFileDraggingView::setStatus(int status) {
  currentDropStatus_ = status;
  update();
}

void TMFileDraggingView::dragEnterEvent(QDragEnterEvent* event) {
  setStatus(dropStatusFor(event->mimeData()));
  // The drag is taken in either case, so that its end clears the tint; a
  // drag without URLs is offered no operation.
  if (!event->mimeData()->hasUrls()) event->setDropAction(Qt::IgnoreAction);
  event->accept();
}

void TMFileDraggingView::dragLeaveEvent(QDragLeaveEvent* event) {
  setStatus(kNoDrag);
  event->accept();
}

void TMFileDraggingView::dropEvent(QDropEvent* event) {
  if (currentDropStatus_ == kAcceptable && dragResponder_) {
    if (std::optional<TMFileURL> url = firstLocalURL(event->mimeData())) dragResponder_(*url);
  }
  setStatus(kNoDrag);
  event->acceptProposedAction();
}

void TMFileDraggingView::drawDropHighlight(QPainter& painter) {
  if (currentDropStatus_ != kAcceptable && currentDropStatus_ != kRefused) return;
  const QColor tint = currentDropStatus_ == kAcceptable ? QColor::fromRgbF(0.8f, 1.0f, 0.8f, 0.5f)
                                                        : QColor::fromRgbF(1.0f, 0.8f, 0.8f, 0.5f);
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  painter.fillRect(rect(), tint);
  painter.restore();
}

void TMFileDraggingView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawDropHighlight(painter);
}

}  // namespace tilemora
