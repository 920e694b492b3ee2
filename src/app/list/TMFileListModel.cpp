// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileListModel.h"

#include <strings.h>

#include <QLocale>
#include <algorithm>

#include "window/TMDisplayText.h"
#include "list/TMRowTexts.h"
#include "core/filetree/TMFilesBelow.h"
#include "core/filetree/TMInterimReadGuard.h"
#include "core/filetree/TMVolume.h"

namespace tilemora {

namespace {

// The folder a scan root lists: a volume's own folder.
const TMFolderTree* listedFolder(const TMFileTree* root) {
  if (root == nullptr) return nullptr;
  if (const TMVolume* volume = root->asVolume()) return volume->child();
  return root->asFolder();
}

std::vector<const TMFileTree*> childrenOf(const TMFolderTree* folder) {
  std::vector<const TMFileTree*> rows;
  const TMChildList* list = folder ? folder->children() : nullptr;
  const uint32_t count = list ? list->count() : 0;
  rows.reserve(count);
  for (uint32_t i = 0; i < count; ++i) rows.push_back(list->at(i));
  return rows;
}

bool largerFirst(const TMFileTree* a, const TMFileTree* b) { return a->diskSize() > b->diskSize(); }

}  // namespace

TMFileListModel::TMFileListModel(QObject* parent) : QAbstractItemModel(parent) {}

TMFileListModel::~TMFileListModel() = default;

void TMFileListModel::setTree(std::shared_ptr<TMFileTree> tree, const TMFileURL& url, bool scanning) {
  beginResetModel();
  tree_ = std::move(tree);
  url_ = url;
  scanning_ = scanning;
  folders_.clear();
  fileCounts_.clear();
  top_ = Folder();
  top_.node = listedFolder(tree_.get());
  endResetModel();
}

void TMFileListModel::refresh() {
  if (!scanning_) return;
  // The rows are read again whole: the folder's list grows and is
  // replaced while the scan runs.
  beginResetModel();
  top_.loaded = false;
  top_.node = listedFolder(tree_.get());  // a volume's folder comes after its measure
  folders_.clear();
  endResetModel();
}

void TMFileListModel::setShowsSpace(bool shown) {
  if (shown == showsSpace_) return;
  beginResetModel();
  showsSpace_ = shown;
  top_.loaded = false;
  folders_.clear();  // their rows in the top change
  endResetModel();
}

std::vector<const TMFileTree*> TMFileListModel::topRows() const {
  TMInterimReadGuard guard;  // the scan may still write the tree
  std::vector<const TMFileTree*> rows = childrenOf(listedFolder(tree_.get()));
  const TMVolume* volume = tree_ ? tree_->asVolume() : nullptr;
  if (volume != nullptr && showsSpace_) {
    for (const TMFileTree* space : {static_cast<const TMFileTree*>(volume->emptySpace()),
                                    static_cast<const TMFileTree*>(volume->unscannedSpace())}) {
      if (space != nullptr && space->diskSize() > 0) rows.push_back(space);
    }
  }
  return rows;
}

void TMFileListModel::load(Folder& folder) const {
  if (folder.loaded) return;
  folder.loaded = true;
  folder.rows = &folder == &top_ ? topRows() : childrenOf(folder.node->asFolder());
  sortRows(folder);
}

void TMFileListModel::sortRows(Folder& folder) const {
  auto& rows = folder.rows;
  if (sortColumn_ < 0) {
    // The tree's order; a volume's space and a growing folder's rows in it too.
    std::stable_sort(rows.begin(), rows.end(), largerFirst);
    return;
  }
  const bool ascending = sortOrder_ == Qt::AscendingOrder;
  auto ordered = [&](auto key) {
    std::stable_sort(rows.begin(), rows.end(), [&](const TMFileTree* a, const TMFileTree* b) {
      return ascending ? key(a, b) : key(b, a);
    });
  };
  switch (sortColumn_) {
    case kNameColumn:
      ordered([](const TMFileTree* a, const TMFileTree* b) {
        return ::strcasecmp(a->filenameCString(), b->filenameCString()) < 0;
      });
      break;
    case kFilesColumn: {
      std::unordered_map<const TMFileTree*, uint64_t> counts;
      for (const TMFileTree* row : rows) counts[row] = row->asFolder() ? filesBelow(*row) : 0;
      ordered([&](const TMFileTree* a, const TMFileTree* b) { return counts[a] < counts[b]; });
      break;
    }
    case kModifiedColumn:
      ordered([](const TMFileTree* a, const TMFileTree* b) { return a->modifiedTime() < b->modifiedTime(); });
      break;
    default:  // size and share: the same order within a folder
      ordered([](const TMFileTree* a, const TMFileTree* b) { return a->diskSize() < b->diskSize(); });
  }
}

TMFileListModel::Folder& TMFileListModel::folderAt(const QModelIndex& index) const {
  if (!index.isValid()) return top_;
  Folder& holder = folderHolding(index);
  const TMFileTree* node = holder.rows[size_t(index.row())];
  std::unique_ptr<Folder>& folder = folders_[node];
  if (!folder) {
    folder = std::make_unique<Folder>();
    folder->node = node;
    folder->parent = &holder;
    folder->row = index.row();
  }
  return *folder;
}

QModelIndex TMFileListModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= kColumnCount || !top_.node) return {};
  Folder& folder = folderAt(parent.isValid() ? parent.siblingAtColumn(0) : parent);
  load(folder);
  if (size_t(row) >= folder.rows.size()) return {};
  return createIndex(row, column, &folder);
}

QModelIndex TMFileListModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  return indexOfFolder(folderHolding(child));
}

QModelIndex TMFileListModel::indexOfFolder(const Folder& folder) const {
  if (folder.parent == nullptr) return {};  // the top
  return createIndex(folder.row, 0, folder.parent);
}

int TMFileListModel::rowCount(const QModelIndex& parent) const {
  if (!top_.node || parent.column() > 0) return 0;
  if (parent.isValid() && (scanning_ || !nodeOf(parent)->asFolder())) return 0;
  Folder& folder = folderAt(parent);
  load(folder);
  return int(folder.rows.size());
}

int TMFileListModel::columnCount(const QModelIndex& parent) const { return parent.column() > 0 ? 0 : kColumnCount; }

bool TMFileListModel::hasChildren(const QModelIndex& parent) const {
  if (!parent.isValid()) return top_.node != nullptr;
  if (parent.column() > 0 || scanning_) return false;
  const TMFolderTree* folder = nodeOf(parent)->asFolder();
  return folder != nullptr && folder->childCount() > 0;
}

const TMFileTree* TMFileListModel::nodeOf(const QModelIndex& index) const {
  if (!index.isValid()) return nullptr;
  return folderHolding(index).rows[size_t(index.row())];
}

uint64_t TMFileListModel::parentSize(const Folder& folder) const {
  if (&folder != &top_) return folder.node->diskSize();
  // The top's share is of the whole: a volume's size, or the folder's.
  if (const TMVolume* volume = tree_->asVolume(); volume && showsSpace_) return volume->shownSize();
  return top_.node->diskSize();
}

uint64_t TMFileListModel::filesBelow(const TMFileTree& node) const {
  auto cached = fileCounts_.find(&node);
  if (cached != fileCounts_.end()) return cached->second;
  uint64_t files = 0;
  forEachFileBelow(node, [&](const TMFileTree&) { ++files; });
  fileCounts_.emplace(&node, files);
  return files;
}

QString TMFileListModel::nameText(const QModelIndex& index) const {
  if (origins_.empty()) return displayText(nodeOf(index)->filename());
  return displayText(origins_.shownComponents(urlOf(index)).back());
}

QVariant TMFileListModel::data(const QModelIndex& index, int role) const {
  const TMFileTree* node = nodeOf(index);
  if (node == nullptr) return {};
  const bool folder = node->asFolder() != nullptr;
  const uint64_t total = parentSize(folderHolding(index));
  const double share = total > 0 ? double(node->diskSize()) / double(total) : 0.0;
  switch (role) {
    case Qt::DisplayRole:
      switch (index.column()) {
        case kNameColumn:
          return displayText(node->filename());
        case kSizeColumn:
          return sizeCellText(node->diskSize());
        case kShareColumn:
          return shareCellText(share);
        case kFilesColumn:
          // A folder not listed yet (a saved scan read a folder at a time)
          // has a size, but no count to tell.
          return folder && !scanning_ && !node->asFolder()->wasCutShort()
                     ? QLocale().toString(qulonglong(filesBelow(*node)))
                     : QString();
        case kModifiedColumn:
          return modifiedText(*node);
      }
      break;
    case Qt::ToolTipRole:
      if (index.column() == kSizeColumn) return exactBytesText(node->diskSize());
      if (index.column() == kNameColumn) return nameText(index);
      if (index.column() == kModifiedColumn) return modifiedTimeText(*node);
      break;
    case Qt::AccessibleTextRole:
      if (index.column() == kNameColumn) return nameText(index);
      break;
    case Qt::DecorationRole:
      if (index.column() == kNameColumn) return itemIcon(folder);
      break;
    case Qt::TextAlignmentRole:
      if (index.column() != kNameColumn) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case kShareRole:
      return share;
  }
  return {};
}

QVariant TMFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNameColumn:
      return tr("Name");
    case kSizeColumn:
      return tr("Size");
    case kShareColumn:
      return tr("Share");
    case kFilesColumn:
      return tr("Files");
    case kModifiedColumn:
      return tr("Modified");
  }
  return {};
}

void TMFileListModel::sort(int column, Qt::SortOrder order) {
  if (column == sortColumn_ && order == sortOrder_) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  sortColumn_ = column;
  sortOrder_ = order;
  auto resort = [&](Folder& folder) {
    if (!folder.loaded) return;
    const std::vector<const TMFileTree*> before = folder.rows;
    sortRows(folder);
    movePersistentRows(folder, before);
  };
  resort(top_);
  for (auto& [node, folder] : folders_) resort(*folder);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TMFileListModel::movePersistentRows(const Folder& folder, const std::vector<const TMFileTree*>& before) {
  std::unordered_map<const TMFileTree*, int> rowOf;
  for (size_t i = 0; i < folder.rows.size(); ++i) rowOf[folder.rows[i]] = int(i);
  // The folders below keep their records: their own rows follow.
  for (const TMFileTree* row : folder.rows) {
    auto below = folders_.find(row);
    if (below != folders_.end() && below->second->parent == &folder) below->second->row = rowOf[row];
  }
  QModelIndexList from, to;
  for (const QModelIndex& index : persistentIndexList()) {
    if (index.internalPointer() != &folder) continue;
    from.push_back(index);
    to.push_back(createIndex(rowOf[before[size_t(index.row())]], index.column(), const_cast<Folder*>(&folder)));
  }
  changePersistentIndexList(from, to);
}

void TMFileListModel::noteDeleted(const TMFileTree& node) {
  Folder* holder = nullptr;
  int row = -1;
  auto find = [&](Folder& folder) {
    if (!folder.loaded || holder != nullptr) return;
    auto found = std::find(folder.rows.begin(), folder.rows.end(), &node);
    if (found != folder.rows.end()) {
      holder = &folder;
      row = int(found - folder.rows.begin());
    }
  };
  find(top_);
  for (auto& [key, folder] : folders_) find(*folder);
  fileCounts_.clear();
  if (holder != nullptr) {
    beginRemoveRows(indexOfFolder(*holder), row, row);
    holder->rows.erase(holder->rows.begin() + row);
    // The records of what went, and the rows of the folders after it.
    std::vector<const Folder*> gone;
    if (auto own = folders_.find(&node); own != folders_.end()) gone.push_back(own->second.get());
    for (bool more = !gone.empty(); more;) {
      more = false;
      for (auto& [key, folder] : folders_) {
        const bool below = std::find(gone.begin(), gone.end(), folder->parent) != gone.end();
        if (below && std::find(gone.begin(), gone.end(), folder.get()) == gone.end()) {
          gone.push_back(folder.get());
          more = true;
        }
      }
    }
    for (const Folder* folder : gone) folders_.erase(folder->node);
    for (auto& [key, folder] : folders_) {
      if (folder->parent == holder && folder->row > row) --folder->row;
    }
    endRemoveRows();
  }
  allSizesChanged();
}

void TMFileListModel::allSizesChanged() {
  auto changed = [&](const Folder& folder) {
    if (!folder.loaded || folder.rows.empty()) return;
    const QModelIndex parent = indexOfFolder(folder);
    emit dataChanged(index(0, kSizeColumn, parent), index(int(folder.rows.size()) - 1, kFilesColumn, parent));
  };
  changed(top_);
  for (auto& [key, folder] : folders_) changed(*folder);
}

TMFileURL TMFileListModel::urlOf(const QModelIndex& index) const {
  std::vector<std::string_view> names;
  for (QModelIndex at = index.siblingAtColumn(0); at.isValid(); at = parent(at)) names.push_back(nodeOf(at)->filename());
  TMFileURL url = url_;
  for (auto name = names.rbegin(); name != names.rend(); ++name) url.append(*name);
  return url;
}

QModelIndex TMFileListModel::indexOf(const TMFileURL& url) {
  if (!top_.node || !url.isAtOrBelow(url_)) return {};
  const std::vector<std::string> parts = url.pathComponents();
  QModelIndex at;
  for (size_t i = url_.pathComponents().size(); i < parts.size(); ++i) {
    if (at.isValid() && rowCount(at) == 0) return {};
    Folder& folder = folderAt(at);
    load(folder);
    auto found = std::find_if(folder.rows.begin(), folder.rows.end(),
                              [&](const TMFileTree* row) { return row->filename() == parts[i]; });
    if (found == folder.rows.end()) return {};
    at = createIndex(int(found - folder.rows.begin()), 0, &folder);
  }
  return at;
}

}  // namespace tilemora
