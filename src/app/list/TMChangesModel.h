// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list's mode "Changes", while the map is compared with a saved scan:
// the largest changes, flat, by path below the scanned folder, with what
// they were, what they are and the difference; removed items (which have
// no tile) among them.

#include <QAbstractTableModel>
#include <memory>

#include "core/platform/TMFileURL.h"
#include "import/TMTreeComparison.h"

namespace tilemora {

class TMChangesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNameColumn, kChangeColumn, kOldColumn, kNewColumn, kWhatColumn, kColumnCount };

  explicit TMChangesModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // The changes of `comparison` below the folder scanned at `root`; none
  // empties the list.
  void setComparison(std::shared_ptr<const TMTreeComparison> comparison, const TMFileURL& root);
  TMFileURL urlOf(const QModelIndex& index) const;
  QModelIndex indexOf(const TMFileURL& url) const;
  // Whether the row's item is still there to be selected on the map.
  bool hasTile(const QModelIndex& index) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const TMChangedItem* itemOf(const QModelIndex& index) const;

  std::shared_ptr<const TMTreeComparison> comparison_;
  TMFileURL root_;
};

// The words for a kind of change ("New", "Grew", "Shrank", "Removed").
QString changeKindText(TMChangeKind kind);

}  // namespace tilemora
