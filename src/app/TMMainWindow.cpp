#include "TMMainWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QStackedLayout>
#include <QStatusBar>
#include <cmath>

#include "TMGlobalQueues.h"
#include "TMMessageView.h"
#include "TMPathBar.h"
#include "TMRecentFolders.h"
#include "TMTreeMapWidget.h"
#include "TilemoraAppDelegate.h"

namespace tilemora {

namespace {

// Scroll bars work in integers; the view's knobs are fractions.
constexpr int kScrollerRange = 10000;

void placeKnob(QScrollBar& scroller, double proportion, double value) {
  if (!std::isfinite(proportion)) proportion = 1;
  const int page = int(std::lround(std::clamp(proportion, 0.0, 1.0) * kScrollerRange));
  const int maximum = kScrollerRange - page;
  scroller.setRange(0, maximum);
  scroller.setPageStep(std::max(page, 1));
  // A knob that fills its track has no position (0/0): show it at the start.
  scroller.setValue(std::isfinite(value) ? int(std::lround(std::clamp(value, 0.0, 1.0) * maximum)) : 0);
}

QString displayName(const TMFileURL& url) {
  return QFile::decodeName(QByteArray(url.lastPathComponent().data(),
                                      qsizetype(url.lastPathComponent().size())));
}

}  // namespace

TMMainWindow::TMMainWindow(TilemoraAppDelegate& delegate, std::shared_ptr<TMMainQueue> mainQueue)
    : delegate_(delegate) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Tilemora"));
  resize(1000, 760);

  auto* central = new QWidget(this);
  pages_ = new QStackedLayout(central);
  messageView_ = new TMMessageView;
  pages_->addWidget(messageView_);

  auto* mapPage = new QWidget;
  auto* grid = new QGridLayout(mapPage);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  treeMap_ = new TMTreeMapWidget;
  horizontalScroller_ = new QScrollBar(Qt::Horizontal);
  verticalScroller_ = new QScrollBar(Qt::Vertical);
  pathView_ = new TMPathBar;
  grid->addWidget(treeMap_, 0, 0);
  grid->addWidget(verticalScroller_, 0, 1);
  grid->addWidget(horizontalScroller_, 1, 0);
  grid->addWidget(pathView_, 2, 0, 1, 2);
  pages_->addWidget(mapPage);
  setCentralWidget(central);

  progress_ = new QProgressBar;
  progress_->setMaximumWidth(220);
  progress_->setTextVisible(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  statusBar()->addPermanentWidget(progress_);

  treeMap_->onPathShown = [this](const TMFileURL& url) {
    pathView_->setURL(url);
    setWindowTitle(displayName(url));
  };
  treeMap_->onScrollersMoved = [this](const TMScrollerPositions& positions) {
    showScrollers(positions);
  };

  TMScanEnvironment environment;
  environment.mainQueue = std::move(mainQueue);
  controller_ = std::make_shared<TMMainWindowController>(
      *this, treeMap_->view(), std::move(environment), [&delegate] { delegate.notifyWindowClosed(); });
  messageView_->setFileDropResponder([this](const TMFileURL& url) { controller_->openURL(url); });
  buildMenus();

  // The folder handed over for this window, if any.
  if (std::optional<TMFileURL> url = TMGlobalQueues::sharedQueues().getFileFromQueue()) {
    controller_->openURL(*url);
  } else {
    showMessageView(true);
  }
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
  file->addSeparator();
  file->addAction(tr("&Close"), QKeySequence::Close, this, &QWidget::close);
  file->addAction(tr("&Quit"), QKeySequence::Quit, &delegate_, [this] { delegate_.quit(); });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->addAction(tr("&About Tilemora"), &delegate_, [this] { delegate_.openAbout(this); });
}

void TMMainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList folders = TMRecentFolders::list();
  for (const QString& folder : folders) {
    recentMenu_->addAction(folder, this, [this, folder] {
      controller_->openURL(TMFileURL::fromPath(QFile::encodeName(folder).toStdString()));
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

void TMMainWindow::showScrollers(const TMScrollerPositions& positions) {
  placeKnob(*horizontalScroller_, positions.horizontalProportion, positions.horizontalValue);
  placeKnob(*verticalScroller_, positions.verticalProportion, positions.verticalValue);
}

void TMMainWindow::showMessageView(bool shown) {
  pages_->setCurrentIndex(shown ? 0 : 1);
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
  progress_->setRange(int(minimum * kScrollerRange), int(maximum * kScrollerRange));
}

void TMMainWindow::setProgressValue(double value) {
  progress_->setValue(int(std::lround(std::clamp(value, 0.0, 1.0) * kScrollerRange)));
  progress_->repaint();
}

void TMMainWindow::noteRecentFolder(const TMFileURL& url) {
  TMRecentFolders::note(QFile::decodeName(QByteArray::fromStdString(url.path())));
}

}  // namespace tilemora
