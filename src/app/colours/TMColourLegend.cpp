// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMColourLegend.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace tilemora {

TMColourLegend::TMColourLegend(QWidget* parent) : QWidget(parent), row_(new QHBoxLayout(this)) {
  row_->setContentsMargins(4, 2, 4, 2);
  row_->setSpacing(4);
  // One line under the map: never wider than the map, never taller than its text.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  hide();
}

void TMColourLegend::showEntries(const std::vector<Entry>& entries) {
  while (QLayoutItem* item = row_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  const int side = fontMetrics().height() - 4;
  for (const Entry& entry : entries) {
    // Words without a colour (a note, or what has no tile) get no swatch.
    if (entry.colour.isValid()) {
      QPixmap swatch(side, side);
      swatch.fill(entry.colour);
      auto* box = new QLabel;
      box->setPixmap(swatch);
      row_->addWidget(box);
    }
    auto* words = new QLabel(entry.text);
    words->setObjectName(QStringLiteral("legendText"));
    // Whole words or none: what does not fit is cut at the edge, and told
    // whole in the tooltip.
    words->setMinimumWidth(words->sizeHint().width());
    row_->addWidget(words);
    row_->addSpacing(8);
  }
  row_->addStretch(1);
  setToolTip(texts().join(QStringLiteral("\n")));
  setVisible(!entries.empty());
}

QStringList TMColourLegend::texts() const {
  QStringList texts;
  for (const QLabel* label : findChildren<QLabel*>(QStringLiteral("legendText"))) texts << label->text();
  return texts;
}

}  // namespace tilemora
