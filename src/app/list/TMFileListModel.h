// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file tree as rows of a list beside the map. It reads the tree in
// place: a folder's rows are pointers to its children, made only once a
// view asks for them (the folder is expanded), and nothing is copied from
// the nodes. Rows are largest first, as the tree is, until a column is
// sorted. The top level is the scanned folder's content, with a volume's
// free and unscanned space as rows of their own.
//
// While the scan writes the tree, only the top level is shown, read again
// at refresh() under the interim read guard; the full tree comes with
// setTree() once the scan has ended.

#include <QAbstractItemModel>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/platform/TMFileURL.h"
#include "import/TMScanOrigins.h"

namespace tilemora {

class TMFileTree;

class TMFileListModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { kNameColumn, kSizeColumn, kShareColumn, kFilesColumn, kModifiedColumn, kColumnCount };
  // A row's share of its folder, from 0 to 1 (the bar of the share column).
  static constexpr int kShareRole = Qt::UserRole + 1;

  explicit TMFileListModel(QObject* parent = nullptr);
  ~TMFileListModel() override;

  // Shows `tree`, the root of a scan of `url` (a folder or a volume);
  // `scanning` while its scan still writes it. No tree empties the list.
  void setTree(std::shared_ptr<TMFileTree> tree, const TMFileURL& url, bool scanning);
  // Where the saved scans shown side by side came from: the folder of each
  // is named by its origin in its tooltip and to assistive technology.
  void setOrigins(const TMScanOrigins& origins) { origins_ = origins; }
  // While scanning: the top level read again (new rows, new sizes).
  void refresh();
  // Whether a volume's free and unscanned space are rows.
  void setShowsSpace(bool shown);
  // `node` has just been deleted from the tree (unlinked, still alive):
  // its row goes, and the sizes and shares above it follow.
  void noteDeleted(const TMFileTree& node);

  // The path of the item a row stands for.
  TMFileURL urlOf(const QModelIndex& index) const;
  // The row of the item at `url` (its folders' rows made on the way);
  // invalid for the scanned folder itself and for what has no row.
  QModelIndex indexOf(const TMFileURL& url);
  const TMFileTree* nodeOf(const QModelIndex& index) const;
  const TMFileURL& scannedUrl() const { return url_; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  // A row's name as its tooltip and assistive technology tell it.
  QString nameText(const QModelIndex& index) const;
  // The rows of one folder, once asked for.
  struct Folder {
    const TMFileTree* node = nullptr;  // null for the top before a tree is set
    Folder* parent = nullptr;          // null for the top
    int row = 0;                       // its own row in `parent`
    std::vector<const TMFileTree*> rows;
    bool loaded = false;
  };

  // The folder whose rows `index` is among.
  Folder& folderHolding(const QModelIndex& index) const {
    return *static_cast<Folder*>(index.internalPointer());
  }
  // The rows of the folder at `index` (the top for no index), made on demand.
  Folder& folderAt(const QModelIndex& index) const;
  void load(Folder& folder) const;
  // The top level as the tree has it now.
  std::vector<const TMFileTree*> topRows() const;
  void sortRows(Folder& folder) const;
  // Puts the persistent indexes of `folder`'s rows back on their nodes
  // after its rows were reordered (from `before`).
  void movePersistentRows(const Folder& folder, const std::vector<const TMFileTree*>& before);
  QModelIndex indexOfFolder(const Folder& folder) const;
  uint64_t filesBelow(const TMFileTree& node) const;
  uint64_t parentSize(const Folder& folder) const;
  // Every loaded row's sizes and shares changed.
  void allSizesChanged();

  std::shared_ptr<TMFileTree> tree_;
  TMFileURL url_;
  TMScanOrigins origins_;
  bool scanning_ = false;
  bool showsSpace_ = true;
  mutable Folder top_;
  mutable std::unordered_map<const TMFileTree*, std::unique_ptr<Folder>> folders_;
  mutable std::unordered_map<const TMFileTree*, uint64_t> fileCounts_;
  int sortColumn_ = -1;  // none: the tree's own order
  Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

}  // namespace tilemora
