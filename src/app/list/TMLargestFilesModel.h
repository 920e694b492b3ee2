// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The largest files anywhere below the shown folder, flat, with the folder
// each lies in: the list's other mode.

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "core/filetree/TMLargestFiles.h"
#include "core/platform/TMFileURL.h"

namespace tilemora {

class TMFileTree;

class TMLargestFilesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNameColumn, kSizeColumn, kShareColumn, kFolderColumn, kColumnCount };
  static constexpr int kShareRole = Qt::UserRole + 1;
  static constexpr size_t kMostFiles = 1000;

  explicit TMLargestFilesModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  // The largest files below `folder`, at `url`, of the tree `tree` keeps
  // alive; no tree empties the list.
  void setFolder(std::shared_ptr<TMFileTree> tree, const TMFileTree* folder, const TMFileURL& url);
  // `node` was deleted: its row goes, if it had one (its files' rows too).
  void noteDeleted(const TMFileTree& node);
  TMFileURL urlOf(const QModelIndex& index) const;
  QModelIndex indexOf(const TMFileURL& url) const;
  const TMFileURL& folderUrl() const { return url_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::shared_ptr<TMFileTree> tree_;
  const TMFileTree* folder_ = nullptr;
  TMFileURL url_;
  std::vector<TMLargeFile> files_;
};

}  // namespace tilemora
