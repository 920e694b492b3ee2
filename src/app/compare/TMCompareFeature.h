// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saved scans of the shown one: File ▸ Save Scan…, File ▸ Compare with
// Saved Scan… and Compare With (the earlier scans the history keeps of the
// shown folder), what a tile was before (its tooltip), and what the status
// line tells of a save, a comparison or the history. The reading, the
// comparing and the saving are the session's.

#include <QObject>
#include <QString>

#include "view/session/TMSessionObserver.h"

class QAction;
class QMainWindow;
class QMenu;

namespace tilemora {

class TMElidingLabel;
class TMMapPane;
class TMSession;

class TMCompareFeature : public QObject, private TMSessionObserver {
  Q_OBJECT

 public:
  TMCompareFeature(QMainWindow& window, TMSession& session, TMMapPane& pane, TMElidingLabel& statusLine);
  ~TMCompareFeature() override;

  QAction& saveScan() { return *saveScan_; }
  QAction& compare() { return *compare_; }
  QMenu& compareWith() { return *compareWith_; }

  // The Save dialog, then the save.
  void openSaveDialog();
  // Writes the shown scan to `path` (compressed as its name ends).
  void saveScan(const QByteArray& path);
  void openCompareDialog();
  // Reads the saved scan at `path` and colours the map by what changed since.
  void compareWithSavedScan(const QByteArray& path);
  // The status line's words for the comparison: "+4.2 GB since 30 Nov 2026
  // 18:20"; empty while nothing is compared.
  QString comparisonText() const;

 private:
  // TMSessionObserver
  void treeShown(const std::shared_ptr<TMFileTree>& tree, const TMFileURL& url, bool scanning) override;
  void comparisonChanged() override;
  void readingChanged(Reading why, bool reading) override;
  void readFailed(Reading why, const TMImportError& error) override;
  void saveEnded(const std::string& path, bool saved, const std::string& error) override;
  void historyFailed(const std::string& error) override;

  void fillCompareWithMenu();

  QMainWindow& window_;
  TMSession& session_;
  TMElidingLabel& statusLine_;
  QAction* saveScan_;
  QAction* compare_;
  QMenu* compareWith_;
  QString comparedName_;  // the saved scan being read to compare with
};

}  // namespace tilemora
