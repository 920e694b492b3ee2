// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileList.h"

#include <QContextMenuEvent>
#include <QHeaderView>

#include "list/TMChangesModel.h"
#include "list/TMFileListModel.h"
#include "list/TMLargestFilesModel.h"
#include "list/TMShareBarDelegate.h"
#include "core/filetree/TMFileTree.h"

namespace tilemora {

TMFileList::TMFileList(QWidget* parent)
    : QTreeView(parent),
      treeModel_(new TMFileListModel(this)),
      largestModel_(new TMLargestFilesModel(this)),
      changesModel_(new TMChangesModel(this)) {
  setModel(treeModel_);
  setItemDelegateForColumn(TMFileListModel::kShareColumn, new TMShareBarDelegate(TMFileListModel::kShareRole, this));
  setUniformRowHeights(true);  // a folder of 100,000 rows opens at once
  setAlternatingRowColors(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);  // a double click narrows the map instead
  header()->setSortIndicator(TMFileListModel::kSizeColumn, Qt::DescendingOrder);
  // The name keeps room for itself; the date, last, takes what is left, and
  // a narrow list scrolls sideways rather than squeezing the names.
  header()->setStretchLastSection(true);
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  header()->resizeSection(TMFileListModel::kNameColumn, digit * 24);
  // Room for "999.9 MB", "100.0 %" with its bar, and a count.
  header()->resizeSection(TMFileListModel::kSizeColumn, digit * 10);
  header()->resizeSection(TMFileListModel::kShareColumn, digit * 11);
  header()->resizeSection(TMFileListModel::kFilesColumn, digit * 10);
  header()->resizeSection(TMFileListModel::kModifiedColumn, digit * 16);
  setSortingEnabled(true);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (mode_ != Mode::kTree) return;
    const TMFileTree* node = treeModel_->nodeOf(index.siblingAtColumn(0));
    if (node != nullptr && node->asFolder() != nullptr) emit opened(urlOf(index));
  });
}

void TMFileList::setMode(Mode mode) {
  if (mode == mode_) return;
  if (mode_ == Mode::kTree) treeHeaderState_ = header()->saveState();
  mode_ = mode;
  const bool tree = mode == Mode::kTree;
  setSortingEnabled(tree);
  setRootIsDecorated(tree);
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  switch (mode) {
    case Mode::kTree:
      setModel(treeModel_);
      if (!treeHeaderState_.isEmpty()) header()->restoreState(treeHeaderState_);
      break;
    case Mode::kLargestFiles:
      setModel(largestModel_);
      // The folder's path, last, takes what the name leaves.
      header()->resizeSection(TMLargestFilesModel::kNameColumn, digit * 22);
      break;
    case Mode::kChanges:
      setModel(changesModel_);
      header()->resizeSection(TMChangesModel::kNameColumn, digit * 26);
      for (int column : {TMChangesModel::kChangeColumn, TMChangesModel::kOldColumn, TMChangesModel::kNewColumn})
        header()->resizeSection(column, digit * 11);
      break;
  }
}

void TMFileList::setLargestFilesFolder(std::shared_ptr<TMFileTree> tree, const TMFileTree* folder,
                                       const TMFileURL& url) {
  largestModel_->setFolder(std::move(tree), folder, url);
}

TMFileURL TMFileList::urlOf(const QModelIndex& index) const {
  switch (mode_) {
    case Mode::kLargestFiles: return largestModel_->urlOf(index);
    case Mode::kChanges: return changesModel_->urlOf(index);
    case Mode::kTree: break;
  }
  return treeModel_->urlOf(index);
}

QModelIndex TMFileList::indexOf(const TMFileURL& url) {
  switch (mode_) {
    case Mode::kLargestFiles: return largestModel_->indexOf(url);
    case Mode::kChanges: return changesModel_->indexOf(url);
    case Mode::kTree: break;
  }
  return treeModel_->indexOf(url);
}

void TMFileList::makeCurrent(const QModelIndex& index) {
  following_ = true;
  if (index.isValid()) {
    for (QModelIndex folder = index.parent(); folder.isValid(); folder = folder.parent()) expand(folder);
    setCurrentIndex(index);
    scrollTo(index);
  } else {
    clearSelection();
    setCurrentIndex(QModelIndex());
  }
  following_ = false;
}

void TMFileList::followSelection(const TMFileURL& url) {
  if (currentIndex().isValid() && urlOf(currentIndex()) == url) return;
  makeCurrent(indexOf(url));
}

void TMFileList::followShownFolder(const TMFileURL& url) {
  // Nothing is selected: no row stays highlighted (after a deletion, the
  // row below the one that went would otherwise look chosen).
  makeCurrent(QModelIndex());
  const QModelIndex folder = indexOf(url);
  if (folder.isValid()) {
    expand(folder);
    scrollTo(folder, QAbstractItemView::PositionAtTop);
  } else {
    scrollToTop();
  }
}

void TMFileList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  // A removed item has no tile to select.
  if (mode_ == Mode::kChanges && !changesModel_->hasTile(current)) return;
  if (!following_ && current.isValid()) emit chosen(urlOf(current));
}

void TMFileList::contextMenuEvent(QContextMenuEvent* event) {
  // The scroll area hands the viewport's event over: its position is the
  // viewport's already, below the header.
  const QModelIndex index = indexAt(event->pos());
  if (!index.isValid() || (mode_ == Mode::kChanges && !changesModel_->hasTile(index))) return;
  setCurrentIndex(index);  // the map selects it first: the menu acts on the selection
  emit menuWanted(urlOf(index), event->globalPos());
}

QByteArray TMFileList::headerState() const { return mode_ != Mode::kTree ? treeHeaderState_ : header()->saveState(); }

void TMFileList::restoreHeaderState(const QByteArray& state) {
  if (state.isEmpty()) return;
  if (mode_ != Mode::kTree) {
    treeHeaderState_ = state;
  } else {
    header()->restoreState(state);
  }
}

}  // namespace tilemora
