// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMFileList.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <utility>
#include <vector>

#include "list/TMChangesModel.h"
#include "list/TMFileListModel.h"
#include "list/TMLargestFilesModel.h"
#include "list/TMRowTexts.h"
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
  // Ctrl and Shift with a click or the arrows, and Ctrl+A, choose several.
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);  // a double click narrows the map instead
  setAccessibleName(tr("Items"));
  header()->setAccessibleName(tr("Columns"));
  header()->setSortIndicator(TMFileListModel::kSizeColumn, Qt::DescendingOrder);
  // Every column shows at once: the names take what the others leave and
  // are cut short with "…" (their tooltips hold them whole).
  header()->setStretchLastSection(false);
  setTextElideMode(Qt::ElideRight);
  fitColumns();
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
  switch (mode) {
    case Mode::kTree:
      setModel(treeModel_);
      // As the user left them.
      if (!treeHeaderState_.isEmpty()) {
        header()->restoreState(treeHeaderState_);
        return;
      }
      break;
    case Mode::kLargestFiles:
      setModel(largestModel_);
      break;
    case Mode::kChanges:
      setModel(changesModel_);
      break;
  }
  fitColumns();
}

void TMFileList::fitColumns() {
  // The longest text each column shows, in the language and locale in use.
  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  auto widest = [this](const QStringList& texts) {
    return *std::max_element(texts.begin(), texts.end(), [this](const QString& a, const QString& b) {
      return fontMetrics().horizontalAdvance(a) < fontMetrics().horizontalAdvance(b);
    });
  };
  // The most digits a size has, just below the next unit ("1023.9 KB"), up
  // to a terabyte, whichever units the sizes are told in.
  QStringList sizes;
  for (const double base : {1000.0, 1024.0}) {
    for (double unit = base; unit <= base * base * base; unit *= base) sizes << sizeCellText(uint64_t(unit * (base - 0.1)));
  }
  const QString size = widest(sizes);
  const QString count = QLocale().toString(9999999);
  const QString share = shareCellText(1.0);
  const QString date = QLocale().toString(QDate(2026, 12, 28), QLocale::ShortFormat);
  const QString kind = widest({changeKindText(TMChangeKind::kNew), changeKindText(TMChangeKind::kGrew),
                                changeKindText(TMChangeKind::kShrank), changeKindText(TMChangeKind::kRemoved)});
  std::vector<std::pair<int, QString>> fitted;  // the other columns: the names take what is left
  std::vector<int> names{TMFileListModel::kNameColumn};  // the first column in every mode
  switch (mode_) {
    case Mode::kTree:
      fitted = {{TMFileListModel::kSizeColumn, size},
                {TMFileListModel::kShareColumn, share},  // its bar lies under the text
                {TMFileListModel::kFilesColumn, count},
                {TMFileListModel::kModifiedColumn, date}};
      break;
    case Mode::kLargestFiles:
      fitted = {{TMLargestFilesModel::kSizeColumn, size}, {TMLargestFilesModel::kShareColumn, share}};
      names.push_back(TMLargestFilesModel::kFolderColumn);
      break;
    case Mode::kChanges:
      fitted = {{TMChangesModel::kChangeColumn, QStringLiteral("+") + size},
                {TMChangesModel::kOldColumn, size},
                {TMChangesModel::kNewColumn, size},
                {TMChangesModel::kWhatColumn, kind}};
      break;
  }
  // A cell's margins, and a title's with its sort arrow where the list sorts.
  const int cellPadding = 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + digit / 2;
  const int titlePadding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header()) +
                           (mode_ == Mode::kTree ? style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header()) : 0);
  for (const auto& [column, longest] : fitted) {
    const QString title = model()->headerData(column, Qt::Horizontal).toString();
    header()->setSectionResizeMode(column, QHeaderView::Interactive);
    header()->resizeSection(column, std::max(fontMetrics().horizontalAdvance(longest) + cellPadding,
                                             header()->fontMetrics().horizontalAdvance(title) + titlePadding));
  }
  for (int column : names) header()->setSectionResizeMode(column, QHeaderView::Stretch);
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

TMFileList::TMOpenRows TMFileList::openRows() const {
  TMOpenRows rows;
  rows.scrolled = verticalScrollBar()->value();
  if (mode_ != Mode::kTree) return rows;
  // Only the rows of open folders are walked: what is shown, not the tree.
  std::vector<QModelIndex> pending{QModelIndex()};
  while (!pending.empty()) {
    const QModelIndex parent = pending.back();
    pending.pop_back();
    for (int row = 0, count = treeModel_->rowCount(parent); row < count; ++row) {
      const QModelIndex index = treeModel_->index(row, 0, parent);
      if (!isExpanded(index)) continue;
      rows.folders.push_back(treeModel_->urlOf(index));
      pending.push_back(index);
    }
  }
  return rows;
}

void TMFileList::reopenRows(const TMOpenRows& rows) {
  if (mode_ == Mode::kTree) {
    for (const TMFileURL& folder : rows.folders) {
      // A folder that went is passed over.
      if (const QModelIndex index = treeModel_->indexOf(folder); index.isValid()) expand(index);
    }
  }
  verticalScrollBar()->setValue(rows.scrolled);
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

void TMFileList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTreeView::selectionChanged(selected, deselected);
  if (following_) return;
  const QModelIndexList rows = selectionModel()->selectedRows();
  if (rows.size() < 2) return;  // one row: the current one, chosen as such
  // The current row first: the map's main selection, where the keys go on.
  std::vector<TMFileURL> urls;
  if (rows.contains(currentIndex().siblingAtColumn(0))) urls.push_back(urlOf(currentIndex()));
  for (const QModelIndex& row : rows) {
    if (mode_ == Mode::kChanges && !changesModel_->hasTile(row)) continue;
    const TMFileURL url = urlOf(row);
    if (std::find(urls.begin(), urls.end(), url) == urls.end()) urls.push_back(url);
  }
  emit chosenSeveral(urls);
}

void TMFileList::keyPressEvent(QKeyEvent* event) {
  // Esc (while there is nothing to stop) lets go of the rows chosen.
  if (event->key() == Qt::Key_Escape && selectionModel()->hasSelection()) {
    makeCurrent(QModelIndex());
    emit selectionCleared();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void TMFileList::focusInEvent(QFocusEvent* event) {
  // Qt makes the first row current for the keys to start from: the map
  // must not select it as if the user had.
  const bool following = std::exchange(following_, true);
  QTreeView::focusInEvent(event);
  following_ = following;
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
