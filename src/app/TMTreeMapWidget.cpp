#include "TMTreeMapWidget.h"

#include <QPainter>
#include <QResizeEvent>

#include "core/drawing/TMColor.h"
#include "render/TMFramePainter.h"
#include "render/TMQtTextMeasurer.h"

namespace tilemora {

TMTreeMapWidget::TMTreeMapWidget(QWidget* parent)
    : QWidget(parent),
      view_(std::make_unique<TMTreeMapView>(*this, std::make_shared<TMQtTextMeasurer>(),
                                            double(width()), double(height()))) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

void TMTreeMapWidget::showPath(const TMFileURL& url) {
  if (onPathShown) onPathShown(url);
}

void TMTreeMapWidget::setScrollerPositions(const TMScrollerPositions& positions) {
  if (onScrollersMoved) onScrollersMoved(positions);
}

void TMTreeMapWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Where no gathered rectangle reaches (before the first tree, or parts
  // of folders left unfilled) the window's background shows.
  const TMColor& background = TMColor::windowBackgroundColor();
  painter.fillRect(rect(), QColor::fromRgbF(float(background.red), float(background.green),
                                            float(background.blue)));
  if (const TMGeometryGatherer* geometry = view_->geometry())
    paintGatheredFrame(painter, *geometry, double(height()), view_->paintsFramesAndTexts());
}

void TMTreeMapWidget::resizeEvent(QResizeEvent* event) {
  view_->setFrameSize(double(event->size().width()), double(event->size().height()));
}

}  // namespace tilemora
