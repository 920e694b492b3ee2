// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A view that accepts a folder or volume dropped from the file manager.
// While a drag is over it, it tints what it shows green when the first
// dragged URL can be scanned and red when it cannot (or carries no URL); a
// drop of an acceptable folder goes to the drop responder.

#include <QWidget>
#include <functional>

#include "core/platform/TMFileURL.h"

class QMimeData;

namespace tilemora {

class TMFileDraggingView : public QWidget {
  Q_OBJECT

 public:
  enum DropStatus { kNoDrag = 0, kAcceptable = 1, kRefused = 2 };

  explicit TMFileDraggingView(QWidget* parent = nullptr);

  // The responder is called with the URL of an acceptable drop.
  void setFileDropResponder(std::function<void(const TMFileURL&)> responder);
  int currentDropStatus() const { return currentDropStatus_; }

  // The status a drag carrying `data` gets: only its first URL counts.
  static DropStatus dropStatusFor(const QMimeData* data);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

  // Tints what is already painted (source-atop) by the drop status.
  void drawDropHighlight(QPainter& painter);

 private:
  void setStatus(int status);

  std::function<void(const TMFileURL&)> dragResponder_;
  int currentDropStatus_ = kNoDrag;
};

}  // namespace tilemora
