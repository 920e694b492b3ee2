// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMainWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QToolButton>
#include <QMenuBar>
#include <QPointer>
#include <QSignalBlocker>
#include <QProgressBar>
#include <QStackedLayout>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <cmath>

#include "TMDisplayText.h"
#include "TMElidingLabel.h"
#include "TMFileList.h"
#include "TMFileListModel.h"
#include "TMSelectionActions.h"
#include "TMMapPane.h"
#include "TMTreeMapWidget.h"
#include "TMMessageView.h"
#include "TMPreferences.h"
#include "TMRecentFolders.h"
#include "TMSavedScanReader.h"
#include "TMStatusText.h"
#include "TMTrashQuestionBox.h"
#include "TMUnreadableFoldersDialog.h"
#include "TilemoraAppDelegate.h"
#include "view/TMGlobalQueues.h"

namespace tilemora {

namespace {

// Progress bars work in integers; progress is a fraction.
constexpr int kProgressRange = 10000;

}  // namespace

TMMainWindow::TMMainWindow(TilemoraAppDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue)
    : delegate_(delegate), mainQueue_(mainQueue) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Tilemora"));
  // At most about 80 % of the screen it opens on, at any scale factor.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  resize(std::min(1000, screen.width() * 4 / 5), std::min(760, screen.height() * 4 / 5));

  auto* central = new QWidget(this);
  pages_ = new QStackedLayout(central);
  messageView_ = new TMMessageView;
  pages_->addWidget(messageView_);
  mapPane_ = new TMMapPane;
  pages_->addWidget(mapPane_);
  buildList(central);

  statusLine_ = new TMElidingLabel;
  statusBar()->addWidget(statusLine_, 1);
  // Its count of folders that could not be read opens the list of them.
  connect(statusLine_, &TMElidingLabel::clicked, this, [this] { showUnreadableFolders(); });
  progress_ = new QProgressBar;
  progress_->setMaximumWidth(220);
  progress_->setTextVisible(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  statusBar()->addPermanentWidget(progress_);
  stop_ = new QAction(tr("Stop"), this);
  stop_->setShortcut(QKeySequence(Qt::Key_Escape));
  stop_->setEnabled(false);
  connect(stop_, &QAction::triggered, this, [this] { controller_->stopScanning(); });
  auto* stopButton = new QToolButton;
  stopButton->setDefaultAction(stop_);
  statusBar()->addPermanentWidget(stopButton);
  addAction(stop_);

  TMScanEnvironment environment;
  environment.mainQueue = std::move(mainQueue);
  controller_ = std::make_shared<TMMainWindowController>(
      *this, mapPane_->view(), std::move(environment), [&delegate] { delegate.notifyWindowClosed(); });
  const TMPreferences preferences = TMPreferences::load();
  controller_->setScanOptions(preferences.scanOptions);
  controller_->setAskBeforeTrash(preferences.askBeforeTrash);
  mapPane_->view().setShowsSpace(preferences.showFreeSpace);
  colourMode_ = preferences.colourBy;
  buildCommands();
  buildListCommands();
  buildCompareCommands();
  buildMenus();
  // Wires the drop and the toolbar, and opens the folder handed over for
  // this window, if any.
  controller_->awakeFromNib(TMGlobalQueues::sharedQueues());
}

TMMainWindow::~TMMainWindow() {
  // Stops the scan and tells the delegate before the widgets go.
  controller_.reset();
}

void TMMainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&New Window"), QKeySequence::New, &delegate_, [this] { delegate_.openUntitledFile(); });
  file->addAction(tr("&Open\u2026"), QKeySequence::Open, this, [this] { openDocument(); });
  recentMenu_ = file->addMenu(tr("Open &Recent"));
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
  file->addAction(tr("&Import Scan\u2026"), this, [this] { openImportDialog(); });
  file->addAction(saveScan_);
  file->addSeparator();
  file->addAction(compare_);
  file->addMenu(compareWith_);
  file->addSeparator();
  rescan_ = file->addAction(tr("R&escan"), QKeySequence(Qt::Key_F5), this, [this] {
    if (controller_->canRescan()) controller_->openURL(*controller_->scannedUrl());
  });
  file->addSeparator();
  file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
  file->addAction(tr("&Quit"), QKeySequence::Quit, &delegate_, [this] { delegate_.quit(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->addAction(find_);
  edit->addSeparator();
  edit->addActions({openItem_, openTerminal_, copyPath_});
  edit->addSeparator();
  edit->addAction(moveToTrash_);
  edit->addSeparator();
  edit->addAction(tr("&Preferences\u2026"), QKeySequence(Qt::CTRL | Qt::Key_Comma), &delegate_,
                  [this] { delegate_.openPreferences(this); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addActions({zoomIn_, zoomOut_});
  view->addSeparator();
  view->addActions({narrow_, goUp_, selectFirstItem_});
  view->addSeparator();
  view->addAction(reveal_);
  view->addSeparator();
  view->addAction(showFreeSpace_);
  view->addSeparator();
  buildColourCommands(*view);
  view->addSeparator();
  view->addActions({showList_, largestFiles_, showChanges_});

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About Tilemora"), &delegate_, [this] { delegate_.openAbout(this); });
}

void TMMainWindow::buildCommands() {
  auto command = [this](const QString& text, const char* iconName, QStyle::StandardPixmap fallback,
                        QList<QKeySequence> keys, void (TMMainWindowController::*forward)()) {
    const QIcon icon = fallback == QStyle::SP_CustomBase
                           ? QIcon::fromTheme(QLatin1String(iconName))
                           : QIcon::fromTheme(QLatin1String(iconName), style()->standardIcon(fallback));
    auto* action = new QAction(icon, text, this);
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, [this, forward] { (controller_.get()->*forward)(); });
    return action;
  };
  zoomIn_ = command(tr("Zoom &In"), "zoom-in", QStyle::SP_CustomBase,
                    {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
                    &TMMainWindowController::zoomInView);
  zoomOut_ = command(tr("Zoom &Out"), "zoom-out", QStyle::SP_CustomBase, {QKeySequence::ZoomOut},
                     &TMMainWindowController::zoomOutView);
  narrow_ = command(tr("&Narrow"), "go-down", QStyle::SP_ArrowDown,
                    {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                    &TMMainWindowController::narrowFolder);
  goUp_ = command(tr("Go &Up"), "go-up", QStyle::SP_ArrowUp,
                  {QKeySequence(Qt::ALT | Qt::Key_Up), QKeySequence(Qt::Key_Backspace)},
                  &TMMainWindowController::goUp);
  reveal_ = command(tr("&Reveal in File Manager"), "system-file-manager", QStyle::SP_DirOpenIcon,
                    {QKeySequence(Qt::CTRL | Qt::Key_R)}, &TMMainWindowController::revealInFinder);
  moveToTrash_ = command(tr("Move to &Trash"), "user-trash", QStyle::SP_TrashIcon, {QKeySequence::Delete},
                         &TMMainWindowController::deleteSelectedElement);
  selectFirstItem_ = new QAction(tr("Select &First Item"), this);
  connect(selectFirstItem_, &QAction::triggered, this, [this] { mapPane_->view().selectSubItem(); });
  showFreeSpace_ = new QAction(tr("Show Free &Space"), this);
  showFreeSpace_->setCheckable(true);
  showFreeSpace_->setChecked(mapPane_->view().showsSpace());
  showFreeSpace_->setToolTip(tr("A volume's free space and the space the scan did not reach, beside its folder"));
  connect(showFreeSpace_, &QAction::toggled, this, [](bool shown) {
    TMPreferences preferences = TMPreferences::load();
    preferences.showFreeSpace = shown;
    preferences.save();
    TilemoraAppDelegate::applyPreferencesToWindows();
  });

  QToolBar* toolbar = addToolBar(tr("Map"));
  toolbar->setObjectName(QStringLiteral("map"));
  toolbar->setMovable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toolbar->addActions({zoomIn_, zoomOut_, narrow_, goUp_, reveal_, moveToTrash_});
  toolbarFlagsChanged();
}

void TMMainWindow::toolbarFlagsChanged() {
  const TMMainWindowController& c = *controller_;
  zoomIn_->setEnabled(!c.atMaximumZoom());
  zoomOut_->setEnabled(!c.atMinimumZoom());
  narrow_->setEnabled(c.narrowable());
  selectFirstItem_->setEnabled(c.showsMap());
  goUp_->setEnabled(!c.atTopLevel());
  reveal_->setEnabled(c.showableInFinder());
  moveToTrash_->setEnabled(c.canDeleteSelection());
  // A saved scan's folder may not even be on this machine.
  if (rescan_ != nullptr) rescan_->setEnabled(c.canRescan());
  updateSelectionCommands();
}

void TMMainWindow::setShowsFreeSpace(bool shown) {
  const QSignalBlocker quiet(showFreeSpace_);
  showFreeSpace_->setChecked(shown);
  mapPane_->view().setShowsSpace(shown);
  fileList_->treeModel().setShowsSpace(shown);
}

void TMMainWindow::askToMoveToTrash(const TMTrashQuestion& question,
                                    std::function<void(bool move, bool stopAsking)> answer) {
  TMTrashQuestionBox::ask(this, question, [answer = std::move(answer)](bool move, bool stopAsking) {
    if (stopAsking) {
      // Kept, and told to every window (this one's controller learns it from
      // its answer as well).
      TMPreferences preferences = TMPreferences::load();
      preferences.askBeforeTrash = false;
      preferences.save();
      TilemoraAppDelegate::applyPreferencesToWindows();
    }
    answer(move, stopAsking);
  });
}

void TMMainWindow::showUnreadableFolders() {
  const std::vector<TMUnreadableFolder>& folders = controller_->unreadableFolders();
  if (folders.empty()) return;
  auto* dialog = new TMUnreadableFoldersDialog(folders, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void TMMainWindow::showFolderTrashed(const TMFileURL& url) {
  statusLine_->clear();
  messageView_->setMessage(tr("\u201C%1\u201D was moved to the trash.").arg(displayText(url.lastPathComponent())));
  toolbarFlagsChanged();
}

void TMMainWindow::setFileDropResponder(std::function<void(const TMFileURL&)> responder) {
  // On the empty window and on the map alike.
  mapPane_->map().setFileDropResponder(responder);
  messageView_->setFileDropResponder(std::move(responder));
}

void TMMainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QList<QByteArray> folders = TMRecentFolders::list();
  for (const QByteArray& folder : folders) {
    // A "&" in a name is shown, not taken for a shortcut mark.
    const QString label = displayText(folder.toStdString()).replace(u'&', QStringLiteral("&&"));
    recentMenu_->addAction(label, this, [this, folder] {
      controller_->openURL(TMFileURL::fromPath(folder.toStdString()));
    });
  }
  if (folders.isEmpty()) recentMenu_->addAction(tr("No Recent Folders"))->setEnabled(false);
  recentMenu_->addSeparator();
  recentMenu_->addAction(tr("Clear Menu"), [] { TMRecentFolders::clear(); })->setEnabled(!folders.isEmpty());
}

void TMMainWindow::openDocument() {
  const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Folder"));
  if (!folder.isEmpty()) controller_->openURL(TMFileURL::fromPath(QFile::encodeName(folder).toStdString()));
}

void TMMainWindow::openImportDialog() {
  // Several files are shown side by side, as one map.
  const QStringList files = QFileDialog::getOpenFileNames(
      this, tr("Import Scan"), QString(), tr("Saved scans (*.json *.json.zst *.json.gz *.zst *.gz);;All files (*)"));
  QList<QByteArray> paths;
  for (const QString& file : files) paths << QFile::encodeName(file);
  if (!paths.isEmpty()) importScans(paths);
}

void TMMainWindow::importScans(const QList<QByteArray>& paths) {
  // Only wanted while nothing else was opened here meanwhile.
  const uint64_t import = ++imports_;
  const uint64_t openings = controller_->openings();
  const auto nameOf = [](const QByteArray& path) {
    return path == "-" ? tr("standard input") : displayText(path.toStdString());
  };
  const QString name = paths.size() == 1 ? nameOf(paths.front()) : tr("%n saved scan(s)", nullptr, int(paths.size()));
  statusLine_->setFullText(tr("Reading %1\u2026").arg(name));
  setProgressVisible(true);
  setProgressIndeterminate(true);
  startProgressAnimation();
  QPointer<TMMainWindow> window(this);
  readSavedScans(paths, mainQueue_, [window, import, openings, name, nameOf](TMSavedScanResult result) {
    if (!window || import != window->imports_ || openings != window->controller_->openings()) return;
    window->stopProgressAnimation();
    if (auto* error = std::get_if<TMImportError>(&result)) {
      window->statusLine_->clear();
      // Of several, the one that could not be read.
      const QString which = error->file.empty() ? name : nameOf(QByteArray::fromStdString(error->file));
      window->messageView_->setMessage(
          tr("Cannot import %1: %2").arg(which, QString::fromStdString(error->text())));
      window->showMessageView(true);
      return;
    }
    TMImportedScan& scan = std::get<TMImportedScan>(result);
    window->controller_->openImportedTree(std::move(scan.root),
                                          TMFileURL::fromPathComponents(scan.rootComponents), scan.timestamp,
                                          scan.unreadableFolders);
  });
}

void TMMainWindow::showMessageView(bool shown) {
  pages_->setCurrentIndex(shown ? 0 : 1);
  // Nothing to list beside a message.
  fileList_->setVisible(!shown && (showList_ == nullptr || showList_->isChecked()));
  if (shown) {
    progress_->hide();  // it would tell nothing true there
  } else {
    messageView_->setMessage(QString());
    // The map takes the keys from the start.
    mapPane_->map().setFocus();
  }
}

void TMMainWindow::showScanStatus(const TMScanStatus& status) {
  lastStatus_ = status;
  mapPane_->setTitleNote(status.imported ? tr("imported") : QString());
  QString notes = statusToolTipOf(status);
  if (!controller_->unreadableFolders().empty()) notes += QLatin1Char('\n') + tr("Click for the whole list.");
  QString text = statusTextOf(status);
  if (comparison_ && !status.scanning) text += QStringLiteral(" \u2014 ") + comparisonText();
  statusLine_->setFullText(text, notes);
  statusLine_->setCursor(controller_->unreadableFolders().empty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
  stop_->setEnabled(status.scanning);
}

void TMMainWindow::showOpenFailure(const TMFileURL& url, std::string_view reason) {
  statusLine_->clear();
  messageView_->setMessage(tr("Cannot open %1: %2")
                               .arg(displayText(url.path()), QString::fromUtf8(reason.data(), qsizetype(reason.size()))));
}

// Qt's bar animates while its range is 0-0 (indeterminate); a stopped
// indeterminate bar is shown full.
void TMMainWindow::setProgressIndeterminate(bool indeterminate) {
  indeterminate_ = indeterminate;
  if (indeterminate) progress_->setRange(0, animating_ ? 0 : 1);
}

void TMMainWindow::startProgressAnimation() {
  animating_ = true;
  if (indeterminate_) progress_->setRange(0, 0);
}

void TMMainWindow::stopProgressAnimation() {
  animating_ = false;
  if (indeterminate_) {
    progress_->setRange(0, 1);
    progress_->setValue(1);
  }
}

void TMMainWindow::setProgressRange(double minimum, double maximum) {
  progress_->setRange(int(minimum * kProgressRange), int(maximum * kProgressRange));
}

void TMMainWindow::setProgressVisible(bool visible) { progress_->setVisible(visible); }

void TMMainWindow::setProgressValue(double value) {
  progress_->setValue(int(std::lround(std::clamp(value, 0.0, 1.0) * kProgressRange)));
  progress_->repaint();
}

void TMMainWindow::noteRecentFolder(const TMFileURL& url) {
  TMRecentFolders::note(QByteArray::fromStdString(url.path()));
}

}  // namespace tilemora
