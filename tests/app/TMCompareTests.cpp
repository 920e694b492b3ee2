// SPDX-License-Identifier: GPL-3.0-or-later
// Saved scans in the window: compared with the shown scan (colours, legend,
// status line, tooltips, the list's mode "Changes", a deletion counted),
// saved from the window, kept in the history only when asked, and several
// imported side by side as one map.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "list/TMChangesModel.h"
#include "colours/TMColourLegend.h"
#include "window/TMElidingLabel.h"
#include "list/TMFileList.h"
#include "list/TMFileListModel.h"
#include "actions/TMSelectionActions.h"
#include "actions/TMSelectionCommands.h"
#include "colours/TMColoursFeature.h"
#include "compare/TMCompareFeature.h"
#include "find/TMFindFeature.h"
#include "list/TMListFeature.h"
#include "map/TMMapCommands.h"
#include "window/TMMainWindow.h"
#include "map/TMMapPane.h"
#include "map/TMPathBar.h"
#include "TMPreferences.h"
#include "TMQtMainQueue.h"
#include "map/TMTreeMapWidget.h"
#include "TilemoraAppDelegate.h"
#include "core/scan/TMScanTask.h"
#include "import/TMNcduImport.h"
#include "import/TMScanHistory.h"

using namespace tilemora;

class TMCompareWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    queue = std::make_shared<TMQtMainQueue>(qApp);
    delegate = std::make_unique<TilemoraAppDelegate>(queue);
  }
  void cleanup() {
    QApplication::closeAllWindows();
    QApplication::processEvents();
    QVERIFY(TMScanTask::waitForAllScans(std::chrono::seconds(10)));
    QApplication::processEvents();
    QSettings().clear();
  }

  // Saved from the window, the folder changed, compared: what changed is
  // coloured, listed and told; a deletion is counted at once; another
  // folder ends the comparison.
  void savesChangesAndComparesInTheWindow() {
    QTemporaryDir folder, files;
    QVERIFY(QDir(folder.path()).mkpath("keep"));
    writeFile(folder.filePath("keep/grow.bin"), 40960);
    writeFile(folder.filePath("keep/same.bin"), 8192);
    writeFile(folder.filePath("gone.bin"), 20480);
    TMMainWindow* window = delegate->openFile(folder.path());
    window->resize(1000, 700);
    QTRY_VERIFY(!window->controller().isScanning());
    QTRY_VERIFY(window->compare().saveScan().isEnabled());
    const QString saved = files.filePath("saved.json.zst");
    window->compare().saveScan(QFile::encodeName(saved));
    QTRY_VERIFY2(window->statusLine().fullText().startsWith("Saved the scan"), qPrintable(window->statusLine().fullText()));

    writeFile(folder.filePath("keep/grow.bin"), 102400);
    QFile::remove(folder.filePath("gone.bin"));
    writeFile(folder.filePath("new.bin"), 61440);
    window->mapCommands().rescan().trigger();
    QTRY_VERIFY(!window->controller().isScanning());
    window->compare().compareWithSavedScan(QFile::encodeName(saved));
    QTRY_VERIFY(window->session().comparison().get() != nullptr);
    QCOMPARE(window->session().comparison().get()->oldTotal, 69632u);
    QCOMPARE(window->session().comparison().get()->newTotal, 172032u);
    QCOMPARE(window->colours().colourMode(), TMColourMode::kChanges);
    QVERIFY(window->mapPane().view().fileColoring() != nullptr);
    QCOMPARE(window->mapPane().legend().texts(),
             QStringList({"New: 1", "Grew: 1", "Shrank: 0", "Unchanged", "Removed: 1 (no tile)",
                          "Stronger: a larger change, up to 60.0 KB"}));
    QVERIFY2(window->statusLine().fullText().contains(QString::fromUtf8("\u2014 +100.0 KB since ")),
             qPrintable(window->statusLine().fullText()));
    // The tile tells what it was.
    const QString grown = folder.filePath("keep/grow.bin");
    QString tip;
    TMTreeMapWidget& map = window->mapPane().map();
    for (int x = 2; x < map.width() && tip.isEmpty(); x += 6)
      for (int y = 2; y < map.height() && tip.isEmpty(); y += 6)
        if (map.toolTipAt({x, y}).startsWith(grown + "\n")) tip = map.toolTipAt({x, y});
    QVERIFY2(tip.endsWith("Was 40.0 KB, now 100.0 KB (+60.0 KB)"), qPrintable(tip));

    // The list's mode "Changes": largest first, the removed item without a tile.
    window->list().showChanges().trigger();
    TMFileList& list = window->list().list();
    QCOMPARE(list.model(), static_cast<QAbstractItemModel*>(&list.changesModel()));
    QAbstractItemModelTester tester(&list.changesModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(namesOf(list.changesModel()), QStringList({"keep/grow.bin", "new.bin", "gone.bin"}));
    const QModelIndex gone = list.changesModel().index(2, TMChangesModel::kChangeColumn);
    QCOMPARE(gone.data().toString(), QString::fromUtf8("\u221220.0 KB"));
    QVERIFY(!list.changesModel().hasTile(gone));
    QCOMPARE(gone.siblingAtColumn(TMChangesModel::kWhatColumn).data().toString(), QString("Removed"));

    // A row chosen selects its tile; moved to the trash, it is no longer new.
    list.setCurrentIndex(list.changesModel().index(1, 0));
    QCOMPARE(window->mapPane().view().selected()->url.path(), QFile::encodeName(folder.filePath("new.bin")).toStdString());
    window->controller().setAskBeforeTrash(false);
    window->mapCommands().moveToTrash().trigger();
    QTRY_COMPARE(window->session().comparison().get()->newItems, 0u);
    QCOMPARE(window->session().comparison().get()->newTotal, 110592u);

    // Another folder: the comparison and its colours go.
    QTemporaryDir other;
    window->controller().openURL(TMFileURL::fromPath(QFile::encodeName(other.path()).toStdString()));
    // The scan starts once the work on the old tree (the comparison started
    // again after the deletion) has stopped.
    QTRY_VERIFY(window->controller().scannedUrl() &&
                window->controller().scannedUrl()->path() == QFile::encodeName(other.path()).toStdString());
    QTRY_VERIFY(!window->controller().isScanning());
    QCOMPARE(window->session().comparison().get(), nullptr);
    QVERIFY(window->colours().colourMode() != TMColourMode::kChanges);
    QVERIFY(!window->list().showChanges().isEnabled());
    QCOMPARE(list.model(), static_cast<QAbstractItemModel*>(&list.treeModel()));
  }

  // Nothing is written to the history unless asked; then every completed
  // scan is, the user's alone, and earlier scans are offered to compare with.
  void keepsAHistoryOnlyWhenAsked() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.bin"), 4096);
    const TMScanHistory history(TMScanHistory::defaultStateHome());
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    QApplication::processEvents();
    QVERIFY(!QFile::exists(QFile::decodeName(QByteArray::fromStdString(history.folder()))));

    TMPreferences preferences = TMPreferences::load();
    preferences.keepHistory = true;
    preferences.save();
    TilemoraAppDelegate::applyPreferencesToWindows();  // as the Preferences dialog does
    window->mapCommands().rescan().trigger();
    QTRY_VERIFY(!window->controller().isScanning());
    const std::string path = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString();
    QTRY_COMPARE(history.scansOf(path).size(), size_t(1));
    QCOMPARE(QFileInfo(QFile::decodeName(QByteArray::fromStdString(history.scansOf(path)[0].file))).permissions() &
                 (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());
    // The shown scan itself is no earlier scan.
    window->compare().compareWith().aboutToShow();
    QCOMPARE(window->compare().compareWith().actions().size(), 1);
    QVERIFY(!window->compare().compareWith().actions()[0]->isEnabled());

    // An earlier one, with one file less, is offered and compared with.
    TMImportResult earlier = importText(R"([1,2,{},[{"name":"/x"}]])");
    std::string error;
    QVERIFY(history.save(*std::get<TMImportedScan>(earlier).root, {path, "t", "1", 86400, ""}, error));
    // Dated as the user's locale writes dates.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    window->compare().compareWith().aboutToShow();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(window->compare().compareWith().actions().size(), 1);
    QCOMPARE(window->compare().compareWith().actions()[0]->text(),
             "02.01.70 " + QDateTime::fromSecsSinceEpoch(86400).toString("HH:mm"));
    window->compare().compareWith().actions()[0]->trigger();
    QTRY_VERIFY(window->session().comparison().get() != nullptr);
    QCOMPARE(window->session().comparison().get()->newItems, 1u);
  }

  // A save that cannot be written (a FIFO nobody reads) keeps the window
  // answering, offers Stop, and stopped says it was not saved.
  void stopsASaveThatCannotBeWritten() {
    QTemporaryDir folder, files;
    writeFile(folder.filePath("a.bin"), 4096);
    const QByteArray fifo = QFile::encodeName(files.filePath("out.fifo"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(window->compare().saveScan().isEnabled());
    // The scan complete, nothing runs: neither Stop nor the bar shows.
    QVERIFY(!window->stopAction().isEnabled());
    QVERIFY(window->stopButton().isHidden());
    QVERIFY(window->progressBar().isHidden());
    window->compare().saveScan(fifo);
    QVERIFY(window->stopAction().isEnabled());
    QVERIFY(!window->stopButton().isHidden());
    QTest::qWait(100);  // still blocked, still offered
    QVERIFY(window->session().isSaving());
    QVERIFY(window->stopAction().isEnabled());
    window->stopAction().trigger();
    QTRY_VERIFY(!window->session().isSaving());
    QVERIFY(!window->stopAction().isEnabled());
    QVERIFY(window->stopButton().isHidden());
    QTRY_VERIFY(window->findChild<QMessageBox*>("warning") != nullptr);
    QCOMPARE(window->findChild<QMessageBox*>("warning")->text(),
             "Cannot save the scan to " + files.filePath("out.fifo") + ": stopped");
  }

  // Several saved scans side by side, under one root named after them.
  void importsSeveralScansAsOneMap() {
    QTemporaryDir files;
    const QStringList texts{R"([1,2,{"hostname":"web1"},[{"name":"/"},{"name":"a","dsize":4096}]])",
                            R"([1,2,{},[{"name":"/srv"},{"name":"b","dsize":8192}]])"};
    QList<QByteArray> paths;
    for (int i = 0; i < texts.size(); ++i) {
      QFile file(files.filePath(QString("db%1.json").arg(i)));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(texts[i].toUtf8());
      paths << QFile::encodeName(file.fileName());
    }
    TMMainWindow* window = delegate->openUntitledFile();
    window->importScans(paths);
    QTRY_VERIFY(window->mapPane().view().current() != nullptr);
    // Each scan named after where it came from; its paths read from there.
    QCOMPARE(window->mapPane().view().current()->url.path(), std::string("/db1:\u2215srv + web1:\u2215"));
    QCOMPARE(namesOf(window->list().list().treeModel()), QStringList({"db1:\u2215srv", "web1:\u2215"}));
    const QModelIndex first = window->list().list().treeModel().index(0, TMFileListModel::kNameColumn);
    QCOMPARE(first.data(Qt::AccessibleTextRole).toString(), QString("db1:/srv"));
    QVERIFY(window->statusLine().fullText().startsWith("12.0 KB"));
    QString tip;
    TMTreeMapWidget& map = window->mapPane().map();
    for (int x = 2; x < map.width() && tip.isEmpty(); x += 6)
      for (int y = 2; y < map.height() && tip.isEmpty(); y += 6)
        if (map.toolTipAt({x, y}).startsWith("db1:/srv/b\n")) tip = map.toolTipAt({x, y});
    QVERIFY2(!tip.isEmpty(), "no tile's tooltip reads db1:/srv/b");
    window->mapPane().view().selectURL(TMFileURL::fromPath("/db1:\u2215srv + web1:\u2215/db1:\u2215srv/b"));
    TMPathBar& pathBar = window->mapPane().pathBar();
    QTRY_COMPARE(pathBar.toolTip(), QString("db1:/srv/b"));
    QCOMPARE(pathBar.accessibleDescription(),
             QString("/ \u203A db1:\u2215srv + web1:\u2215 \u203A db1:/srv \u203A b"));
    // Copied as the path on the machine scanned, which no file here has.
    QMimeData* copied = nullptr;
    TMDesktopAccess desktop;
    desktop.setClipboard = [&](QMimeData* data) { delete copied, copied = data; };
    window->selection().setDesktopAccess(desktop);
    window->selection().copyPath().trigger();
    QVERIFY(copied != nullptr);
    QCOMPARE(copied->text(), QString("db1:/srv/b"));
    QVERIFY(!copied->hasUrls());
    delete copied;
  }

  // At the default size with the list shown, in each language: in each
  // mode with a legend, no entry prints over another and all lie within
  // the legend, what was cut short being whole in the tooltip; in each of
  // the list's modes (one beside each colour mode), every column shows
  // without scrolling sideways.
  void legendAndListReadableAtTheDefaultSize_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("listMode");
    for (const char* language : {"en", "de", "fr"}) {
      QTest::addRow("%s by type, the tree", language)
          << QString(language) << int(TMColourMode::kFileType) << int(TMFileList::Mode::kTree);
      QTest::addRow("%s by age, the largest files", language)
          << QString(language) << int(TMColourMode::kAge) << int(TMFileList::Mode::kLargestFiles);
      QTest::addRow("%s by change, the changes", language)
          << QString(language) << int(TMColourMode::kChanges) << int(TMFileList::Mode::kChanges);
    }
  }
  void legendAndListReadableAtTheDefaultSize() {
    QFETCH(QString, language);
    QFETCH(int, mode);
    QFETCH(int, listMode);
    QTranslator translator;
    if (language != "en") {
      QVERIFY(translator.load(QLocale(language), "tilemora", "_", ":/i18n"));
      QApplication::installTranslator(&translator);
    }
    // A file of every type, of every age.
    QTemporaryDir folder, files;
    const QStringList names{"a.jpg", "b.mp4", "c.mp3", "d.pdf", "e.gz", "f.cpp", "g.so", "h.xyz", "i.png"};
    for (int i = 0; i < names.size(); ++i) {
      const QString path = folder.filePath(names[i]);
      writeFile(path, 4096 * (i + 1));
      const timespec ages[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - (time_t(1) << (2 * i + 12)), 0}};
      QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), ages, 0), 0);
    }
    // A window of the default size on a 1280 × 900 screen.
    TMMainWindow* window = delegate->openUntitledFile();
    window->resize(1000, 720);
    window->show();
    window->list().showList().setChecked(true);
    window->controller().openURL(TMFileURL::fromPath(folder.path().toStdString()));
    QTRY_VERIFY(window->compare().saveScan().isEnabled());
    if (TMColourMode(mode) == TMColourMode::kChanges) {
      window->compare().saveScan(QFile::encodeName(files.filePath("saved.json")));
      QTRY_VERIFY(!window->session().isSaving());
      // A change or two for the list to show.
      writeFile(folder.filePath("a.jpg"), 40960);
      writeFile(folder.filePath("new.bin"), 8192);
      window->mapCommands().rescan().trigger();
      QTRY_VERIFY(!window->controller().isScanning());
      QTRY_VERIFY(window->compare().saveScan().isEnabled());
      window->compare().compareWithSavedScan(QFile::encodeName(files.filePath("saved.json")));
      QTRY_VERIFY(window->session().comparison().get() != nullptr);
    }
    for (QAction* action : window->colours().colourByActions().actions())
      if (action->data().toInt() == mode) action->trigger();
    const TMColourLegend& legend = window->mapPane().legend();
    QTRY_VERIFY(legend.isVisible() && legend.texts().size() >= 4);
    QTest::qWait(50);  // laid out
    const std::vector<QRect> entries = legend.entryGeometries();
    QCOMPARE(int(entries.size()), legend.texts().size());
    for (size_t i = 0; i < entries.size(); ++i) {
      QVERIFY2(legend.rect().contains(entries[i]), qPrintable(legend.texts()[int(i)] + " lies outside"));
      for (size_t j = i + 1; j < entries.size(); ++j)
        QVERIFY2(!entries[i].intersects(entries[j]),
                 qPrintable(legend.texts()[int(i)] + " overlaps " + legend.texts()[int(j)]));
    }
    for (const QString& text : legend.texts()) QVERIFY(legend.toolTip().contains(text));
    // Every entry is narrower than the map here: each shows its words whole.
    for (const TMElidingLabel* words : legend.findChildren<TMElidingLabel*>())
      QVERIFY2(words->text() == words->fullText(), qPrintable(words->fullText() + " shows as " + words->text()));

    TMFileList& list = window->list().list();
    if (TMFileList::Mode(listMode) == TMFileList::Mode::kLargestFiles) window->list().largestFiles().trigger();
    if (TMFileList::Mode(listMode) == TMFileList::Mode::kChanges) window->list().showChanges().trigger();
    QTRY_COMPARE(int(list.mode()), listMode);
    QTest::qWait(50);
    QCOMPARE(list.horizontalScrollBar()->maximum(), 0);
    const QHeaderView& header = *list.header();
    for (int column = 0; column < header.count(); ++column) {
      const QString title = list.model()->headerData(column, Qt::Horizontal).toString();
      QVERIFY2(header.sectionSize(column) >= header.fontMetrics().horizontalAdvance(title), qPrintable(title));
      QVERIFY2(header.sectionViewportPosition(column) + header.sectionSize(column) <= list.viewport()->width(),
               qPrintable(title + " lies beyond the list's edge"));
    }
    QVERIFY(header.sectionSize(0) >= 80);  // the names keep room to be read
    // The columns beside the names show their cells whole.
    QVERIFY(list.model()->rowCount() > 0);
    for (int row = 0; row < list.model()->rowCount(); ++row) {
      for (int column = 1; column < header.count(); ++column) {
        if (header.sectionResizeMode(column) == QHeaderView::Stretch) continue;  // a folder's path may be cut
        const QString text = list.model()->index(row, column).data().toString();
        QVERIFY2(list.fontMetrics().horizontalAdvance(text) < header.sectionSize(column), qPrintable(text));
      }
    }
    QApplication::removeTranslator(&translator);
  }

 private:
  static QStringList namesOf(const QAbstractItemModel& model) {
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row) names << model.index(row, 0).data().toString();
    return names;
  }
  static TMImportResult importText(std::string text) {
    std::FILE* input = ::fmemopen(text.data(), text.size(), "r");
    TMImportResult result = importNcduExport(input);
    std::fclose(input);
    return result;
  }
  static void writeFile(const QString& path, int bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
  }

  std::shared_ptr<TMQtMainQueue> queue;
  std::unique_ptr<TilemoraAppDelegate> delegate;
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A trash and a history of the tests' own.
  QTemporaryDir data, state;
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  QApplication application(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication::setOrganizationName("TilemoraCompareTests");
  TMCompareWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "TMCompareTests.moc"
