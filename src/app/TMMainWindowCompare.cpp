// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's saved scans: Save Scan, the history of completed scans,
// and the comparison of the shown scan with a saved one (the map coloured by
// change, the list's mode "Changes", the status line's total change).

#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <ctime>

#include "TMChangesModel.h"
#include "TMDisplayText.h"
#include "TMElidingLabel.h"
#include "TMFileList.h"
#include "TMMainWindow.h"
#include "TMPlainMessage.h"
#include "TMMapPane.h"
#include "TMRowTexts.h"
#include "TMSavedScanReader.h"
#include "TMTreeMapWidget.h"
#include "core/drawing/TMChangeColoring.h"
#include "core/scan/TMScanTask.h"
#include "import/TMScanHistory.h"
#include "import/TMTreeComparison.h"
#include "import/TMTreeExport.h"
#include "render/TMFramePainter.h"

namespace tilemora {

namespace {

// "30 Nov 2026 18:20", in the user's language.
QString dateText(int64_t seconds) {
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QStringLiteral("d MMM yyyy HH:mm"));
}

// Asked as the window's own words (tr in its members).
const char* const kSavedScanFilters =
    QT_TRANSLATE_NOOP("tilemora::TMMainWindow", "Saved scans (*.json *.json.zst *.json.gz *.zst *.gz)");

}  // namespace

void TMMainWindow::buildCompareCommands() {
  saveScan_ = new QAction(tr("&Save Scan\u2026"), this);
  saveScan_->setShortcut(QKeySequence::Save);
  saveScan_->setToolTip(tr("Writes the shown scan to a file, to compare with or to look at elsewhere"));
  saveScan_->setEnabled(false);
  connect(saveScan_, &QAction::triggered, this, [this] { openSaveDialog(); });
  compare_ = new QAction(tr("Co&mpare with Saved Scan\u2026"), this);
  compare_->setToolTip(tr("Colours the map by what changed since a saved scan of the same folder"));
  connect(compare_, &QAction::triggered, this, [this] { openCompareDialog(); });
  compareWith_ = new QMenu(tr("Compare &With"), this);
  connect(compareWith_, &QMenu::aboutToShow, this, [this] { fillCompareWithMenu(); });
  showChanges_ = new QAction(tr("C&hanges"), this);
  showChanges_->setCheckable(true);
  showChanges_->setEnabled(false);
  showChanges_->setToolTip(tr("The largest changes since the saved scan, in the list"));
  connect(showChanges_, &QAction::toggled, this, [this](bool shown) {
    if (shown) largestFiles_->setChecked(false);
    setListMode(int(shown ? TMFileList::Mode::kChanges
                          : largestFiles_->isChecked() ? TMFileList::Mode::kLargestFiles : TMFileList::Mode::kTree));
  });
  auto* mapWidget = &mapPane_->map();
  mapWidget->setToolTipNote([this](const TMFileTree& node) -> QString {
    if (!comparison_) return {};
    const TMNodeChange* change = comparison_->nodeChanges->find(node);
    if (change == nullptr) return tr("Unchanged since the saved scan");
    if (change->oldSize == TMNodeChange::kNew) return tr("New since the saved scan");
    return tr("Was %1, now %2 (%3)")
        .arg(sizeCellText(change->oldSize), sizeCellText(node.diskSize()),
             changeCellText(change->oldSize, node.diskSize()));
  });
}

void TMMainWindow::setListMode(int mode) {
  fileList_->setMode(TMFileList::Mode(mode));
  largestFilesFolder_.reset();
  updateLargestFiles();
  mapStateChanged();
}

void TMMainWindow::readTreeElsewhere(std::function<void()> work) {
  ++*searchesRunning_;
  auto readers = searchesRunning_;
  auto task = [work = std::move(work), readers] {
    work();
    --*readers;
  };
  if (!TMScanTask::startFinishingWork(task)) task();
}

void TMMainWindow::openSaveDialog() {
  if (!listedTree_ || listedScanning_) return;
  const QString folder = displayText(controller_->scannedUrl() ? controller_->scannedUrl()->lastPathComponent() : "");
  const QString suggested = QStringLiteral("%1-%2.json.zst")
                                .arg(folder.isEmpty() || folder == QLatin1String("/") ? QStringLiteral("scan") : folder,
                                     QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")));
  const QString file = QFileDialog::getSaveFileName(
      this, tr("Save Scan"), suggested,
      tr("Compressed scans (*.json.zst);;Scans compressed with gzip (*.json.gz);;Uncompressed scans (*.json)"));
  if (!file.isEmpty()) saveScan(QFile::encodeName(file));
}

void TMMainWindow::saveScan(const QByteArray& path) {
  if (!listedTree_ || listedScanning_ || !controller_->scannedUrl()) return;
  TMTreeExportHeader header{controller_->scannedUrl()->path(), "tilemora", TILEMORA_VERSION,
                            lastStatus_.imported ? lastStatus_.scannedAt : scanStartedAt_,
                            lastStatus_.imported ? std::string() : thisHostName()};
  const QString name = displayText(path.toStdString());
  statusLine_->setFullText(tr("Saving the scan to %1\u2026").arg(name));
  QPointer<TMMainWindow> window(this);
  auto queue = mainQueue_;
  readTreeElsewhere([tree = listedTree_, header, file = path.toStdString(), queue, window, name] {
    std::string error;
    const bool saved = saveTreeExport(*tree, header, file, error);
    queue->post([window, saved, error, name] {
      if (!window) return;
      window->controller_->refreshSizeTexts();  // the status line as it was
      if (saved) {
        window->statusLine_->setFullText(tr("Saved the scan to %1").arg(name));
      } else {
        showPlainWarning(window, tr("Save Scan"),
                         tr("Cannot save the scan to %1: %2").arg(name, QString::fromLocal8Bit(error.c_str())));
      }
    });
  });
}

void TMMainWindow::saveToHistory() {
  if (!TMPreferences::load().keepHistory || !listedTree_ || listedScanning_ || lastStatus_.imported ||
      lastStatus_.stopped || !controller_->scannedUrl())
    return;
  TMTreeExportHeader header{controller_->scannedUrl()->path(), "tilemora", TILEMORA_VERSION, scanStartedAt_,
                            thisHostName()};
  QPointer<TMMainWindow> window(this);
  readTreeElsewhere([tree = listedTree_, header, queue = mainQueue_, window] {
    std::string error;
    // A history that cannot be written costs nothing but itself: the status
    // line says so.
    if (TMScanHistory(TMScanHistory::defaultStateHome()).save(*tree, header, error)) return;
    queue->post([window, error] {
      if (window)
        window->statusLine_->setFullText(tr("The scan is not kept in the history: %1").arg(QString::fromStdString(error)));
    });
  });
}

void TMMainWindow::openCompareDialog() {
  const QString file = QFileDialog::getOpenFileName(this, tr("Compare with Saved Scan"), QString(),
                                                    tr(kSavedScanFilters) + QStringLiteral(";;") + tr("All files (*)"));
  if (!file.isEmpty()) compareWithSavedScan(QFile::encodeName(file));
}

void TMMainWindow::fillCompareWithMenu() {
  compareWith_->clear();
  const bool keeping = TMPreferences::load().keepHistory;
  std::vector<TMScanHistory::Scan> scans;
  if (controller_->scannedUrl() && !controller_->isImported())
    scans = TMScanHistory(TMScanHistory::defaultStateHome()).scansOf(controller_->scannedUrl()->path());
  for (const TMScanHistory::Scan& scan : scans) {
    // The shown scan itself, once kept, is no earlier scan.
    if (scan.timestamp == scanStartedAt_) continue;
    const QByteArray file = QByteArray::fromStdString(scan.file);
    compareWith_->addAction(dateText(scan.timestamp), this, [this, file] { compareWithSavedScan(file); });
  }
  if (compareWith_->isEmpty()) {
    compareWith_->addAction(keeping ? tr("No earlier scans of this folder")
                                    : tr("No history: keep one in the Preferences"))
        ->setEnabled(false);
  }
}

void TMMainWindow::compareWithSavedScan(const QByteArray& path) {
  const uint64_t read = ++compareReads_;
  const QString name = path == "-" ? tr("standard input") : displayText(path.toStdString());
  statusLine_->setFullText(tr("Reading %1\u2026").arg(name));
  QPointer<TMMainWindow> window(this);
  readSavedScan(path, mainQueue_, [window, read, name](TMSavedScanResult result) {
    if (!window || read != window->compareReads_) return;
    window->controller_->refreshSizeTexts();
    if (auto* error = std::get_if<TMImportError>(&result)) {
      showPlainWarning(window, tr("Compare with Saved Scan"),
                       tr("Cannot read %1: %2").arg(name, QString::fromStdString(error->text())));
      return;
    }
    TMImportedScan& scan = std::get<TMImportedScan>(result);
    window->endComparison();
    window->savedTree_ = std::move(scan.root);
    window->savedAt_ = scan.timestamp;
    if (!window->controller_->scannedUrl()) {
      // Nothing shown yet: the folder the saved scan names, as it is now.
      const TMFileURL url = TMFileURL::fromPathComponents(scan.rootComponents);
      window->comparedUrl_ = url;
      window->controller_->openURL(url);
      return;
    }
    window->comparedUrl_ = window->controller_->scannedUrl();
    if (window->listedTree_ && !window->listedScanning_) window->startComparison();
  });
}

void TMMainWindow::compareOrKeepTree(bool newTree, const TMFileURL& url, bool scanning) {
  if (newTree) {
    scanStartedAt_ = int64_t(std::time(nullptr));
    // The colours and the list speak of the tree that goes.
    const bool keep = savedTree_ && comparedUrl_ == url;
    comparison_.reset();
    changeColoring_.reset();
    fileList_->changesModel().setComparison(nullptr, url);
    if (!keep) endComparison();
    if (colourMode_ == TMColourMode::kChanges) setColourMode(TMPreferences::load().colourBy);
  }
  if (scanning || !listedTree_) return;
  if (savedTree_) startComparison();
  saveToHistory();
}

void TMMainWindow::startComparison() {
  if (!savedTree_ || !listedTree_ || listedScanning_) return;
  const uint64_t comparison = ++comparisons_;
  QPointer<TMMainWindow> window(this);
  auto queue = mainQueue_;
  readTreeElsewhere([saved = savedTree_, current = listedTree_, queue, window, comparison] {
    auto result = std::make_shared<const TMTreeComparison>(compareTrees(*saved, *current));
    queue->post([window, comparison, result] {
      if (window && comparison == window->comparisons_) window->showComparison(result);
    });
  });
}

void TMMainWindow::showComparison(std::shared_ptr<const TMTreeComparison> comparison) {
  comparison_ = std::move(comparison);
  changeColoring_ = std::make_shared<TMChangeColoring>(comparison_->nodeChanges);
  fileList_->changesModel().setComparison(comparison_, controller_->scannedUrl().value_or(TMFileURL()));
  showChanges_->setEnabled(true);
  for (QAction* action : colourBy_->actions()) {
    if (TMColourMode(action->data().toInt()) == TMColourMode::kChanges) action->setEnabled(true);
  }
  setColourMode(TMColourMode::kChanges);
  controller_->refreshSizeTexts();  // the status line tells the total change
}

void TMMainWindow::endComparison() {
  ++comparisons_;  // one still being made is not wanted
  savedTree_.reset();
  comparedUrl_.reset();
  comparison_.reset();
  changeColoring_.reset();
  fileList_->changesModel().setComparison(nullptr, TMFileURL());
  if (showChanges_ != nullptr) {
    showChanges_->setChecked(false);
    showChanges_->setEnabled(false);
  }
  for (QAction* action : colourBy_->actions()) {
    if (TMColourMode(action->data().toInt()) == TMColourMode::kChanges) action->setEnabled(false);
  }
}

QString TMMainWindow::comparisonText() const {
  if (!comparison_) return {};
  const QString change = changeCellText(comparison_->oldTotal, comparison_->newTotal);
  return savedAt_ > 0 ? tr("%1 since %2").arg(change, dateText(savedAt_))
                      : tr("%1 since the saved scan").arg(change);
}

std::vector<TMColourLegend::Entry> TMMainWindow::changeLegend() const {
  if (!comparison_ || !changeColoring_) return {};
  const TMChangeColoring& colours = *changeColoring_;
  const TMTreeComparison& c = *comparison_;
  const size_t strongest = kChangeSteps - 1;
  const auto count = [](uint64_t items) { return QLocale().toString(qulonglong(items)); };
  std::vector<TMColourLegend::Entry> entries{
      {qColorOf(colours.colorOfStep(TMChangeKind::kNew, strongest)), tr("New: %1").arg(count(c.newItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kGrew, strongest)), tr("Grew: %1").arg(count(c.grownItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kShrank, strongest)), tr("Shrank: %1").arg(count(c.shrunkItems))},
      {qColorOf(colours.colorOfStep(TMChangeKind::kUnchanged, 0)), tr("Unchanged")},
      {QColor(), tr("Removed: %1 (no tile)").arg(count(c.removedItems))},
      {QColor(), tr("Stronger: a larger change, up to %1").arg(sizeCellText(c.nodeChanges->largestChange()))}};
  return entries;
}

}  // namespace tilemora
