// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMapImage.h"

#include "TMFramePainter.h"
#include "TMQtTextMeasurer.h"
#include "core/layout/TMFrameGathering.h"

namespace tilemora {

QImage renderTreeMap(TMLayoutNode& layout, int width, int height, const TMFileColoring* coloring) {
  const TMRect canvas{0, 0, double(width), double(height)};
  TMGeometryGatherer gatherer(gathererCapacityFor(canvas.width, canvas.height),
                              std::make_shared<TMQtTextMeasurer>());
  TMColorWheel wheel;
  wheel.setFileColoring(coloring);
  gatherFrame(layout, gatherer, wheel, canvas, canvas);

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paintGatheredFrame(painter, gatherer, canvas.height, layout.fileNode() != nullptr);
  return image;
}

}  // namespace tilemora
