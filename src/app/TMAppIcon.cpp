// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMAppIcon.h"

#include <QPainter>
#include <QPixmap>

#include "core/drawing/TMColorWheel.h"

namespace tilemora {

QIcon tilemoraIcon() {
  QIcon icon;
  for (int side : {16, 32, 64, 128}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const double s = side / 64.0;
    auto tile = [&](double x, double y, double w, double h, uint32_t html) {
      painter.fillRect(QRectF(x * s, y * s, w * s, h * s),
                       QColor((html >> 16) & 0xFF, (html >> 8) & 0xFF, html & 0xFF));
      painter.setPen(QPen(QColor(128, 128, 128), std::max(1.0, s)));
      painter.drawRect(QRectF(x * s, y * s, w * s - 1, h * s - 1));
    };
    tile(0, 0, 64, 64, colorList[0]);
    tile(4, 12, 34, 48, colorList[1]);
    tile(38, 12, 22, 28, colorList[3]);
    tile(38, 40, 22, 20, colorList[6]);
    tile(8, 16, 26, 22, colorList[2]);
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tilemora
