// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMChangesModel.h"

#include <QFont>
#include <QPalette>

#include "window/TMDisplayText.h"
#include "list/TMRowTexts.h"

namespace tilemora {

QString changeKindText(TMChangeKind kind) {
  switch (kind) {
    case TMChangeKind::kNew: return TMChangesModel::tr("New");
    case TMChangeKind::kGrew: return TMChangesModel::tr("Grew");
    case TMChangeKind::kShrank: return TMChangesModel::tr("Shrank");
    case TMChangeKind::kRemoved: return TMChangesModel::tr("Removed");
    case TMChangeKind::kUnchanged: break;
  }
  return TMChangesModel::tr("Unchanged");
}

void TMChangesModel::setComparison(std::shared_ptr<const TMTreeComparison> comparison, const TMFileURL& root) {
  beginResetModel();
  comparison_ = std::move(comparison);
  root_ = root;
  endResetModel();
}

const TMChangedItem* TMChangesModel::itemOf(const QModelIndex& index) const {
  if (!comparison_ || !index.isValid() || size_t(index.row()) >= comparison_->largest.size()) return nullptr;
  return &comparison_->largest[size_t(index.row())];
}

TMFileURL TMChangesModel::urlOf(const QModelIndex& index) const {
  const TMChangedItem* item = itemOf(index);
  if (item == nullptr) return {};
  TMFileURL url = root_;
  for (size_t start = 0; start <= item->path.size();) {
    const size_t end = std::min(item->path.find('/', start), item->path.size());
    url = url.appending(std::string_view(item->path).substr(start, end - start));
    start = end + 1;
  }
  return url;
}

QModelIndex TMChangesModel::indexOf(const TMFileURL& url) const {
  for (int row = 0; row < rowCount(); ++row) {
    if (hasTile(index(row, 0)) && urlOf(index(row, 0)) == url) return index(row, 0);
  }
  return {};
}

bool TMChangesModel::hasTile(const QModelIndex& index) const {
  const TMChangedItem* item = itemOf(index);
  return item != nullptr && item->kind != TMChangeKind::kRemoved;
}

int TMChangesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !comparison_ ? 0 : int(comparison_->largest.size());
}

int TMChangesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TMChangesModel::data(const QModelIndex& index, int role) const {
  const TMChangedItem* item = itemOf(index);
  if (item == nullptr) return {};
  const bool removed = item->kind == TMChangeKind::kRemoved;
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kNameColumn: return displayText(item->path);
        case kChangeColumn: return changeCellText(item->oldSize, item->newSize);
        case kOldColumn: return item->kind == TMChangeKind::kNew ? QString() : sizeCellText(item->oldSize);
        case kNewColumn: return removed ? QString() : sizeCellText(item->newSize);
        case kWhatColumn: return changeKindText(item->kind);
      }
      break;
    case Qt::ToolTipRole:
      // A blank cell (nothing before, nothing now) has nothing to tell exactly.
      if (index.column() == kOldColumn)
        return item->kind == TMChangeKind::kNew ? QVariant() : exactBytesText(item->oldSize);
      if (index.column() == kNewColumn) return removed ? QVariant() : exactBytesText(item->newSize);
      if (removed) return tr("%1 (no longer there)").arg(displayText(urlOf(index).path()));
      return displayText(urlOf(index).path());
    case Qt::DecorationRole:
      if (index.column() == kNameColumn) return itemIcon(item->folder);
      break;
    case Qt::FontRole:
      if (removed) {
        QFont font;
        font.setItalic(true);
        return font;
      }
      break;
    case Qt::ForegroundRole:
      if (removed) return QPalette().brush(QPalette::Disabled, QPalette::Text);
      break;
    case Qt::TextAlignmentRole:
      if (index.column() != kNameColumn && index.column() != kWhatColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      break;
  }
  return {};
}

QVariant TMChangesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNameColumn: return tr("Name");
    case kChangeColumn: return tr("Change");
    case kOldColumn: return tr("Was");
    case kNewColumn: return tr("Now");
    case kWhatColumn: return tr("What");
  }
  return {};
}

}  // namespace tilemora
