// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMLargestFilesModel.h"

#include <algorithm>

#include "window/TMDisplayText.h"
#include "list/TMRowTexts.h"
#include "core/filetree/TMFileTree.h"

namespace tilemora {

void TMLargestFilesModel::setFolder(std::shared_ptr<TMFileTree> tree, const TMFileTree* folder, const TMFileURL& url) {
  beginResetModel();
  tree_ = std::move(tree);
  folder_ = tree_ ? folder : nullptr;
  url_ = url;
  files_ = folder_ ? largestFiles(*folder_, kMostFiles) : std::vector<TMLargeFile>();
  endResetModel();
}

void TMLargestFilesModel::noteDeleted(const TMFileTree& node) {
  // A folder takes its files along: they are found again below the folder.
  if (folder_ == nullptr) return;
  setFolder(tree_, &node == folder_ ? nullptr : folder_, url_);
}

TMFileURL TMLargestFilesModel::urlOf(const QModelIndex& index) const {
  if (!index.isValid() || size_t(index.row()) >= files_.size()) return url_;
  const TMLargeFile& file = files_[size_t(index.row())];
  TMFileURL url = url_;
  for (size_t start = 0; start < file.folder.size();) {
    const size_t slash = std::min(file.folder.find('/', start), file.folder.size());
    url.append(std::string_view(file.folder).substr(start, slash - start));
    start = slash + 1;
  }
  return url.append(file.file->filename());
}

QModelIndex TMLargestFilesModel::indexOf(const TMFileURL& url) const {
  for (size_t row = 0; row < files_.size(); ++row) {
    if (files_[row].file->filename() == url.lastPathComponent() && urlOf(index(int(row), 0)) == url)
      return index(int(row), 0);
  }
  return {};
}

int TMLargestFilesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(files_.size());
}

int TMLargestFilesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant TMLargestFilesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || size_t(index.row()) >= files_.size()) return {};
  const TMLargeFile& file = files_[size_t(index.row())];
  const uint64_t total = folder_ ? folder_->diskSize() : 0;
  const double share = total > 0 ? double(file.file->diskSize()) / double(total) : 0.0;
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kNameColumn:
          return displayText(file.file->filename());
        case kSizeColumn:
          return sizeCellText(file.file->diskSize());
        case kShareColumn:
          return shareCellText(share);
        case kFolderColumn:
          return displayText(file.folder);
      }
      break;
    case Qt::ToolTipRole:
      if (index.column() == kSizeColumn) return exactBytesText(file.file->diskSize());
      return displayText(urlOf(index).path());
    case Qt::DecorationRole:
      if (index.column() == kNameColumn) return itemIcon(false);
      break;
    case Qt::TextAlignmentRole:
      if (index.column() == kSizeColumn || index.column() == kShareColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case kShareRole:
      return share;
  }
  return {};
}

QVariant TMLargestFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNameColumn:
      return tr("Name");
    case kSizeColumn:
      return tr("Size");
    case kShareColumn:
      return tr("Share");
    case kFolderColumn:
      return tr("Folder");
  }
  return {};
}

}  // namespace tilemora
