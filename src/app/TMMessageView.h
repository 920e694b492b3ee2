#pragma once
// What an empty window shows: a dark gradient, a dashed rounded square and
// an invitation to drop a folder; it accepts the drop itself.

#include "TMFileDraggingView.h"

namespace tilemora {

class TMMessageView : public TMFileDraggingView {
  Q_OBJECT

 public:
  explicit TMMessageView(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void drawInitialMessage(QPainter& painter);
};

}  // namespace tilemora
