// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an empty window shows: a dark gradient, a dashed rounded square and
// an invitation to drop a folder; it accepts the drop itself.

#include "window/TMFileDraggingView.h"

namespace tilemora {

class TMMessageView : public TMFileDraggingView {
  Q_OBJECT

 public:
  explicit TMMessageView(QWidget* parent = nullptr);

  // What the view says in place of the invitation to drop a folder (a
  // folder that could not be opened); empty: the invitation.
  void setMessage(const QString& message);
  QString message() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawInitialMessage(QPainter& painter);

  QString message_;
};

}  // namespace tilemora
