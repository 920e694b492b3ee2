#pragma once
// The Qt side of the tree map view: it hands resizes to the view's logic
// and paints the frame the logic gathered. Everything else is the logic's.

#include <QWidget>
#include <functional>
#include <memory>

#include "view/TMTreeMapView.h"

namespace tilemora {

class TMTreeMapWidget : public QWidget, public TMTreeMapViewHost {
  Q_OBJECT

 public:
  explicit TMTreeMapWidget(QWidget* parent = nullptr);

  TMTreeMapView& view() { return *view_; }

  std::function<void(const TMFileURL&)> onPathShown;
  std::function<void(const TMScrollerPositions&)> onScrollersMoved;

  // TMTreeMapViewHost
  void requestRepaint() override { update(); }
  void showPath(const TMFileURL& url) override;
  void setScrollerPositions(const TMScrollerPositions& positions) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::unique_ptr<TMTreeMapView> view_;
};

}  // namespace tilemora
