// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileTypesWindow.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "window/TMDisplayText.h"
#include "list/TMRowTexts.h"

namespace tilemora {

namespace {

enum Column { kTypeColumn, kSizeColumn, kFilesColumn, kShareColumn, kColumnCount };
constexpr int kCategoryRole = Qt::UserRole + 1;
constexpr int kExtensionRole = Qt::UserRole + 2;


void fillRow(QTreeWidgetItem& row, const QString& label, const TMTypeTotal& total, uint64_t all) {
  row.setText(kTypeColumn, label);
  row.setText(kSizeColumn, sizeCellText(total.bytes));
  row.setToolTip(kSizeColumn, exactBytesText(total.bytes));
  row.setText(kFilesColumn, QLocale().toString(qulonglong(total.files)));
  row.setText(kShareColumn, shareCellText(all ? double(total.bytes) / double(all) : 0.0));
  for (int column : {kSizeColumn, kFilesColumn, kShareColumn}) row.setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  row.setData(kTypeColumn, kCategoryRole, int(total.category));
}

}  // namespace

TMFileTypesWindow::TMFileTypesWindow(QWidget* parent) : QDialog(parent), table_(new QTreeWidget), title_(new QLabel) {
  setWindowTitle(tr("File Types"));
  auto* layout = new QVBoxLayout(this);
  title_->setTextFormat(Qt::PlainText);  // it names a folder
  layout->addWidget(title_);
  layout->addWidget(table_);
  table_->setColumnCount(kColumnCount);
  table_->setHeaderLabels({tr("Type"), tr("Size"), tr("Files"), tr("Share")});
  table_->header()->setSectionResizeMode(kTypeColumn, QHeaderView::Stretch);
  table_->header()->setStretchLastSection(false);
  table_->setUniformRowHeights(true);
  resize(520, 480);
  connect(table_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const QList<QTreeWidgetItem*> selected = table_->selectedItems();
    if (selected.isEmpty()) {
      emit chosen(std::nullopt);
      return;
    }
    const QTreeWidgetItem& row = *selected.front();
    TMFileTypeChoice choice{TMFileCategory(row.data(kTypeColumn, kCategoryRole).toInt()), std::nullopt};
    if (row.parent() != nullptr) choice.extension = row.data(kTypeColumn, kExtensionRole).toByteArray().toStdString();
    emit chosen(choice);
  });
}

void TMFileTypesWindow::showCounting(const QString& name, double share) {
  table_->clear();
  title_->setText(tr("Counting the files in \u201C%1\u201D\u2026 %2 %")
                      .arg(name, QLocale().toString(100.0 * share, 'f', 0)));
}

void TMFileTypesWindow::showStatistics(const TMTypeStatistics& statistics, const QString& name) {
  table_->clear();
  title_->setText(tr("Files in \u201C%1\u201D").arg(name));
  for (const TMTypeTotal& category : statistics.categories) {
    auto* row = new QTreeWidgetItem(table_);
    fillRow(*row, categoryText(category.category), category, statistics.bytes);
    for (const TMTypeTotal& extension : statistics.extensions) {
      if (extension.category != category.category) continue;
      auto* child = new QTreeWidgetItem(row);
      fillRow(*child, extension.extension.empty() ? tr("(no extension)") : QStringLiteral(".") + displayText(extension.extension),
              extension, statistics.bytes);
      child->setData(kTypeColumn, kExtensionRole, QByteArray::fromStdString(extension.extension));
    }
  }
}

bool isOfChoice(std::string_view name, const TMFileTypeChoice& choice) {
  const std::string extension = extensionOf(name);
  if (choice.extension) return extension == *choice.extension;
  return categoryOfExtension(extension) == choice.category;
}

}  // namespace tilemora
