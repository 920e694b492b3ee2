// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's list beside the map: placing it, keeping it and the map
// in step, its settings, and the commands on a selection (also in the menus
// of tiles and rows).

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSplitter>
#include <QStackedLayout>
#include <QStyle>

#include "TMFileList.h"
#include "TMFindBar.h"
#include "TMFileListModel.h"
#include "TMLargestFilesModel.h"
#include "TMMainWindow.h"
#include "TMMapPane.h"
#include "TMPlainMessage.h"
#include "TMSelectionActions.h"
#include "TMTreeMapWidget.h"
#include "core/filetree/TMFileTree.h"

namespace tilemora {

namespace {

const QString kListShownKey = QStringLiteral("list/shown");
const QString kSplitterKey = QStringLiteral("list/splitter");
const QString kHeaderKey = QStringLiteral("list/columns");

}  // namespace

void TMMainWindow::buildList(QWidget* mapPages) {
  fileList_ = new TMFileList;
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->addWidget(fileList_);
  splitter_->addWidget(buildFindBar(mapPages));
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  splitter_->setSizes({width() * 2 / 5, width() * 3 / 5});
  setCentralWidget(splitter_);
  const QSettings settings;
  splitter_->restoreState(settings.value(kSplitterKey).toByteArray());
  fileList_->restoreHeaderState(settings.value(kHeaderKey).toByteArray());
  fileList_->hide();  // until there is something to list

  TMTreeMapView& view = mapPane_->view();
  connect(fileList_, &TMFileList::chosen, this, [&view](const TMFileURL& url) { view.selectURL(url); });
  connect(fileList_, &TMFileList::opened, this, [&view](const TMFileURL& url) { view.focusOn(url); });
  connect(fileList_, &TMFileList::menuWanted, this,
          [this](const TMFileURL&, const QPoint& position) { showSelectionMenu(position); });
  connect(&mapPane_->map(), &TMTreeMapWidget::menuWanted, this, [this](const QPoint& position) {
    showSelectionMenu(position);
  });
  selectionActions_ = std::make_unique<TMSelectionActions>(TMDesktopAccess::system());
}

void TMMainWindow::buildListCommands() {
  showList_ = new QAction(tr("Show &List"), this);
  showList_->setCheckable(true);
  showList_->setShortcut(QKeySequence(Qt::Key_F9));
  showList_->setChecked(QSettings().value(kListShownKey, true).toBool());
  connect(showList_, &QAction::toggled, this, [this](bool shown) { setListShown(shown); });
  largestFiles_ = new QAction(tr("Lar&gest Files"), this);
  largestFiles_->setCheckable(true);
  largestFiles_->setToolTip(tr("The largest files anywhere in the shown folder, in the list"));
  connect(largestFiles_, &QAction::toggled, this, [this](bool shown) { setShowsLargestFiles(shown); });

  openItem_ = new QAction(QIcon::fromTheme(QStringLiteral("document-open")), tr("Open &Item"), this);
  openItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
  connect(openItem_, &QAction::triggered, this, [this] {
    if (const TMNodeState* selected = mapPane_->view().selected()) selectionActions_->open(selected->url);
  });
  openTerminal_ = new QAction(QIcon::fromTheme(QStringLiteral("utilities-terminal")), tr("Open Ter&minal Here"), this);
  openTerminal_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  connect(openTerminal_, &QAction::triggered, this, [this] {
    const TMNodeState* selected = mapPane_->view().selected();
    if (selected == nullptr || selected->file == nullptr) return;
    const QString failure = selectionActions_->openTerminal(selected->url, selected->file->asFolder() != nullptr);
    if (!failure.isEmpty()) {
      showPlainWarning(this, tr("Open Terminal Here"), failure);
    }
  });
  copyPath_ = new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), tr("&Copy Path"), this);
  copyPath_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  connect(copyPath_, &QAction::triggered, this, [this] {
    if (const TMNodeState* selected = mapPane_->view().selected()) selectionActions_->copyPath(selected->url);
  });
  addActions({showList_, largestFiles_, openItem_, openTerminal_, copyPath_});
  updateSelectionCommands();
}

void TMMainWindow::setDesktopAccess(TMDesktopAccess desktop) {
  selectionActions_ = std::make_unique<TMSelectionActions>(std::move(desktop));
}

void TMMainWindow::updateSelectionCommands() {
  if (openItem_ == nullptr) return;
  const TMNodeState* selected = mapPane_->view().selected();
  // A saved scan's items may not be on this machine: only their path is.
  const bool onDisk = controller_ && controller_->showableInFinder();
  openItem_->setEnabled(onDisk);
  openTerminal_->setEnabled(onDisk);
  copyPath_->setEnabled(selected != nullptr && selected->file != nullptr);
}

void TMMainWindow::setListShown(bool shown) {
  fileList_->setVisible(shown && pages_->currentIndex() == 1);
  QSettings().setValue(kListShownKey, shown);
}

void TMMainWindow::setShowsLargestFiles(bool shown) {
  fileList_->setShowsLargestFiles(shown);
  largestFilesFolder_.reset();
  updateLargestFiles();
  mapStateChanged();
}

void TMMainWindow::updateLargestFiles() {
  const TMNodeState* current = mapPane_->view().current();
  if (!fileList_->showsLargestFiles() || listedScanning_ || current == nullptr) return;
  if (largestFilesFolder_ == current->url) return;
  largestFilesFolder_ = current->url;
  fileList_->setLargestFilesFolder(listedTree_, current->file, current->url);
}

void TMMainWindow::showTree(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) {
  if (tree == listedTree_ && scanning && listedScanning_) {
    fileList_->treeModel().refresh();
    return;
  }
  const bool newTree = tree != listedTree_;
  listedTree_ = tree;
  listedScanning_ = scanning;
  saveScan_->setEnabled(tree && !scanning);
  compareOrKeepTree(newTree, url, scanning);
  largestFilesFolder_.reset();
  fileList_->treeModel().setTree(tree, url, scanning);
  fileList_->setLargestFilesFolder(nullptr, nullptr, url);
  updateLargestFiles();
  legendFolder_.reset();
  updateLegend();
  // A new tree: the old matches are gone; the pattern is looked for again.
  if (!scanning && findBar_->isVisible()) {
    startSearch();
  } else if (searchResult_) {
    endSearch();
  }
}

void TMMainWindow::mapStateChanged() {
  const TMTreeMapView& view = mapPane_->view();
  mapPane_->map().noteSelection();
  updateLargestFiles();
  updateLegend();
  updateFileTypes();
  if (const TMNodeState* selected = view.selected(); selected != nullptr && selected->file != nullptr) {
    fileList_->followSelection(selected->url);
  } else if (const TMNodeState* current = view.current()) {
    fileList_->followShownFolder(current->url);
  }
  updateSelectionCommands();
}

void TMMainWindow::itemDeleted(const TMFileTree& node) {
  // What went is a removed item now.
  if (comparison_) startComparison();
  legendFolder_.reset();  // counted again after the deletion
  fileTypesFolder_.reset();
  if (searchResult_ || findBar_->isVisible()) startSearch();  // what went is no match any more
  fileList_->treeModel().noteDeleted(node);
  if (fileList_->showsLargestFiles()) fileList_->largestModel().noteDeleted(node);
}

void TMMainWindow::showSelectionMenu(const QPoint& globalPosition) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addActions({openItem_, reveal_, openTerminal_, copyPath_});
  menu->addSeparator();
  menu->addActions({narrow_, goUp_});
  menu->addSeparator();
  menu->addAction(moveToTrash_);
  menu->popup(globalPosition);
}

void TMMainWindow::saveListSettings() const {
  QSettings settings;
  settings.setValue(kSplitterKey, splitter_->saveState());
  settings.setValue(kHeaderKey, fileList_->headerState());
}

void TMMainWindow::closeEvent(QCloseEvent* event) {
  saveListSettings();
  QMainWindow::closeEvent(event);
}

}  // namespace tilemora
