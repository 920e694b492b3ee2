// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMElidingLabel.h"

#include <QMouseEvent>

namespace tilemora {

TMElidingLabel::TMElidingLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  // The window may be narrower than the text: the label shrinks with it.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TMElidingLabel::setFullText(const QString& text, const QString& notes, const QString& link) {
  fullText_ = text;
  notes_ = notes;
  link_ = link;
  elide();
}

void TMElidingLabel::clear() { setFullText(QString()); }

QSize TMElidingLabel::minimumSizeHint() const { return QSize(0, QLabel::minimumSizeHint().height()); }

QSize TMElidingLabel::sizeHint() const {
  const QMargins margins = contentsMargins();
  // A pixel or two beyond the advance: eliding measures the text's full
  // bounds.
  return QSize(fontMetrics().horizontalAdvance(fullText_) + margins.left() + margins.right() + 2 * margin() + 2,
               QLabel::sizeHint().height());
}

void TMElidingLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void TMElidingLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void TMElidingLabel::elide() {
  const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideRight, contentsRect().width());
  const qsizetype link = link_.isEmpty() ? -1 : shown.indexOf(link_);
  if (link < 0) {
    setTextFormat(Qt::PlainText);
    QLabel::setText(shown);
  } else {
    // A click anywhere is announced: the link only shows where to click.
    setTextFormat(Qt::RichText);
    QLabel::setText(shown.left(link).toHtmlEscaped() + QStringLiteral("<a href=\"#\">") + link_.toHtmlEscaped() +
                    QStringLiteral("</a>") + shown.mid(link + link_.size()).toHtmlEscaped());
  }
  QStringList tip;
  if (shown != fullText_) tip << fullText_;
  if (!notes_.isEmpty()) tip << notes_;
  setToolTip(tip.join(QStringLiteral("\n\n")));
}

}  // namespace tilemora
