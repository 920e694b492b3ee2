// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Items side by side, wrapping to a new line where the width runs out, as
// words do: a line of legend entries that a narrow window or a longer
// language would otherwise print over each other. An item wider than the
// whole width is narrowed to it.

#include <QLayout>
#include <QList>

namespace tilemora {

class TMFlowLayout : public QLayout {
 public:
  TMFlowLayout(QWidget* parent, int horizontalSpacing, int verticalSpacing);
  ~TMFlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return int(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  void setGeometry(const QRect& rect) override;
  // All on one line; the least: the widest item's least.
  QSize sizeHint() const override;
  QSize minimumSize() const override;

 private:
  // Places the items in `rect` when `place` is true; answers the height
  // they take.
  int arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
  int horizontalSpacing_;
  int verticalSpacing_;
};

}  // namespace tilemora
