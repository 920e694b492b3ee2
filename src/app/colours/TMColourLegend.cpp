// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMColourLegend.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

#include "app/window/TMElidingLabel.h"
#include "app/window/TMFlowLayout.h"

namespace tilemora {

TMColourLegend::TMColourLegend(QWidget* parent) : QWidget(parent), entries_(new TMFlowLayout(this, 12, 2)) {
  entries_->setContentsMargins(4, 2, 4, 2);
  // Never wider than the map; as many lines as its entries need there.
  QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
  hide();
}

void TMColourLegend::showEntries(const std::vector<Entry>& entries) {
  while (QLayoutItem* item = entries_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  const int side = fontMetrics().height() - 4;
  for (const Entry& entry : entries) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    // Words without a colour (a note, or what has no tile) get no swatch.
    if (entry.colour.isValid()) {
      QPixmap swatch(side, side);
      swatch.fill(entry.colour);
      auto* sample = new QLabel;
      sample->setPixmap(swatch);
      row->addWidget(sample);
    }
    auto* words = new TMElidingLabel;
    words->setObjectName(QStringLiteral("legendText"));
    words->setFullText(entry.text);
    // As wide as its words where there is room, narrower only where not.
    words->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    row->addWidget(words, 1);
    entries_->addWidget(box);
  }
  setToolTip(texts().join(QStringLiteral("\n")));
  setVisible(!entries.empty());
  updateGeometry();
}

QStringList TMColourLegend::texts() const {
  QStringList texts;
  for (const TMElidingLabel* label : findChildren<TMElidingLabel*>(QStringLiteral("legendText")))
    texts << label->fullText();
  return texts;
}

std::vector<QRect> TMColourLegend::entryGeometries() const {
  std::vector<QRect> geometries;
  for (int i = 0; i < entries_->count(); ++i) {
    if (const QWidget* box = entries_->itemAt(i)->widget()) geometries.push_back(box->geometry());
  }
  return geometries;
}

}  // namespace tilemora
