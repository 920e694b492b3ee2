// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an empty window shows: a dark gradient, a dashed rounded square and
// an invitation to drop a folder; it accepts the drop itself.

#include <QPushButton>
#include <functional>

#include "window/TMFileDraggingView.h"

namespace tilemora {

class TMMessageView : public TMFileDraggingView {
  Q_OBJECT

 public:
  explicit TMMessageView(QWidget* parent = nullptr);

  // What the view says in place of the invitation to drop a folder (a
  // folder that could not be opened); empty: the invitation.
  // A new message takes away the button of the last one.
  void setMessage(const QString& message);
  QString message() const;
  // A button below the message that does `act` (a folder refused: scan it
  // as administrator).
  void setAction(const QString& text, std::function<void()> act);
  // The button, once an action was set (hidden again by a new message).
  QPushButton* actionButton() { return action_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void drawInitialMessage(QPainter& painter);
  void placeAction();

  QString message_;
  QPushButton* action_ = nullptr;  // made for the first action
  std::function<void()> act_;
};

}  // namespace tilemora
