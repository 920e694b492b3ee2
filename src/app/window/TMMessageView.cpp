// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMessageView.h"

#include <QLinearGradient>
#include <QPainter>

#include "window/TMMessageGeometry.h"
#include "core/platform/TMLocalizedString.h"

namespace tilemora {

TMMessageView::TMMessageView(QWidget* parent) : TMFileDraggingView(parent) {
  setMinimumSize(260, 200);
}

void TMMessageView::setMessage(const QString& message) {
  message_ = message;
  act_ = nullptr;
  if (action_ != nullptr) action_->hide();
  update();
}

void TMMessageView::setAction(const QString& text, std::function<void()> act) {
  if (action_ == nullptr) {
    action_ = new QPushButton(this);
    connect(action_, &QPushButton::clicked, this, [this] {
      if (act_) act_();
    });
  }
  act_ = std::move(act);
  action_->setText(text);
  action_->adjustSize();
  placeAction();
  action_->show();
}

void TMMessageView::resizeEvent(QResizeEvent* event) {
  TMFileDraggingView::resizeEvent(event);
  placeAction();
}

void TMMessageView::placeAction() {
  if (action_ == nullptr) return;
  // Centred, below the message's first lines.
  const TMMessageGeometry geometry = TMMessageGeometry::forBounds({0, 0, double(width()), double(height())});
  const int top = int(height() - geometry.textBox.y) + 60;
  action_->move((width() - action_->width()) / 2, std::min(top, height() - action_->height() - 8));
}

QString TMMessageView::message() const {
  return message_.isEmpty() ? QString::fromStdString(TMLocalizedString("InitialMessage")) : message_;
}

void TMMessageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gradient(0, 0, 0, height());  // 0.1 grey at the top, 0.2 at the bottom
  gradient.setColorAt(0.0, QColor::fromRgbF(0.1f, 0.1f, 0.1f));
  gradient.setColorAt(1.0, QColor::fromRgbF(0.2f, 0.2f, 0.2f));
  painter.fillRect(rect(), gradient);
  drawDropHighlight(painter);
  drawInitialMessage(painter);
  drawDropHighlight(painter);
}

void TMMessageView::drawInitialMessage(QPainter& painter) {
  const TMMessageGeometry geometry =
      TMMessageGeometry::forBounds({0, 0, double(width()), double(height())});
  // The geometry has y up; the painter has it down.
  auto flipped = [this](const TMRect& r) {
    return QRectF(r.x, height() - (r.y + r.height), r.width, r.height);
  };

  QPen pen(Qt::white, TMMessageGeometry::kLineWidth);
  pen.setCapStyle(Qt::FlatCap);  // square caps would fill the gaps between dashes
  // Qt counts dashes in pen widths.
  pen.setDashPattern({TMMessageGeometry::kDashOn / TMMessageGeometry::kLineWidth,
                      TMMessageGeometry::kDashOff / TMMessageGeometry::kLineWidth});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(flipped(geometry.square), TMMessageGeometry::kCornerRadius,
                          TMMessageGeometry::kCornerRadius);

  QFont font("Helvetica");
  font.setPixelSize(20);
  painter.setFont(font);
  painter.setPen(Qt::white);
  if (message_.isEmpty()) {
    painter.drawText(flipped(geometry.textBox), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message());
    return;
  }
  // A failure names a path of any length: the whole width below the square.
  const QRectF below = flipped(geometry.textBox);
  painter.drawText(QRectF(20, below.top(), width() - 40, height() - below.top()),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere, message_);
}

}  // namespace tilemora
