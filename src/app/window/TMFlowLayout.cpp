// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace tilemora {

TMFlowLayout::TMFlowLayout(QWidget* parent, int horizontalSpacing, int verticalSpacing)
    : QLayout(parent), horizontalSpacing_(horizontalSpacing), verticalSpacing_(verticalSpacing) {}

TMFlowLayout::~TMFlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void TMFlowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* TMFlowLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.takeAt(index);
}

int TMFlowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

void TMFlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

QSize TMFlowLayout::sizeHint() const {
  int width = 0, height = 0;
  for (const QLayoutItem* item : items_) {
    const QSize hint = item->sizeHint();
    width += hint.width() + (width > 0 ? horizontalSpacing_ : 0);
    height = std::max(height, hint.height());
  }
  const QMargins margins = contentsMargins();
  return QSize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

QSize TMFlowLayout::minimumSize() const {
  QSize least;
  for (const QLayoutItem* item : items_) least = least.expandedTo(item->minimumSize());
  const QMargins margins = contentsMargins();
  return least + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

int TMFlowLayout::arrange(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x(), y = area.y(), lineHeight = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    const QSize hint = item->sizeHint();
    const int width = std::max(std::min(hint.width(), area.width()), item->minimumSize().width());
    if (x > area.x() && x + width > area.x() + area.width()) {
      // No room left on this line: the next one.
      x = area.x();
      y += lineHeight + verticalSpacing_;
      lineHeight = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), QSize(width, hint.height())));
    x += width + horizontalSpacing_;
    lineHeight = std::max(lineHeight, hint.height());
  }
  return y + lineHeight - rect.y() + contentsMargins().bottom();
}

}  // namespace tilemora
