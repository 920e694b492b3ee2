// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMShareBarDelegate.h"

#include <QPainter>
#include <algorithm>

namespace tilemora {

void TMShareBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const double share = std::clamp(index.data(shareRole_).toDouble(), 0.0, 1.0);
  QRectF bar = QRectF(option.rect).adjusted(2, 3, -2, -3);
  bar.setWidth(bar.width() * share);
  painter->save();
  QColor colour = option.palette.color(QPalette::Highlight);
  colour.setAlphaF(0.35f);
  painter->fillRect(bar, colour);
  painter->restore();
  QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace tilemora
