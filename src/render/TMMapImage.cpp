#include "TMMapImage.h"

#include "TMFramePainter.h"
#include "TMQtTextMeasurer.h"
#include "core/drawing/TMColorWheel.h"
#include "core/layout/TMBlockSizes.h"

namespace tilemora {

QImage renderTreeMap(TMLayoutNode& layout, int width, int height) {
  const TMRect canvas{0, 0, double(width), double(height)};
  const int32_t capacity = int32_t(canvas.width / blockSizes.minNodeWidth + 1) *
                           int32_t(canvas.height / blockSizes.minNodeHeight + 1);
  TMGeometryGatherer gatherer(capacity, std::make_shared<TMQtTextMeasurer>());
  TMColorWheel wheel;

  gatherer.startGathering(canvas, canvas);
  TMDrawInfo_t info;
  info.visibleArea = &canvas;
  info.gatherer = &gatherer;
  info.pixelWidth = gatherer.virtualPixelWidthSize();
  info.pixelHeight = gatherer.virtualPixelHeightSize();
  info.colorWheel = &wheel;
  layout.drawGeometry(info, canvas);
  gatherer.stopGathering();

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paintGatheredFrame(painter, gatherer, canvas.height, layout.fileNode() != nullptr);
  return image;
}

}  // namespace tilemora
