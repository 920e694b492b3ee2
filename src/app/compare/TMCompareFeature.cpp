// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMCompareFeature.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>

#include "TMPreferences.h"
#include "compare/TMSavedScanFilters.h"
#include "import/TMScanHistory.h"
#include "list/TMRowTexts.h"
#include "map/TMMapPane.h"
#include "map/TMTreeMapWidget.h"
#include "view/session/TMSession.h"
#include "window/TMDisplayText.h"
#include "window/TMElidingLabel.h"
#include "window/TMPlainMessage.h"

namespace tilemora {

namespace {

// "11/30/26 6:20 PM", "30.11.26 18:20": as the user's locale writes a date.
QString dateText(int64_t seconds) {
  return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

QString nameOf(const QByteArray& path) {
  return path == "-" ? TMCompareFeature::tr("standard input") : displayText(path.toStdString());
}

}  // namespace

TMCompareFeature::TMCompareFeature(QMainWindow& window, TMSession& session, TMMapPane& pane,
                                   TMElidingLabel& statusLine)
    : QObject(&window), window_(window), session_(session), statusLine_(statusLine) {
  saveScan_ = new QAction(tr("&Save Scan\u2026"), &window);
  saveScan_->setShortcut(QKeySequence::Save);
  saveScan_->setToolTip(tr("Writes the shown scan to a file, to compare with or to look at elsewhere"));
  saveScan_->setEnabled(false);
  connect(saveScan_, &QAction::triggered, this, [this] { openSaveDialog(); });
  compare_ = new QAction(tr("Co&mpare with Saved Scan\u2026"), &window);
  compare_->setToolTip(tr("Colours the map by what changed since a saved scan of the same folder"));
  connect(compare_, &QAction::triggered, this, [this] { openCompareDialog(); });
  compareWith_ = new QMenu(tr("Compare &With"), &window);
  connect(compareWith_, &QMenu::aboutToShow, this, [this] { fillCompareWithMenu(); });
  window.addActions({saveScan_, compare_});
  pane.map().setToolTipNote([this](const TMFileTree& node) -> QString {
    const auto& comparison = session_.comparison();
    if (!comparison) return {};
    const TMNodeChange* change = comparison->nodeChanges->find(node);
    if (change == nullptr) return tr("Unchanged since the saved scan");
    if (change->oldSize == TMNodeChange::kNew) return tr("New since the saved scan");
    return tr("Was %1, now %2 (%3)")
        .arg(sizeCellText(change->oldSize), sizeCellText(node.diskSize()),
             changeCellText(change->oldSize, node.diskSize()));
  });
  session.addObserver(*this);
}

TMCompareFeature::~TMCompareFeature() { session_.removeObserver(*this); }

void TMCompareFeature::openSaveDialog() {
  if (!session_.isShownTreeComplete()) return;
  const auto& scanned = session_.controller().scannedUrl();
  const QString folder = displayText(scanned ? scanned->lastPathComponent() : "");
  const QString suggested = QStringLiteral("%1-%2.json.zst")
                                .arg(folder.isEmpty() || folder == QLatin1String("/") ? QStringLiteral("scan") : folder,
                                     QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd")));
  const QString file = QFileDialog::getSaveFileName(
      &window_, tr("Save Scan"), suggested,
      tr("Compressed scans (*.json.zst);;Scans compressed with gzip (*.json.gz);;Uncompressed scans (*.json);;"
         "Scans in ncdu's binary format, read a folder at a time (*.ncdu)"));
  if (!file.isEmpty()) saveScan(QFile::encodeName(file));
}

void TMCompareFeature::saveScan(const QByteArray& path) {
  if (!session_.isShownTreeComplete()) return;
  statusLine_.setFullText(tr("Saving the scan to %1\u2026").arg(nameOf(path)));
  session_.saveScan(path.toStdString());
}

void TMCompareFeature::saveEnded(const std::string& path, bool saved, const std::string& error) {
  session_.controller().refreshSizeTexts();  // the status line as it was
  const QString name = nameOf(QByteArray::fromStdString(path));
  if (saved) {
    statusLine_.setFullText(tr("Saved the scan to %1").arg(name));
  } else {
    showPlainWarning(&window_, tr("Save Scan"),
                     tr("Cannot save the scan to %1: %2").arg(name, QString::fromLocal8Bit(error.c_str())));
  }
}

void TMCompareFeature::historyFailed(const std::string& error) {
  statusLine_.setFullText(tr("The scan is not kept in the history: %1").arg(QString::fromStdString(error)));
}

void TMCompareFeature::openCompareDialog() {
  const QString file = QFileDialog::getOpenFileName(&window_, tr("Compare with Saved Scan"), QString(),
                                                    savedScanFilters() + QStringLiteral(";;") + tr("All files (*)"));
  if (!file.isEmpty()) compareWithSavedScan(QFile::encodeName(file));
}

void TMCompareFeature::compareWithSavedScan(const QByteArray& path) {
  comparedName_ = nameOf(path);
  session_.compareWithSavedScan(path.toStdString());
}

void TMCompareFeature::readingChanged(Reading why, bool reading) {
  if (why != Reading::kComparing) return;
  if (reading) {
    statusLine_.setFullText(tr("Reading %1\u2026").arg(comparedName_));
  } else {
    session_.controller().refreshSizeTexts();
  }
}

void TMCompareFeature::readFailed(Reading why, const TMImportError& error) {
  if (why != Reading::kComparing) return;
  showPlainWarning(&window_, tr("Compare with Saved Scan"),
                   tr("Cannot read %1: %2").arg(comparedName_, QString::fromStdString(error.text())));
}

void TMCompareFeature::treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL&, bool scanning) {
  saveScan_->setEnabled(tree && !scanning);
}

void TMCompareFeature::comparisonChanged() {
  session_.controller().refreshSizeTexts();  // the status line tells the total change
}

void TMCompareFeature::fillCompareWithMenu() {
  compareWith_->clear();
  const bool keeping = TMPreferences::load().keepHistory;
  const TMMainWindowController& controller = session_.controller();
  std::vector<TMScanHistory::Scan> scans;
  if (controller.scannedUrl() && !controller.isImported())
    scans = TMScanHistory(TMScanHistory::defaultStateHome()).scansOf(controller.scannedUrl()->path());
  for (const TMScanHistory::Scan& scan : scans) {
    // The shown scan itself, once kept, is no earlier scan.
    if (scan.timestamp == session_.shownScannedAt()) continue;
    const QByteArray file = QByteArray::fromStdString(scan.file);
    compareWith_->addAction(dateText(scan.timestamp), this, [this, file] { compareWithSavedScan(file); });
  }
  if (compareWith_->isEmpty()) {
    compareWith_->addAction(keeping ? tr("No earlier scans of this folder")
                                    : tr("No history: keep one in the Preferences"))
        ->setEnabled(false);
  }
}

QString TMCompareFeature::comparisonText() const {
  const auto& comparison = session_.comparison();
  if (!comparison) return {};
  const QString change = changeCellText(comparison->oldTotal, comparison->newTotal);
  return session_.savedAt() > 0 ? tr("%1 since %2").arg(change, dateText(session_.savedAt()))
                                : tr("%1 since the saved scan").arg(change);
}

}  // namespace tilemora
