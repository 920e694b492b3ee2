// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMListFeature.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

#include "actions/TMSelectionCommands.h"
#include "list/TMChangesModel.h"
#include "list/TMFileList.h"
#include "list/TMFileListModel.h"
#include "list/TMLargestFilesModel.h"
#include "map/TMMapPane.h"
#include "map/TMTreeMapWidget.h"
#include "view/session/TMSession.h"

namespace tilemora {

namespace {

const QString kListShownKey = QStringLiteral("list/shown");
const QString kSplitterKey = QStringLiteral("list/splitter");
// Widths kept before the names took what the other columns leave are not
// taken back: they hid the columns on the right.
const QString kHeaderKey = QStringLiteral("list/columnWidths");

}  // namespace

TMListFeature::TMListFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, QWidget& mapColumn,
                             TMSelectionCommands& selection)
    : QObject(&window), session_(session), pane_(pane) {
  list_ = new TMFileList;
  splitter_ = new QSplitter(Qt::Horizontal, &window);
  splitter_->addWidget(list_);
  splitter_->addWidget(&mapColumn);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  splitter_->setChildrenCollapsible(false);
  const QSettings settings;
  // Without a split the user chose, the list takes two fifths of the window
  // the first time it shows, at the size the window has then.
  splitPlaced_ = splitter_->restoreState(settings.value(kSplitterKey).toByteArray());
  list_->installEventFilter(this);
  list_->restoreHeaderState(settings.value(kHeaderKey).toByteArray());
  list_->hide();  // until there is something to list

  TMTreeMapView& view = pane.view();
  connect(list_, &TMFileList::chosen, this, [&view](const TMFileURL& url) { view.selectURL(url); });
  connect(list_, &TMFileList::chosenSeveral, this, [&view](const std::vector<TMFileURL>& urls) { view.selectItems(urls); });
  connect(list_, &TMFileList::selectionCleared, this, [&view] { view.clearSelection(); });
  connect(list_, &TMFileList::opened, this, [&view](const TMFileURL& url) { view.focusOn(url); });
  connect(list_, &TMFileList::menuWanted, this,
          [&selection](const TMFileURL&, const QPoint& position) { selection.showMenu(position); });

  showList_ = new QAction(tr("Show &List"), &window);
  showList_->setCheckable(true);
  showList_->setShortcut(QKeySequence(Qt::Key_F9));
  showList_->setChecked(settings.value(kListShownKey, true).toBool());
  connect(showList_, &QAction::toggled, this, [this](bool shown) { setListShown(shown); });
  largestFiles_ = new QAction(tr("Lar&gest Files"), &window);
  largestFiles_->setCheckable(true);
  largestFiles_->setToolTip(tr("The largest files anywhere in the shown folder, in the list"));
  connect(largestFiles_, &QAction::toggled, this, [this](bool shown) {
    if (shown) showChanges_->setChecked(false);
    applyMode();
  });
  showChanges_ = new QAction(tr("C&hanges"), &window);
  showChanges_->setCheckable(true);
  showChanges_->setEnabled(false);
  showChanges_->setToolTip(tr("The largest changes since the saved scan, in the list"));
  connect(showChanges_, &QAction::toggled, this, [this](bool shown) {
    if (shown) largestFiles_->setChecked(false);
    applyMode();
  });
  window.addActions({showList_, largestFiles_, showChanges_});
  session.addObserver(*this);
}

TMListFeature::~TMListFeature() { session_.removeObserver(*this); }

bool TMListFeature::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::Show && !splitPlaced_ && splitter_->width() > 0) {
    splitPlaced_ = true;
    const int width = splitter_->width();
    splitter_->setSizes({width * 2 / 5, width - width * 2 / 5});
  }
  return QObject::eventFilter(watched, event);
}

QWidget& TMListFeature::splitter() { return *splitter_; }

void TMListFeature::setMapShown(bool shown) {
  mapShown_ = shown;
  list_->setVisible(shown && showList_->isChecked());
}

void TMListFeature::setListShown(bool shown) {
  list_->setVisible(shown && mapShown_);
  QSettings().setValue(kListShownKey, shown);
}

void TMListFeature::setShowsSpace(bool shown) { list_->treeModel().setShowsSpace(shown); }

void TMListFeature::applyMode() {
  list_->setMode(showChanges_->isChecked()    ? TMFileList::Mode::kChanges
                 : largestFiles_->isChecked() ? TMFileList::Mode::kLargestFiles
                                              : TMFileList::Mode::kTree);
  largestFilesFolder_.reset();
  updateLargestFiles();
  mapStateChanged();
}

void TMListFeature::updateLargestFiles() {
  const TMNodeState* current = pane_.view().current();
  if (!list_->showsLargestFiles() || scanning_ || current == nullptr) return;
  if (largestFilesFolder_ == current->url) return;
  largestFilesFolder_ = current->url;
  list_->setLargestFilesFolder(session_.shownTree(), current->file, current->url);
  // A saved scan read in part: the largest files are found in its file and
  // the folders holding them read, which lists the rows again.
  const std::pair searched{session_.controller().openings(), current->url};
  if (largestSearchedInFile_ == searched) return;
  largestSearchedInFile_ = searched;
  session_.readLargestFromFile(current->url, TMLargestFilesModel::kMostFiles, {}, false, {});
}

void TMListFeature::treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) {
  // A scan going on: the same rows, grown.
  const bool growing = tree.get() == listed_ && scanning && scanning_;
  listed_ = tree.get();
  scanning_ = scanning;
  if (growing) {
    list_->treeModel().refresh();
    return;
  }
  largestFilesFolder_.reset();
  list_->treeModel().setOrigins(session_.controller().scanOrigins());
  list_->treeModel().setTree(tree, url, scanning);
  list_->setLargestFilesFolder(nullptr, nullptr, url);
  updateLargestFiles();
}

void TMListFeature::mapStateChanged() {
  const TMTreeMapView& view = pane_.view();
  updateLargestFiles();
  if (const TMNodeState* selected = view.selected(); selected != nullptr && selected->file != nullptr) {
    list_->followSelection(selected->url);
  } else if (const TMNodeState* current = view.current()) {
    list_->followShownFolder(current->url);
  }
}

void TMListFeature::itemDeleted(const TMFileTree& node) {
  list_->treeModel().noteDeleted(node);
  if (list_->showsLargestFiles()) list_->largestModel().noteDeleted(node);
}

void TMListFeature::treeRemeasured(const std::shared_ptr<TMFileTree>& tree) {
  // Every size and order changed: the rows are listed again.
  listed_ = nullptr;
  treeShown(tree, session_.controller().scannedUrl().value_or(TMFileURL()), false);
}

void TMListFeature::treeChanged(const std::shared_ptr<TMFileTree>& tree) {
  // Rows came, went and moved: they are listed again, open where they were.
  const TMFileList::TMOpenRows open = list_->openRows();
  treeRemeasured(tree);
  list_->reopenRows(open);
}

void TMListFeature::comparisonChanged() {
  const auto& comparison = session_.comparison();
  list_->changesModel().setComparison(comparison, session_.controller().scannedUrl().value_or(TMFileURL()));
  showChanges_->setEnabled(comparison != nullptr);
  if (!comparison) showChanges_->setChecked(false);
}

void TMListFeature::saveSettings() const {
  QSettings settings;
  settings.setValue(kSplitterKey, splitter_->saveState());
  settings.setValue(kHeaderKey, list_->headerState());
}

}  // namespace tilemora
