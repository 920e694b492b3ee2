// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFramePainter.h"

#include <QFontMetricsF>

#include "TMMapFont.h"

namespace tilemora {

QColor qColorOf(const TMColor& color) {
  return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue),
                          float(color.alpha));
}

namespace {

QRectF flipped(const TMRect& r, double viewHeight) {
  return QRectF(r.x, viewHeight - (r.y + r.height), r.width, r.height);
}

// drawBackRect
void fillRectangles(QPainter& painter, const TMRect* rects, const TMColor* const* colors,
                    uint64_t count, double viewHeight) {
  // Consecutive rectangles often share a colour; convert it once per run.
  const TMColor* lastColor = nullptr;
  QColor color;
  for (uint64_t i = 0; i < count; ++i) {
    if (colors[i] != lastColor) {
      lastColor = colors[i];
      color = qColorOf(*lastColor);
    }
    painter.fillRect(flipped(rects[i], viewHeight), color);
  }
}

// drawFrameRect, and the patterns of what could not be read or was not finished
void frameRectangles(QPainter& painter, const TMRect* rects, const TMRectStyle* styles, uint64_t count,
                     double viewHeight) {
  const QColor grey = qColorOf(TMColor::grayColor());
  const QBrush hatching(QColor(150, 0, 0), Qt::BDiagPattern);
  const QBrush dots(QColor(30, 70, 150), Qt::Dense6Pattern);
  for (uint64_t i = 0; i < count; ++i) {
    if (styles[i] == TMRectStyle::kHatched) painter.fillRect(flipped(rects[i], viewHeight), hatching);
    if (styles[i] == TMRectStyle::kDotted) painter.fillRect(flipped(rects[i], viewHeight), dots);
    if (styles[i] != TMRectStyle::kFramed) continue;
    QRectF r = flipped(rects[i], viewHeight);
    double width = std::min(1.0, r.width());
    double height = std::min(1.0, r.height());
    painter.fillRect(QRectF(r.left(), r.top(), r.width(), height), grey);
    painter.fillRect(QRectF(r.left(), r.bottom() - height, r.width(), height), grey);
    painter.fillRect(QRectF(r.left(), r.top(), width, r.height()), grey);
    painter.fillRect(QRectF(r.right() - width, r.top(), width, r.height()), grey);
  }
}

// drawText
void drawTexts(QPainter& painter, const std::vector<TMStringDraw>& texts, double viewHeight) {
  const QFont font = mapFont();
  const QFontMetricsF metrics(font, painter.device());
  painter.setFont(font);
  painter.setPen(qColorOf(TMColor::blackColor()));
  for (const TMStringDraw& text : texts) {
    QRectF box = flipped(text.position(), viewHeight);
    if (box.width() <= 0 || box.height() <= 0) continue;
    QString elided = metrics.elidedText(QString::fromUtf8(text.text().data(), qsizetype(text.text().size())),
                                        Qt::ElideRight, box.width());
    // The box is as high as the font's size, so glyphs reach below it:
    // they are clipped to the box's columns and to the node, not to the box.
    const QRectF node = flipped(text.nodeRectangle(), viewHeight);
    painter.setClipRect(QRectF(box.left(), box.top(), box.width(), node.bottom() - box.top()).intersected(node));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, elided);
  }
}

}  // namespace

void paintGatheredFrame(QPainter& painter, const TMGeometryGatherer& gatherer, double viewHeight,
                        bool framesAndTexts) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const uint64_t count = gatherer.rectangleCount();
  fillRectangles(painter, gatherer.getRectangles(), gatherer.getColors(), count, viewHeight);
  if (framesAndTexts) {
    frameRectangles(painter, gatherer.getRectangles(), gatherer.getStyles(), count, viewHeight);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawTexts(painter, gatherer.getText(), viewHeight);
  }
  painter.restore();
}

}  // namespace tilemora
