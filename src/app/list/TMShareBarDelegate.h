// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a row's share of its folder as a bar behind the percentage.

#include <QStyledItemDelegate>

namespace tilemora {

class TMShareBarDelegate : public QStyledItemDelegate {
 public:
  // Reads the share, 0 to 1, from `shareRole`.
  TMShareBarDelegate(int shareRole, QObject* parent) : QStyledItemDelegate(parent), shareRole_(shareRole) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int shareRole_;
};

}  // namespace tilemora
