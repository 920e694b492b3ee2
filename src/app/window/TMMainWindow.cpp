// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMMainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStackedLayout>
#include <QStatusBar>
#include <QToolButton>
#include <cerrno>
#include <cstring>

#include "TMRecentFolders.h"
#include "actions/TMSelectionCommands.h"
#include "actions/TMTrashQuestionBox.h"
#include "colours/TMColoursFeature.h"
#include "compare/TMCompareFeature.h"
#include "compare/TMSavedScanFilters.h"
#include "find/TMFindFeature.h"
#include "import/TMScanHistory.h"
#include "list/TMListFeature.h"
#include "map/TMMapCommands.h"
#include "map/TMMapPane.h"
#include "map/TMTreeMapWidget.h"
#include "view/controller/TMGlobalQueues.h"
#include "window/TMDisplayText.h"
#include "window/TMElidingLabel.h"
#include "window/TMMessageView.h"
#include "core/platform/TMFileSystem.h"
#include "window/TMStartPage.h"
#include "window/TMStatusText.h"
#include "window/TMUnreadableFoldersDialog.h"
#include "window/TMWindowDelegate.h"

namespace tilemora {

TMMainWindow::TMMainWindow(TMWindowDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue)
    : delegate_(delegate) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Tilemora"));
  // At most about 80 % of the screen it opens on, at any scale factor.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  resize(std::min(1000, screen.width() * 4 / 5), std::min(760, screen.height() * 4 / 5));

  auto* mapPages = new QWidget(this);
  pages_ = new QStackedLayout(mapPages);
  startPage_ = new TMStartPage(TMFileSystem::posix());
  messageView_ = &startPage_->messageView();
  pages_->addWidget(startPage_);
  mapPane_ = new TMMapPane;
  pages_->addWidget(mapPane_);

  statusLine_ = new TMElidingLabel;
  statusBar()->addWidget(statusLine_, 1);
  // Its count of folders that could not be read opens the list of them.
  connect(statusLine_, &TMElidingLabel::clicked, this, [this] { showUnreadableFolders(); });
  progress_ = new TMScanProgressBar;
  statusBar()->addPermanentWidget(progress_);
  stop_ = new QAction(tr("Stop"), this);
  stop_->setShortcut(QKeySequence(Qt::Key_Escape));
  stop_->setEnabled(false);
  connect(stop_, &QAction::triggered, this, [this] {
    session_->controller().stopScanning();
    session_->stopReading();
    session_->stopSaving();
  });
  stopButton_ = new QToolButton;
  stopButton_->setDefaultAction(stop_);
  stopButton_->hide();
  statusBar()->addPermanentWidget(stopButton_);
  addAction(stop_);

  TMScanEnvironment environment;
  environment.mainQueue = std::move(mainQueue);
  session_ = std::make_unique<TMSession>(static_cast<TMWindowHost&>(*this), mapPane_->view(), std::move(environment),
                                         [&delegate] { delegate.windowClosed(); });
  const TMPreferences preferences = TMPreferences::load();
  mapCommands_ = new TMMapCommands(*this, *session_, *mapPane_, delegate);
  selection_ = new TMSelectionCommands(*this, *session_, *mapPane_, *mapCommands_);
  find_ = new TMFindFeature(*this, *session_, *mapPane_, *mapPages);
  list_ = new TMListFeature(*this, *session_, *mapPane_, find_->column(), *selection_);
  colours_ = new TMColoursFeature(*this, *session_, *mapPane_, delegate, preferences.colourBy);
  compare_ = new TMCompareFeature(*this, *session_, *mapPane_, *statusLine_);
  setCentralWidget(&list_->splitter());
  connect(&mapPane_->map(), &TMTreeMapWidget::menuWanted, selection_, &TMSelectionCommands::showMenu);
  session_->addObserver(*this);
  applyPreferences(preferences);
  buildMenus();
  // Wires the drop and the toolbar, and opens the folder handed over for
  // this window, if any.
  startPage_->focusPlaces();
  connect(startPage_, &TMStartPage::folderChosen, this,
          [this](const QByteArray& path) { controller().openURL(TMFileURL::fromPath(path.toStdString())); });
  controller().awakeFromNib(TMGlobalQueues::sharedQueues());
}

TMMainWindow::~TMMainWindow() {
  // The features let go of the session, which then stops the scan and its
  // work, before the widgets go.
  session_->removeObserver(*this);
  for (QObject* feature : std::initializer_list<QObject*>{compare_, colours_, list_, find_, selection_, mapCommands_})
    delete feature;
  session_.reset();
}

void TMMainWindow::applyPreferences(const TMPreferences& preferences) {
  controller().setScanOptions(preferences.scanOptions);
  controller().setAskBeforeTrash(preferences.askBeforeTrash);
  session_->setHistory(preferences.keepHistory, TMScanHistory::defaultStateHome());
  mapCommands_->setShowsFreeSpace(preferences.showFreeSpace);
  list_->setShowsSpace(preferences.showFreeSpace);
  mapCommands_->setSizeMeasure(preferences.sizeMeasure);
  mapCommands_->setFollowsChanges(preferences.followChanges);
  // A window comparing with a saved scan keeps its colours.
  if (colours_->colourMode() != TMColourMode::kChanges) colours_->setColourMode(preferences.colourBy);
  controller().refreshSizeTexts();
}

void TMMainWindow::buildMenus() {
  // Qt's button for the menus a narrow window has no room for has no name
  // of its own.
  if (auto* more = menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
    more->setAccessibleName(tr("More menus"));
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&New Window"), QKeySequence::New, this, [this] { delegate_.openNewWindow(); });
  file->addAction(tr("&Open\u2026"), QKeySequence::Open, this, [this] { openDocument(); });
  recentMenu_ = file->addMenu(tr("Open &Recent"));
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] { fillRecentMenu(); });
  file->addAction(tr("&Import Scan\u2026"), this, [this] { openImportDialog(); });
  file->addAction(tr("Scan as A&dministrator\u2026"), this, [this] { scanAsAdministrator({}); });
  file->addAction(&compare_->saveScan());
  file->addSeparator();
  file->addAction(&compare_->compare());
  file->addMenu(&compare_->compareWith());
  file->addSeparator();
  file->addAction(&mapCommands_->rescan());
  file->addSeparator();
  file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
  file->addAction(tr("&Quit"), QKeySequence::Quit, this, [this] { delegate_.quit(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->addAction(&find_->find());
  edit->addSeparator();
  edit->addActions({&selection_->openItem(), &selection_->openTerminal(), &selection_->copyPath()});
  edit->addSeparator();
  edit->addAction(&mapCommands_->moveToTrash());
  edit->addSeparator();
  edit->addAction(tr("&Preferences\u2026"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this,
                  [this] { delegate_.openPreferences(this); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addActions({&mapCommands_->zoomIn(), &mapCommands_->zoomOut()});
  view->addSeparator();
  view->addActions({&mapCommands_->narrow(), &mapCommands_->goUp(), &mapCommands_->selectFirstItem()});
  view->addSeparator();
  view->addAction(&mapCommands_->reveal());
  view->addSeparator();
  view->addAction(&mapCommands_->showFreeSpace());
  view->addAction(&mapCommands_->followChanges());
  mapCommands_->addSizeMenuTo(*view);
  view->addSeparator();
  colours_->addToMenu(*view);
  view->addSeparator();
  view->addActions({&list_->showList(), &list_->largestFiles(), &list_->showChanges()});

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About Tilemora"), this, [this] { delegate_.openAbout(this); });
}

void TMMainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QList<QByteArray> folders = TMRecentFolders::list();
  for (const QByteArray& folder : folders) {
    // A "&" in a name is shown, not taken for a shortcut mark.
    const QString label = displayText(folder.toStdString()).replace(u'&', QStringLiteral("&&"));
    recentMenu_->addAction(label, this, [this, folder] { controller().openURL(TMFileURL::fromPath(folder.toStdString())); });
  }
  if (folders.isEmpty()) recentMenu_->addAction(tr("No Recent Folders"))->setEnabled(false);
  recentMenu_->addSeparator();
  recentMenu_->addAction(tr("Clear Menu"), [] { TMRecentFolders::clear(); })->setEnabled(!folders.isEmpty());
}

void TMMainWindow::openDocument() {
  const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Folder"));
  if (!folder.isEmpty()) controller().openURL(TMFileURL::fromPath(QFile::encodeName(folder).toStdString()));
}

void TMMainWindow::openImportDialog() {
  // Several files are shown side by side, as one map.
  const QStringList files = QFileDialog::getOpenFileNames(this, tr("Import Scan"), QString(),
                                                          savedScanFilters() + QStringLiteral(";;") + tr("All files (*)"));
  QList<QByteArray> paths;
  for (const QString& file : files) paths << QFile::encodeName(file);
  if (!paths.isEmpty()) importScans(paths);
}

void TMMainWindow::importScans(const QList<QByteArray>& paths) {
  const auto nameOf = [](const QByteArray& path) {
    return path == "-" ? tr("standard input") : displayText(path.toStdString());
  };
  readName_ = paths.size() == 1 ? nameOf(paths.front()) : tr("%n saved scan(s)", nullptr, int(paths.size()));
  readingAsAdministrator_ = false;
  std::vector<std::string> files;
  for (const QByteArray& path : paths) files.push_back(path.toStdString());
  session_->importScans(std::move(files));
}

QString TMMainWindow::scanHelperPath() {
  // Installed beside the application; run from the build tree, in its
  // sibling folder; else wherever PATH finds it.
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {here + QStringLiteral("/tilemora-scan"), here + QStringLiteral("/../cli/tilemora-scan")}) {
    if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
  }
  return QStandardPaths::findExecutable(QStringLiteral("tilemora-scan"));
}

void TMMainWindow::scanAsAdministrator(QByteArray folder) {
  if (folder.isEmpty()) {
    const QString chosen = QFileDialog::getExistingDirectory(this, tr("Scan as Administrator"));
    if (chosen.isEmpty()) return;
    folder = QFile::encodeName(QFileInfo(chosen).absoluteFilePath());
  }
  const QString helper = scanHelperPath();
  readName_ = displayText(folder.toStdString());
  readingAsAdministrator_ = true;
  if (helper.isEmpty()) {
    readFailed(Reading::kShowing, TMImportError{0, 0, tr("tilemora-scan is not installed beside tilemora").toStdString(), {}});
    return;
  }
  session_->scanAsAdministrator(QFile::encodeName(helper).toStdString(), folder.toStdString());
}

void TMMainWindow::updateStopAction() {
  const bool working = controller().isScanning() || session_->isReading() || session_->isSaving();
  stop_->setEnabled(working);
  stopButton_->setVisible(working);
}

void TMMainWindow::savingChanged(bool) { updateStopAction(); }

void TMMainWindow::readingChanged(Reading why, bool reading) {
  updateStopAction();
  if (why != Reading::kShowing) return;
  if (reading) {
    statusLine_->setFullText(tr("Reading %1\u2026").arg(readName_));
    setProgressVisible(true);
    setProgressIndeterminate(true);
    startProgressAnimation();
  } else {
    stopProgressAnimation();
  }
}

void TMMainWindow::readFailed(Reading why, const TMImportError& error) {
  if (why != Reading::kShowing) return;
  statusLine_->clear();
  // Of several, the one that could not be read.
  const QString which = error.file.empty() ? readName_ : displayText(error.file);
  messageView_->setMessage((readingAsAdministrator_ ? tr("Cannot scan %1 as administrator: %2") : tr("Cannot import %1: %2"))
                               .arg(which, QString::fromStdString(error.text())));
  showMessageView(true);
}

void TMMainWindow::showUnreadableFolders() {
  const std::vector<TMUnreadableFolder>& folders = controller().unreadableFolders();
  if (folders.empty()) return;
  std::function<void()> again;
  if (const auto& scanned = controller().scannedUrl())
    again = [this, folder = QByteArray::fromStdString(scanned->path())] { scanAsAdministrator(folder); };
  auto* dialog = new TMUnreadableFoldersDialog(folders, this, std::move(again));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

void TMMainWindow::closeEvent(QCloseEvent* event) {
  list_->saveSettings();
  QMainWindow::closeEvent(event);
}

// --- what the controller drives --------------------------------------------

void TMMainWindow::showMessageView(bool shown) {
  pages_->setCurrentIndex(shown ? 0 : 1);
  // Nothing to list beside a message.
  list_->setMapShown(!shown);
  if (shown) {
    progress_->hide();  // it would tell nothing true there
    startPage_->refresh();
    startPage_->focusPlaces();
  } else {
    messageView_->setMessage(QString());
    // The map takes the keys from the start.
    mapPane_->map().setFocus();
  }
}

void TMMainWindow::showOpenFailure(const TMFileURL& url, std::string_view reason) {
  statusLine_->clear();
  messageView_->setMessage(tr("Cannot open %1: %2")
                               .arg(displayText(url.path()), QString::fromUtf8(reason.data(), qsizetype(reason.size()))));
  // What only the administrator may read can be scanned as administrator.
  if (reason == std::strerror(EACCES))
    messageView_->setAction(tr("Scan as &Administrator\u2026"),
                            [this, folder = QByteArray::fromStdString(url.path())] { scanAsAdministrator(folder); });
}

void TMMainWindow::showFolderTrashed(const TMFileURL& url) {
  statusLine_->clear();
  messageView_->setMessage(tr("\u201C%1\u201D was moved to the trash.").arg(displayText(url.lastPathComponent())));
  toolbarFlagsChanged();
}

void TMMainWindow::showScanStatus(const TMScanStatus& status) {
  mapPane_->setTitleNote(status.imported ? tr("imported") : QString());
  QString notes = statusToolTipOf(status);
  if (!controller().unreadableFolders().empty()) notes += QLatin1Char('\n') + tr("Click for the whole list.");
  QString text = statusTextOf(status);
  if (session_->comparison() && !status.scanning) text += QStringLiteral(" \u2014 ") + compare_->comparisonText();
  statusLine_->setFullText(text, notes, unreadableLinkOf(status));
  statusLine_->setCursor(controller().unreadableFolders().empty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
  updateStopAction();
}

void TMMainWindow::showWaitingForReaders(bool waiting) {
  // The window keeps answering; the pointer says that something is coming.
  if (waiting) {
    setCursor(Qt::BusyCursor);
    statusLine_->setFullText(tr("Waiting for the work on this scan to stop\u2026"));
  } else {
    unsetCursor();
  }
}

void TMMainWindow::setFileDropResponder(std::function<void(const TMFileURL&)> responder) {
  // On the empty window and on the map alike.
  mapPane_->map().setFileDropResponder(responder);
  messageView_->setFileDropResponder(std::move(responder));
}

void TMMainWindow::toolbarFlagsChanged() {
  mapCommands_->flagsChanged();
  selection_->update();
}

void TMMainWindow::treeShown(const std::shared_ptr<TMFileTree>&, const TMFileURL&, bool) {
  // Where its saved scans came from, when the tree shows several side by side.
  mapPane_->setScanOrigins(controller().scanOrigins());
}

void TMMainWindow::mapStateChanged() {
  mapPane_->map().noteSelection();
  selection_->update();
}

void TMMainWindow::askToMoveToTrash(const TMTrashQuestion& question,
                                    std::function<void(bool move, bool stopAsking)> answer) {
  TMTrashQuestionBox::ask(this, question, [this, answer = std::move(answer)](bool move, bool stopAsking) {
    if (stopAsking) {
      // Kept, and told to every window (this one's controller learns it
      // from its answer as well).
      TMPreferences preferences = TMPreferences::load();
      preferences.askBeforeTrash = false;
      preferences.save();
      delegate_.preferencesChanged();
    }
    answer(move, stopAsking);
  });
}

void TMMainWindow::noteRecentFolder(const TMFileURL& url) {
  TMRecentFolders::note(QByteArray::fromStdString(url.path()));
}

}  // namespace tilemora
