// SPDX-License-Identifier: GPL-3.0-or-later
// The list beside the map: its model over scanned trees (checked by Qt's
// own model tester), sorting, the largest files, deletion, the window
// keeping list and map in step, and the commands on a selection with a
// fake desktop.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QMessageBox>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTreeWidget>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/layout/TMLayoutBuilding.h"
#include "colours/TMColourLegend.h"
#include "list/TMChangesModel.h"
#include "list/TMFileList.h"
#include "colours/TMFileTypesWindow.h"
#include "find/TMFindBar.h"
#include "window/TMElidingLabel.h"
#include "list/TMFileListModel.h"
#include "list/TMLargestFilesModel.h"
#include "actions/TMSelectionCommands.h"
#include "colours/TMColoursFeature.h"
#include "compare/TMCompareFeature.h"
#include "find/TMFindFeature.h"
#include "list/TMListFeature.h"
#include "map/TMMapCommands.h"
#include "window/TMMainWindow.h"
#include "map/TMMapPane.h"
#include "TMQtMainQueue.h"
#include "actions/TMSelectionActions.h"
#include "TMTranslations.h"
#include "map/TMTreeMapWidget.h"
#include "TilemoraAppDelegate.h"
#include "core/drawing/TMFileTypes.h"
#include "core/filetree/TMFileTreePath.h"
#include "core/filetree/TMFolderTree.h"
#include "core/filetree/TMTreeSearch.h"
#include "core/filetree/TMVolume.h"
#include "core/layout/TMLayoutNode.h"
#include "core/scan/TMScanTask.h"
#include "import/TMTreeComparison.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"

using namespace tilemora;
Q_DECLARE_METATYPE(tilemora::TMFileURL)
using E = test::TMMemoryEntry;

namespace {

// R: A (a1 40, a2 10), b 30, c 5, D (d1 20, E (e1 1)).
E sample() {
  return E::directory("R", {E::directory("A", {E::file("a1", 40), E::file("a2", 10)}), E::file("b", 30),
                            E::file("c", 5),
                            E::directory("D", {E::file("d1", 20), E::directory("E", {E::file("e1", 1)})})});
}

std::shared_ptr<TMFileTree> scanned(E tree, const std::string& path = "/R", TMFileSystemSizes sizes = {}) {
  auto fileSystem = std::make_shared<test::TMMemoryFileSystem>(std::move(tree));
  fileSystem->sizes = sizes;
  return test::scanToEnd(path, fileSystem).root;
}

QStringList namesOf(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
  QStringList names;
  for (int row = 0; row < model.rowCount(parent); ++row) names << model.index(row, 0, parent).data().toString();
  return names;
}

// Visits every row, so that the tester sees every folder's rows made.
void expandAll(QAbstractItemModel& model, const QModelIndex& parent = {}) {
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    for (int column = 0; column < model.columnCount(parent); ++column) model.index(row, column, parent).data();
    if (model.hasChildren(index)) expandAll(model, index);
  }
}

void deleteFromTree(const std::shared_ptr<TMFileTree>& tree, TMFileListModel& model, const std::string& path) {
  const TMFileTreePath resolved = TMFileTreePath::resolve(*tree, TMFileURL::fromPath(path).pathComponents(), 1);
  TMFileTree::deleteNodeOnPath(resolved, [](const TMFileURL&) { return TMTrashResult{true, {}}; });
  model.noteDeleted(*resolved.target());
}

}  // namespace

class TMFileListModelTest : public QObject {
  Q_OBJECT

 private slots:
  void aScannedTreePassesTheModelTesterExpandedSortedAndDeletedFrom() {
    std::shared_ptr<TMFileTree> tree = scanned(sample());
    TMFileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setTree(tree, TMFileURL::fromPath("/R"), false);
    expandAll(model);
    QCOMPARE(namesOf(model), QStringList({"A", "b", "D", "c"}));  // largest first, as the tree
    for (int column = 0; column < TMFileListModel::kColumnCount; ++column) {
      model.sort(column, Qt::AscendingOrder);
      model.sort(column, Qt::DescendingOrder);
    }
    deleteFromTree(tree, model, "/R/D/E/e1");
    deleteFromTree(tree, model, "/R/A");
    QCOMPARE(namesOf(model), QStringList({"b", "c", "D"}));  // newest first, the folder without a date last
    expandAll(model);
  }

  void aTreeBeingScannedShowsItsTopLevelOnly() {
    std::shared_ptr<TMFileTree> tree = scanned(sample());
    TMFileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setTree(tree, TMFileURL::fromPath("/R"), true);
    QCOMPARE(namesOf(model), QStringList({"A", "b", "D", "c"}));
    QVERIFY(!model.hasChildren(model.index(0, 0)));
    QCOMPARE(model.index(0, TMFileListModel::kFilesColumn).data().toString(), QString());
    model.refresh();
    QCOMPARE(model.rowCount(), 4);
    model.setTree(tree, TMFileURL::fromPath("/R"), false);
    QVERIFY(model.hasChildren(model.index(0, 0)));
  }

  void sortsEveryFolderByAColumn_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("top");
    QTest::addColumn<QStringList>("inD");
    QTest::newRow("name ascending") << int(TMFileListModel::kNameColumn) << int(Qt::AscendingOrder)
                                    << QStringList{"A", "b", "c", "D"} << QStringList{"d1", "E"};
    QTest::newRow("name descending") << int(TMFileListModel::kNameColumn) << int(Qt::DescendingOrder)
                                     << QStringList{"D", "c", "b", "A"} << QStringList{"E", "d1"};
    QTest::newRow("size ascending") << int(TMFileListModel::kSizeColumn) << int(Qt::AscendingOrder)
                                    << QStringList{"c", "D", "b", "A"} << QStringList{"E", "d1"};
    QTest::newRow("share descending") << int(TMFileListModel::kShareColumn) << int(Qt::DescendingOrder)
                                      << QStringList{"A", "b", "D", "c"} << QStringList{"d1", "E"};
    QTest::newRow("files descending") << int(TMFileListModel::kFilesColumn) << int(Qt::DescendingOrder)
                                      << QStringList{"A", "D", "b", "c"} << QStringList{"E", "d1"};
    // Folders have no date: they come first, in the order they had.
    QTest::newRow("modified ascending") << int(TMFileListModel::kModifiedColumn) << int(Qt::AscendingOrder)
                                        << QStringList{"A", "D", "c", "b"} << QStringList{"E", "d1"};
  }
  void sortsEveryFolderByAColumn() {
    QFETCH(int, column);
    QFETCH(int, order);
    TMFileListModel model;
    model.setTree(scanned(sample()), TMFileURL::fromPath("/R"), false);
    const QPersistentModelIndex d1 = model.indexOf(TMFileURL::fromPath("/R/D/d1"));
    model.sort(column, Qt::SortOrder(order));
    QTEST(namesOf(model), "top");
    QTEST(namesOf(model, model.indexOf(TMFileURL::fromPath("/R/D"))), "inD");
    QCOMPARE(model.urlOf(d1).path(), std::string("/R/D/d1"));  // a kept row follows its item
  }

  void rowsAreFoundByPathAndShareTheirFolder() {
    TMFileListModel model;
    model.setTree(scanned(sample()), TMFileURL::fromPath("/R"), false);
    const QModelIndex a = model.indexOf(TMFileURL::fromPath("/R/A"));
    QCOMPARE(model.urlOf(model.index(1, 0, a)).path(), std::string("/R/A/a2"));
    QCOMPARE(a.siblingAtColumn(TMFileListModel::kShareColumn).data(TMFileListModel::kShareRole).toDouble(),
             50.0 / 106.0);
    QCOMPARE(a.siblingAtColumn(TMFileListModel::kShareColumn).data().toString(), QString("47.2 %"));
    QVERIFY(!model.indexOf(TMFileURL::fromPath("/R")).isValid());  // the scanned folder is no row
    QVERIFY(!model.indexOf(TMFileURL::fromPath("/R/missing")).isValid());
  }

  void aVolumeListsItsFreeAndUnscannedSpace() {
    TMFileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // 1 MiB volume, 512 KiB free: 106 blocks scanned, the rest unscanned
    // (measured when the map is laid out, as the window always does first).
    std::shared_ptr<TMFileTree> volume = scanned(sample(), "/", {1 << 20, 1 << 19});
    createLayoutTree(*volume, 65536, 0);
    model.setTree(volume, TMFileURL::fromPath("/"), false);
    const QString free = QString::fromUtf8(volume->asVolume()->emptySpace()->filename());
    const QString unscanned = QString::fromUtf8(volume->asVolume()->unscannedSpace()->filename());
    QCOMPARE(namesOf(model), QStringList({free, unscanned, "A", "b", "D", "c"}));
    // Shares at the top are of the volume, then, without its space, of the folder.
    const auto shareOfA = [&] {
      return model.index(namesOf(model).indexOf("A"), 0).siblingAtColumn(TMFileListModel::kShareColumn).data(
          TMFileListModel::kShareRole).toDouble();
    };
    QCOMPARE(shareOfA(), 50.0 * 512 / double(1 << 20));
    model.setShowsSpace(false);
    QCOMPARE(namesOf(model), QStringList({"A", "b", "D", "c"}));
    QCOMPARE(shareOfA(), 50.0 / 106.0);
  }

  // The cells that carry meaning, for each kind of row of a volume: a
  // file, a folder, an empty file, a folder of empty files, the volume's
  // free and unscanned space. "<date>" and "<time>" stand for b's date,
  // short, and with its time.
  void cellsOfEachKindOfRow_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("expected");
    const int shown = Qt::DisplayRole, tip = Qt::ToolTipRole, aligned = Qt::TextAlignmentRole;
    const QString right = QString::number(int(Qt::AlignRight | Qt::AlignVCenter));
    using M = TMFileListModel;
    const struct {
      const char* name;
      const char* row;
      int column, role;
      QString expected;
    } cases[] = {
        {"file name", "b", M::kNameColumn, shown, "b"},
        {"file size", "b", M::kSizeColumn, shown, "15.0 KB"},
        {"file bytes", "b", M::kSizeColumn, tip, "15,360 bytes"},
        {"file share of the volume", "b", M::kShareColumn, shown, "1.5 %"},
        {"file counts no files", "b", M::kFilesColumn, shown, ""},
        {"file date", "b", M::kModifiedColumn, shown, "<date>"},
        {"file date and time", "b", M::kModifiedColumn, tip, "<time>"},
        {"file size right-aligned", "b", M::kSizeColumn, aligned, right},
        {"file name left-aligned", "b", M::kNameColumn, aligned, "0"},
        {"folder size", "A", M::kSizeColumn, shown, "25.0 KB"},
        {"folder files", "A", M::kFilesColumn, shown, "2"},
        {"folder files, deeper", "D", M::kFilesColumn, shown, "2"},
        {"folder without a date", "A", M::kModifiedColumn, shown, ""},
        {"folder without a date's time", "A", M::kModifiedColumn, tip, ""},
        {"free space size", "free", M::kSizeColumn, shown, "512.0 KB"},
        {"free space share", "free", M::kShareColumn, shown, "50.0 %"},
        {"free space counts no files", "free", M::kFilesColumn, shown, ""},
        {"free space has no date", "free", M::kModifiedColumn, shown, ""},
        {"unscanned size", "unscanned", M::kSizeColumn, shown, "459.0 KB"},
        {"unscanned bytes", "unscanned", M::kSizeColumn, tip, "470,016 bytes"},
        {"unscanned counts no files", "unscanned", M::kFilesColumn, shown, ""},
        {"empty file size", "zeros/z", M::kSizeColumn, shown, "0 bytes"},
        {"empty file share of nothing", "zeros/z", M::kShareColumn, shown, "0.0 %"},
        {"folder of empty files counts them", "zeros", M::kFilesColumn, shown, "1"},
        {"folder of empty files share", "zeros", M::kShareColumn, shown, "0.0 %"},
        {"folder not listed yet counts nothing", "later", M::kFilesColumn, shown, ""},
        {"folder listed counts its files", "sooner", M::kFilesColumn, shown, "1"},
    };
    for (const auto& c : cases) QTest::newRow(c.name) << QString(c.row) << c.column << c.role << c.expected;
  }
  void cellsOfEachKindOfRow() {
    QFETCH(QString, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QString, expected);
    // 1 MiB volume, 512 KiB free, 106 blocks scanned.
    E tree = sample();
    tree.children.push_back(E::directory("zeros", {E::file("z", 0)}));
    // Two alike, one of them not listed yet (a saved scan read a folder at a time).
    tree.children.push_back(E::directory("later", {E::file("l", 0)}));
    tree.children.push_back(E::directory("sooner", {E::file("s", 0)}));
    std::shared_ptr<TMFileTree> volume = scanned(tree, "/", {1 << 20, 1 << 19});
    const TMChildList* top = volume->asVolume()->child()->children();
    for (uint32_t i = 0; i < top->count(); ++i) {
      if (top->at(i)->filename() == "later") top->at(i)->asFolder()->markCutShort();
    }
    createLayoutTree(*volume, 65536, 0);
    TMFileListModel model;
    model.setTree(volume, TMFileURL::fromPath("/"), false);
    const TMVolume& space = *volume->asVolume();
    const QString name = row == "free"        ? QString::fromUtf8(space.emptySpace()->filename())
                         : row == "unscanned" ? QString::fromUtf8(space.unscannedSpace()->filename())
                                              : QString();
    const QModelIndex at = name.isEmpty() ? model.indexOf(TMFileURL::fromPath("/" + row.toStdString()))
                                          : model.index(namesOf(model).indexOf(name), 0);
    QVERIFY2(at.isValid(), qPrintable(row));
    const QVariant data = at.siblingAtColumn(column).data(role);
    const QDateTime b = QDateTime::fromSecsSinceEpoch(1700000000 + 60 * 30);  // the memory file system's date of b
    if (expected == "<date>") expected = QLocale().toString(b.date(), QLocale::ShortFormat);
    if (expected == "<time>") expected = QLocale().toString(b, QLocale::LongFormat);
    QCOMPARE(role == Qt::TextAlignmentRole ? QString::number(data.toInt()) : data.toString(), expected);
  }

  // The list of changes: each kind of row's cells. A blank cell has no tip.
  void cellsOfEachKindOfChange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("expected");
    using M = TMChangesModel;
    const int shown = Qt::DisplayRole, tip = Qt::ToolTipRole, font = Qt::FontRole;
    const QString minus = QString(QChar(0x2212));
    const struct {
      const char* name;
      int row, column, role;
      QString expected;
    } cases[] = {
        {"grown: change", 0, M::kChangeColumn, shown, "+60.0 KB"},
        {"grown: was", 0, M::kOldColumn, shown, "40.0 KB"},
        {"grown: now", 0, M::kNewColumn, shown, "100.0 KB"},
        {"grown: now exactly", 0, M::kNewColumn, tip, "102,400 bytes"},
        {"grown: was exactly", 0, M::kOldColumn, tip, "40,960 bytes"},
        {"grown: what", 0, M::kWhatColumn, shown, "Grew"},
        {"grown: upright", 0, M::kNameColumn, font, "false"},
        {"grown: its path", 0, M::kNameColumn, tip, "/R/keep/grow.bin"},
        {"new: change", 1, M::kChangeColumn, shown, "+60.0 KB"},
        {"new: was nothing", 1, M::kOldColumn, shown, ""},
        {"new: was, no tip", 1, M::kOldColumn, tip, ""},
        {"new: now", 1, M::kNewColumn, shown, "60.0 KB"},
        {"new: what", 1, M::kWhatColumn, shown, "New"},
        {"new: upright", 1, M::kNameColumn, font, "false"},
        {"removed: change", 2, M::kChangeColumn, shown, minus + "20.0 KB"},
        {"removed: was", 2, M::kOldColumn, shown, "20.0 KB"},
        {"removed: now nothing", 2, M::kNewColumn, shown, ""},
        {"removed: now, no tip", 2, M::kNewColumn, tip, ""},
        {"removed: what", 2, M::kWhatColumn, shown, "Removed"},
        {"removed: in italics", 2, M::kNameColumn, font, "true"},
        {"removed: no longer there", 2, M::kNameColumn, tip, "/R/gone (no longer there)"},
        {"shrunk: change", 3, M::kChangeColumn, shown, minus + "4.0 KB"},
        {"shrunk: now", 3, M::kNewColumn, shown, "4.0 KB"},
        {"shrunk: what", 3, M::kWhatColumn, shown, "Shrank"},
    };
    for (const auto& c : cases) QTest::newRow(c.name) << c.row << c.column << c.role << c.expected;
  }
  void cellsOfEachKindOfChange() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QString, expected);
    auto comparison = std::make_shared<TMTreeComparison>();
    comparison->largest = {{"keep/grow.bin", 40960, 102400, TMChangeKind::kGrew, false, nullptr},
                           {"new.bin", 0, 61440, TMChangeKind::kNew, false, nullptr},
                           {"gone", 20480, 0, TMChangeKind::kRemoved, true, nullptr},
                           {"keep/shrink.bin", 8192, 4096, TMChangeKind::kShrank, false, nullptr}};
    TMChangesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setComparison(comparison, TMFileURL::fromPath("/R"));
    const QVariant data = model.index(row, column).data(role);
    QCOMPARE(role == Qt::FontRole ? QString(data.isValid() && data.value<QFont>().italic() ? "true" : "false")
                                  : data.toString(),
             expected);
    QCOMPARE(model.hasTile(model.index(row, column)), row != 2);
  }

  // The types window's rows: categories and their extensions, none
  // without files, an empty file's category among them.
  void theTypesTableTellsEachRow_data() {
    QTest::addColumn<QString>("row");  // category, or category/extension
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");
    const struct {
      const char* name;
      const char* row;
      int column;
      const char* expected;
    } cases[] = {
        {"a category's size", "Images", 1, "26.0 KB"},
        {"a category's files", "Images", 2, "3"},
        {"a category's share", "Images", 3, "69.3 %"},
        {"an extension of any case", "Images/.png", 2, "2"},
        {"an extension's share", "Images/.jpg", 3, "5.3 %"},
        {"an extension of another category", "Documents/.txt", 1, "10.0 KB"},
        {"no extension", "Other/(no extension)", 2, "1"},
        {"empty files only", "Archives and packages", 3, "0.0 %"},
        {"empty files only, their extension", "Archives and packages/.zip", 1, "0 bytes"},
    };
    for (const auto& c : cases) QTest::newRow(c.name) << c.row << c.column << c.expected;
  }
  void theTypesTableTellsEachRow() {
    QFETCH(QString, row);
    QFETCH(int, column);
    std::shared_ptr<TMFileTree> tree = scanned(E::directory(
        "R", {E::file("a.png", 40), E::file("b.PNG", 8), E::file("c.jpg", 4), E::file("notes.txt", 20),
              E::directory("d", {E::file("README", 3), E::file("empty.zip", 0)})}));
    TMFileTypesWindow window;
    window.showStatistics(typeStatisticsOf(*tree), "R");
    QTreeWidget& table = window.table();
    const QStringList path = row.split('/');
    QTreeWidgetItem* found = nullptr;
    for (int i = 0; i < table.topLevelItemCount(); ++i)
      if (table.topLevelItem(i)->text(0) == path[0]) found = table.topLevelItem(i);
    QVERIFY2(found, qPrintable(path[0]));
    if (path.size() > 1) {
      QTreeWidgetItem* category = std::exchange(found, nullptr);
      for (int i = 0; i < category->childCount(); ++i)
        if (category->child(i)->text(0) == path[1]) found = category->child(i);
      QVERIFY2(found, qPrintable(row));
      QCOMPARE(category->childCount(), row.startsWith("Images") ? 2 : 1);  // its own extensions only
    }
    QTEST(found->text(column), "expected");
  }

  // What a row of the types window picks out on the map.
  void aTypeChosenPicksOutItsFiles_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("category");
    QTest::addColumn<QByteArray>("extension");  // empty: the whole category
    QTest::addColumn<bool>("picked");
    const int images = int(TMFileCategory::kImages), other = int(TMFileCategory::kOther);
    QTest::newRow("the category, one extension") << QByteArray("a.png") << images << QByteArray() << true;
    QTest::newRow("the category, another") << QByteArray("c.JPG") << images << QByteArray() << true;
    QTest::newRow("the category, not of it") << QByteArray("notes.txt") << images << QByteArray() << false;
    QTest::newRow("the extension, any case") << QByteArray("b.PNG") << images << QByteArray("png") << true;
    QTest::newRow("the extension, another of its category") << QByteArray("c.jpg") << images << QByteArray("png")
                                                            << false;
    QTest::newRow("no extension, chosen") << QByteArray("README") << other << QByteArray("") << true;
  }
  void aTypeChosenPicksOutItsFiles() {
    QFETCH(QByteArray, name);
    QFETCH(int, category);
    QFETCH(QByteArray, extension);
    TMFileTypeChoice choice{TMFileCategory(category), std::nullopt};
    if (!extension.isNull()) choice.extension = extension.toStdString();
    QTEST(isOfChoice(name.toStdString(), choice), "picked");
  }

  void largestFilesAreFlatWithTheirFolders() {
    std::shared_ptr<TMFileTree> tree = scanned(sample());
    TMLargestFilesModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setFolder(tree, tree.get(), TMFileURL::fromPath("/R"));
    QCOMPARE(namesOf(model), QStringList({"a1", "b", "d1", "a2", "c", "e1"}));
    QCOMPARE(model.index(0, TMLargestFilesModel::kFolderColumn).data().toString(), QString("A"));
    QCOMPARE(model.urlOf(model.index(5, 0)).path(), std::string("/R/D/E/e1"));
    QCOMPARE(model.indexOf(TMFileURL::fromPath("/R/D/E/e1")).row(), 5);
    // A folder deleted takes its files' rows along.
    const TMFileTreePath folderA = TMFileTreePath::resolve(*tree, {"/", "R", "A"}, 1);
    TMFileTree::deleteNodeOnPath(folderA, [](const TMFileURL&) { return TMTrashResult{true, {}}; });
    model.noteDeleted(*folderA.target());
    QCOMPARE(namesOf(model), QStringList({"b", "d1", "c", "e1"}));
  }
};

class TMFileListWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    installTranslations();
    queue = std::make_shared<TMQtMainQueue>(qApp);
    delegate = std::make_unique<TilemoraAppDelegate>(queue);
  }
  void cleanup() {
    QApplication::closeAllWindows();
    QApplication::processEvents();
    QVERIFY(TMScanTask::waitForAllScans(std::chrono::seconds(10)));
    QApplication::processEvents();
  }

  void listAndMapFollowEachOther() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("inner/deeper"));
    writeFile(folder.filePath("inner/deeper/x.bin"), 40000);
    writeFile(folder.filePath("inner/y.bin"), 20000);
    writeFile(folder.filePath("z.bin"), 10000);
    TMMainWindow* window = delegate->openFile(folder.path());
    window->resize(1000, 700);
    window->show();
    QTRY_VERIFY(!window->controller().isScanning());
    TMFileList& list = window->list().list();
    TMTreeMapView& view = window->mapPane().view();
    QVERIFY(list.isVisible());
    const std::string base = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString();

    // The list taking the focus chooses nothing by itself.
    window->activateWindow();
    list.setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&list));
    QCOMPARE(view.selected(), nullptr);
    // A row chosen selects its tile.
    list.setCurrentIndex(list.indexOf(TMFileURL::fromPath(base + "/z.bin")));
    QVERIFY(view.selected() != nullptr);
    QCOMPARE(view.selected()->url.path(), base + "/z.bin");
    // A tile selected makes its row current, its folders expanded.
    view.selectURL(TMFileURL::fromPath(base + "/inner/deeper/x.bin"));
    QTRY_VERIFY(!view.isLocked());
    QCOMPARE(list.urlOf(list.currentIndex()).path(), base + "/inner/deeper/x.bin");
    QVERIFY(list.isExpanded(list.indexOf(TMFileURL::fromPath(base + "/inner/deeper"))));
    // Tab goes from the map, something selected, to the list and back.
    TMTreeMapWidget& map = window->mapPane().map();
    window->activateWindow();
    map.setFocus();
    QTest::keyClick(&map, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&list));
    QTest::keyClick(&list, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&map));
    // A double-clicked folder row narrows the map onto it.
    emit list.doubleClicked(list.indexOf(TMFileURL::fromPath(base + "/inner")));
    QTRY_VERIFY(!view.isLocked());
    QCOMPARE(view.current()->url.path(), base + "/inner");
    // F9 hides the list and remembers it.
    window->list().showList().trigger();
    QVERIFY(!list.isVisible());
    QCOMPARE(QSettings().value("list/shown").toBool(), false);
    window->list().showList().trigger();
    QVERIFY(list.isVisible());
    // The largest files of the shown folder.
    window->list().largestFiles().trigger();
    QCOMPARE(namesOf(*list.model()), QStringList({"x.bin", "y.bin"}));
    window->list().largestFiles().trigger();
    QCOMPARE(list.model(), static_cast<QAbstractItemModel*>(&list.treeModel()));
    // Move to Trash from the list: the row goes, the folder's share follows.
    window->controller().setAskBeforeTrash(false);
    list.setCurrentIndex(list.indexOf(TMFileURL::fromPath(base + "/inner/y.bin")));
    window->mapCommands().moveToTrash().trigger();
    QVERIFY(!QFile::exists(folder.filePath("inner/y.bin")));
    QVERIFY(!list.indexOf(TMFileURL::fromPath(base + "/inner/y.bin")).isValid());
    QVERIFY(view.selected() == nullptr);  // and no row looks chosen either
    QVERIFY(!list.currentIndex().isValid());
    QVERIFY(list.selectionModel()->selectedIndexes().isEmpty());
    QCOMPARE(namesOf(list.treeModel(), list.indexOf(TMFileURL::fromPath(base + "/inner"))), QStringList{"deeper"});
    const QModelIndex inner = list.indexOf(TMFileURL::fromPath(base + "/inner"));
    QCOMPARE(inner.siblingAtColumn(TMFileListModel::kFilesColumn).data().toString(), QString("1"));
  }

  // Rows chosen together select their tiles together: Ctrl+A, Shift and
  // the arrows, Esc to let go; Move to Trash then takes them all.
  void severalRowsSelectSeveralTilesAndGoTogether() {
    QTemporaryDir folder;
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) writeFile(folder.filePath(name), 30000);
    TMMainWindow* window = delegate->openFile(folder.path());
    window->resize(1000, 700);
    window->show();
    QTRY_VERIFY(!window->controller().isScanning());
    TMFileList& list = window->list().list();
    TMTreeMapView& view = window->mapPane().view();
    const std::string base = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString();
    window->activateWindow();
    list.setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&list));
    list.setCurrentIndex(list.indexOf(TMFileURL::fromPath(base + "/a.bin")));
    QTest::keyClick(&list, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selectedItems().size(), 2u);
    QCOMPARE(view.selected()->url.path(), base + "/b.bin");  // the current row is the main item
    QTest::keyClick(&list, Qt::Key_Escape);
    QVERIFY(view.selectedItems().empty());
    QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(view.selectedItems().size(), 3u);
    QVERIFY2(window->statusLine().fullText().startsWith("3 items selected: "), qPrintable(window->statusLine().fullText()));
    window->controller().setAskBeforeTrash(false);
    window->mapCommands().moveToTrash().trigger();
    QTRY_VERIFY(!QFile::exists(folder.filePath("a.bin")) && !QFile::exists(folder.filePath("c.bin")));
    QVERIFY(!QFile::exists(folder.filePath("b.bin")));
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), 0u);
    QCOMPARE(list.treeModel().rowCount(list.indexOf(TMFileURL::fromPath(base))), 0);
  }

  // A right click acts on the row under the pointer, the first row too,
  // in each mode of the list, its header shown above the rows.
  void aRightClickActsOnTheRowUnderThePointer_data() {
    QTest::addColumn<bool>("largestFiles");
    QTest::newRow("tree") << false;
    QTest::newRow("largest files") << true;
  }
  void aRightClickActsOnTheRowUnderThePointer() {
    QFETCH(bool, largestFiles);
    QTemporaryDir folder;
    for (int i = 1; i <= 3; ++i) writeFile(folder.filePath(QString("file%1").arg(i)), i * 10000);
    TMMainWindow* window = delegate->openFile(folder.path());
    window->resize(1000, 700);
    window->show();
    QTRY_VERIFY(!window->controller().isScanning());
    if (largestFiles) window->list().largestFiles().trigger();
    TMFileList& list = window->list().list();
    QVERIFY(!list.header()->isHidden() && list.header()->height() > 0);
    QSignalSpy wanted(&list, &TMFileList::menuWanted);
    const QAbstractItemModel& model = *list.model();
    QCOMPARE(model.rowCount(), 3);
    for (int row = 0; row < model.rowCount(); ++row) {
      const QModelIndex index = model.index(row, 0);
      QContextMenuEvent click(QContextMenuEvent::Mouse, list.visualRect(index).center(), QCursor::pos());
      QApplication::sendEvent(list.viewport(), &click);
      QCOMPARE(wanted.size(), row + 1);
      QCOMPARE(wanted.last().at(0).value<TMFileURL>().path(), list.urlOf(index).path());
      QCOMPARE(window->mapPane().view().selected()->url.path(), list.urlOf(index).path());
    }
    for (QMenu* menu : window->findChildren<QMenu*>()) menu->close();
  }

  void colourByReachesEveryWindowWithALegend() {
    QTemporaryDir folder;
    writeFile(folder.filePath("tool.bin"), 40960);
    writeFile(folder.filePath("notes.txt"), 20480);
    TMMainWindow* first = delegate->openFile(folder.path());
    TMMainWindow* second = delegate->openUntitledFile();
    QTRY_VERIFY(!first->controller().isScanning());
    auto choose = [&](TMColourMode mode) {
      for (QAction* action : first->colours().colourByActions().actions())
        if (TMColourMode(action->data().toInt()) == mode) action->trigger();
    };
    choose(TMColourMode::kFileType);
    for (TMMainWindow* window : {first, second}) {
      QCOMPARE(window->colours().colourMode(), TMColourMode::kFileType);
      QVERIFY(window->mapPane().view().fileColoring() != nullptr);
    }
    QCOMPARE(QSettings().value("preferences/colourBy").toString(), QString("type"));
    QCOMPARE(first->mapPane().legend().texts(),
             QStringList({"Programs and libraries 66.7 %", "Documents 33.3 %"}));
    choose(TMColourMode::kAge);  // files written a moment ago
    QCOMPARE(first->mapPane().legend().texts(), QStringList({"Today 100.0 %"}));
    QCOMPARE(QSettings().value("preferences/colourBy").toString(), QString("age"));
    choose(TMColourMode::kDepth);
    QCOMPARE(second->mapPane().view().fileColoring(), nullptr);
    QVERIFY(first->mapPane().legend().isHidden());
  }

  // At the default width with the list shown, in each language: the field
  // keeps room for a pattern, an error beside it does not take it, and the
  // bar opens and closes over the map without moving it.
  void theFindBarFloatsAndKeepsItsField_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("German") << "de";
    QTest::newRow("French") << "fr";
  }
  void theFindBarFloatsAndKeepsItsField() {
    QFETCH(QString, language);
    QTranslator translator;
    if (language != "en") {
      QVERIFY(translator.load(QLocale(language), "tilemora", "_", ":/i18n"));
      QApplication::installTranslator(&translator);
    }
    QTemporaryDir folder;
    writeFile(folder.filePath("a.bin"), 4096);
    TMMainWindow* window = delegate->openUntitledFile();
    window->resize(1000, 720);
    window->show();
    window->list().showList().setChecked(true);
    window->controller().openURL(TMFileURL::fromPath(folder.path().toStdString()));
    QTRY_VERIFY(!window->controller().isScanning());
    TMTreeMapWidget& map = window->mapPane().map();
    const QRect before = map.geometry();
    TMFindBar& bar = window->find().bar();
    window->find().find().trigger();
    QTRY_VERIFY(bar.isVisible());
    QCOMPARE(map.geometry(), before);
    QVERIFY2(bar.field().width() >= 240, qPrintable(QString::number(bar.field().width())));
    QVERIFY(bar.geometry().right() <= bar.parentWidget()->width());
    bar.regularExpression().setChecked(true);
    bar.field().setText("(unclosed");
    QTRY_VERIFY(bar.status().fullText().contains(QRegularExpression("\\(|:")));
    QTest::qWait(20);
    QVERIFY2(bar.field().width() >= 240, qPrintable(QString::number(bar.field().width())));
    // The map narrowed beside a wide list: the message gives way, not the field.
    static_cast<QSplitter&>(window->list().splitter()).setSizes({620, 380});
    QTest::qWait(20);
    QVERIFY2(bar.field().width() >= 240, qPrintable(QString::number(bar.field().width())));
    for (const QAbstractButton* button : bar.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
      QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->toolTip()));
    QVERIFY(!bar.field().accessibleName().isEmpty());
    const QRect open = map.geometry();
    QTest::keyClick(&bar.field(), Qt::Key_Escape);
    QTRY_VERIFY(!bar.isVisible());
    QCOMPARE(map.geometry(), open);
    QApplication::removeTranslator(&translator);
  }

  void findPicksOutMatchesAndGoesFromOneToTheNext_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QStringList>("found");  // largest first
    QTest::addColumn<QString>("status");
    QTest::newRow("part of a name") << "log" << false << false << QStringList{"big.log", "Small.LOG", "logs"}
                                    << "3 matches, 72.0 KB";
    QTest::newRow("wildcards, whole names") << "*.log" << false << false << QStringList{"big.log", "Small.LOG"}
                                            << "2 matches, 60.0 KB";
    QTest::newRow("case asked for") << "LOG" << false << true << QStringList{"Small.LOG"} << "1 match, 20.0 KB";
    QTest::newRow("a regular expression") << "^s.*g$" << true << false << QStringList{"Small.LOG"}
                                          << "1 match, 20.0 KB";
    QTest::newRow("a folder and what it holds") << "logs" << false << false << QStringList{"logs"}
                                                << "1 match, 12.0 KB";
    QTest::newRow("an invalid regular expression") << "(" << true << false << QStringList{}
                                                   << "Invalid pattern: missing closing parenthesis";
    QTest::newRow("a pattern too costly for one name")
        << "^(a+)+x" << true << false << QStringList{}
        << "0 matches, 0 bytes; the pattern was too costly for 1 name, counted as not matching";
  }
  void findPicksOutMatchesAndGoesFromOneToTheNext() {
    QFETCH(QString, pattern);
    QFETCH(bool, regex);
    QFETCH(bool, matchCase);
    QFETCH(QStringList, found);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("logs"));
    writeFile(folder.filePath("big.log"), 40960);
    writeFile(folder.filePath("Small.LOG"), 20480);
    writeFile(folder.filePath("logs/inside.txt"), 12288);
    // A pattern may backtrack a million steps on it: more than one name may take.
    writeFile(folder.filePath(QString(20, 'a') + ".txt"), 4096);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    TMFindBar& bar = window->find().bar();
    window->find().find().trigger();
    QVERIFY(!bar.isHidden());
    bar.regularExpression().setChecked(regex);
    bar.matchCase().setChecked(matchCase);
    bar.field().setText(pattern);
    QFETCH(QString, status);
    QTRY_VERIFY2(bar.status().fullText().startsWith(status), qPrintable(bar.status().fullText()));
    QStringList names;
    if (const TMSearchResult* result = window->session().searchResult().get())
      for (const TMSearchMatch& match : result->matches) names << QString::fromStdString(match.path);
    QCOMPARE(names, found);
    TMTreeMapView& view = window->mapPane().view();
    // A search that ran picks out its matches, none perhaps.
    QCOMPARE(view.fileColoring() != nullptr, !status.startsWith("Invalid"));
    if (found.size() >= 2) {
      // Backwards first: the last; then round both ends, and Enter as F3
      // (a folder selected, whose Narrow shares the key).
      const std::string base = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString();
      const int last = int(found.size()) - 1;
      for (auto [key, modifiers, expected] : {std::tuple{Qt::Key_F3, Qt::ShiftModifier, last},
                                              std::tuple{Qt::Key_F3, Qt::NoModifier, 0},
                                              std::tuple{Qt::Key_F3, Qt::ShiftModifier, last},
                                              std::tuple{Qt::Key_Return, Qt::NoModifier, 0},
                                              std::tuple{Qt::Key_F3, Qt::NoModifier, 1},
                                              std::tuple{Qt::Key_F3, Qt::ShiftModifier, 0}}) {
        QTest::keyClick(key == Qt::Key_Return ? static_cast<QWidget*>(&bar.field()) : &bar, key, modifiers);
        QTRY_VERIFY(!view.isLocked());
        QCOMPARE(view.selected()->url.path(), base + "/" + found[expected].toStdString());
      }
    }
    QTest::keyClick(&bar, Qt::Key_Escape);  // closes, and the map is as before
    QVERIFY(bar.isHidden());
    QCOMPARE(view.fileColoring(), nullptr);
  }

  // Which names each kind of pattern takes: plain text and a regular
  // expression anywhere in the name, wildcards the whole name.
  void patternsMatchPartOrWholeNames_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("matches");
    QTest::newRow("text, part of the name") << "ig.l" << false << false << QByteArray("big.log") << true;
    QTest::newRow("text, the whole name") << "big.log" << false << false << QByteArray("big.log") << true;
    QTest::newRow("text, not there") << "bag" << false << false << QByteArray("big.log") << false;
    QTest::newRow("text, other case") << "BIG" << false << false << QByteArray("big.log") << true;
    QTest::newRow("text, case asked for") << "BIG" << false << true << QByteArray("big.log") << false;
    QTest::newRow("text, a dot is a dot") << "g.l" << false << false << QByteArray("bigxlog") << false;
    QTest::newRow("wildcards, the whole name") << "*.log" << false << false << QByteArray("big.log") << true;
    QTest::newRow("wildcards, only part of the name") << "*.lo" << false << false << QByteArray("big.log") << false;
    QTest::newRow("wildcards, only the middle") << "i?.l" << false << false << QByteArray("big.log") << false;
    QTest::newRow("wildcards, one character") << "bi?.log" << false << false << QByteArray("big.log") << true;
    QTest::newRow("expression, part of the name") << "g\\.l" << true << false << QByteArray("big.log") << true;
    QTest::newRow("expression, the whole name") << "^big\\.log$" << true << false << QByteArray("big.log") << true;
    QTest::newRow("expression, anchored elsewhere") << "^ig" << true << false << QByteArray("big.log") << false;
    QTest::newRow("expression, case asked for") << "^B" << true << true << QByteArray("big.log") << false;
    QTest::newRow("a name that is no text") << "caf" << false << false << QByteArray("caf\xE9") << true;
  }
  void patternsMatchPartOrWholeNames() {
    QFETCH(QString, pattern);
    QFETCH(bool, regex);
    QFETCH(bool, matchCase);
    QFETCH(QByteArray, name);
    TMFindBar bar;
    bar.regularExpression().setChecked(regex);
    bar.matchCase().setChecked(matchCase);
    bar.field().setText(pattern);
    const auto matches = bar.matcher();
    QVERIFY(matches);
    QTEST(matches(name.toStdString()), "matches");
  }

  // A search that takes a while says so; one no longer wanted, once the
  // pattern changed, matches nothing more, so that it ends at once.
  void theFindBarSaysItSearchesAndDropsAnOldSearch() {
    TMFindBar bar;
    bar.field().setText("a");
    const auto first = bar.matcher();
    QVERIFY(first("a.txt"));
    QTRY_COMPARE(bar.status().fullText(), QString("Searching\u2026"));
    bar.showFound(1, 4096);
    QCOMPARE(bar.status().fullText(), QString("1 match, 4.0 KB"));
    bar.regularExpression().setChecked(true);
    const auto second = bar.matcher();
    QVERIFY(!first("a.txt"));
    QVERIFY(second("a.txt"));
    bar.showFound(1, 4096);
    QTest::qWait(TMFindBar::kSearchingDelay + 50);
    QCOMPARE(bar.status().fullText(), QString("1 match, 4.0 KB"));
    // A saved scan read in part: beyond the matches read, its file held more.
    bar.showFound(10000, 4096, 12345);
    QCOMPARE(bar.status().fullText(), QString("12,345 matches in the saved scan, 10,000 of them read: 4.0 KB"));
    bar.showFound(3, 4096, 3);
    QCOMPARE(bar.status().fullText(), QString("3 matches, 4.0 KB"));
  }

  void theFileTypesWindowCountsAndPicksOutAType() {
    QTemporaryDir folder;
    writeFile(folder.filePath("a.PNG"), 40960);
    writeFile(folder.filePath("b.png"), 8192);
    writeFile(folder.filePath("c.jpg"), 4096);
    writeFile(folder.filePath("notes.txt"), 20480);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    window->colours().fileTypes().trigger();
    TMFileTypesWindow* types = window->colours().fileTypesWindow();
    QVERIFY(types != nullptr && types->isVisible());
    QTreeWidget& table = types->table();
    QCOMPARE(table.topLevelItemCount(), 2);
    const QTreeWidgetItem* images = table.topLevelItem(0);
    QCOMPARE(images->text(0), QString("Images"));
    QCOMPARE(images->text(2), QString("3"));
    QCOMPARE(images->child(0)->text(0), QString(".png"));  // ".PNG" and ".png" are one
    QCOMPARE(images->child(0)->text(2), QString("2"));
    QCOMPARE(table.topLevelItem(1)->text(3), QString("27.8 %"));  // 20 KiB of 72
    TMTreeMapView& view = window->mapPane().view();
    table.setCurrentItem(images->child(0));  // the PNG files picked out, the rest dimmed
    QVERIFY(view.fileColoring() != nullptr);
    table.clearSelection();
    QCOMPARE(view.fileColoring(), nullptr);
  }

  void aDeletionStopsTheSearchAndFindsAgain() {
    QTemporaryDir folder;
    writeFile(folder.filePath("one.log"), 40960);
    writeFile(folder.filePath("two.log"), 20480);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    window->controller().setAskBeforeTrash(false);
    window->find().find().trigger();
    window->find().bar().field().setText(".log");
    QTRY_COMPARE(window->find().bar().status().fullText(), QString("2 matches, 60.0 KB"));
    QTest::keyClick(&window->find().bar().field(), Qt::Key_Return);  // selects one.log, the largest
    QTRY_VERIFY(!window->mapPane().view().isLocked());
    window->mapCommands().moveToTrash().trigger();
    QVERIFY(!QFile::exists(folder.filePath("one.log")));
    QTRY_COMPARE(window->find().bar().status().fullText(), QString("1 match, 20.0 KB"));
  }

  void theCommandsOnASelectionUseTheDesktop() {
    QTemporaryDir folder;
    writeFile(folder.filePath("run.sh"), 10, 0755);
    writeFile(folder.filePath("doc.txt"), 20000);
    writeFile(folder.filePath("app.desktop"), 10);
    writeFile(folder.filePath("App2.DESKTOP"), 10);
    writeFile(folder.filePath("old.kdelnk"), 10);
    // A folder whose name is no valid text.
    const std::string odd = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString() + "/caf\xE9";
    QVERIFY(::mkdir(odd.c_str(), 0755) == 0);
    const int oddFile = ::open((odd + "/x.txt").c_str(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(::write(oddFile, QByteArray(30000, 'x').constData(), 30000) == 30000);
    ::close(oddFile);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    QList<QUrl> opened;
    QStringList revealed, started;
    std::vector<std::string> startedIn;
    QMimeData* copied = nullptr;
    QString terminal = "my-term";
    TMDesktopAccess desktop;
    desktop.openUrl = [&](const QUrl& url) { return opened << url, true; };
    desktop.reveal = [&](const TMFileURL& item) { revealed << QString::fromStdString(item.path()); };
    desktop.startProgram = [&](const QString& program, const TMFileURL& in) {
      startedIn.push_back(in.path());
      return started << program + " " + QString::fromStdString(in.path()), true;
    };
    desktop.setClipboard = [&](QMimeData* data) { delete copied, copied = data; };
    desktop.environment = [&](const char*) { return terminal; };
    desktop.findExecutable = [](const QString&) { return QString(); };
    window->selection().setDesktopAccess(desktop);
    TMTreeMapView& view = window->mapPane().view();
    const std::string base = QFile::encodeName(QDir(folder.path()).absolutePath()).toStdString();
    auto select = [&](const char* name) { view.selectURL(TMFileURL::fromPath(base + "/" + name)); };

    select("doc.txt");
    window->selection().openItem().trigger();
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(folder.filePath("doc.txt"))});
    for (const char* launcher : {"run.sh", "app.desktop", "App2.DESKTOP", "old.kdelnk"}) {  // revealed, never run
      select(launcher);
      window->selection().openItem().trigger();
      QCOMPARE(revealed.last(), QString::fromStdString(base + "/" + launcher));
    }
    QCOMPARE(opened.size(), 1);
    window->selection().openTerminal().trigger();  // a file's folder
    QCOMPARE(started, QStringList{"my-term " + QDir(folder.path()).absolutePath()});
    window->selection().copyPath().trigger();
    QVERIFY(copied != nullptr);
    QCOMPARE(copied->text(), QDir(folder.path()).absolutePath() + "/old.kdelnk");
    QCOMPARE(copied->urls(), QList<QUrl>{QUrl::fromLocalFile(folder.filePath("old.kdelnk"))});
    // In the folder that is no valid text: the terminal is started in its
    // very bytes, and the text copied is a path a shell reads back.
    view.selectURL(TMFileURL::fromPath(odd + "/x.txt"));
    window->selection().openTerminal().trigger();
    QCOMPARE(QByteArray::fromStdString(startedIn.back()), QByteArray::fromStdString(odd));
    window->selection().copyPath().trigger();
    QCOMPARE(copied->text().toStdString(), "$'" + odd.substr(0, odd.size() - 1) + "\\xe9/x.txt'");
    // Several items: every path, one a line, and every URL.
    view.selectItems({TMFileURL::fromPath(base + "/doc.txt"), TMFileURL::fromPath(base + "/run.sh")});
    window->selection().copyPath().trigger();
    QCOMPARE(copied->text(), QDir(folder.path()).absolutePath() + "/doc.txt\n" + QDir(folder.path()).absolutePath() + "/run.sh");
    QCOMPARE(copied->urls(), (QList<QUrl>{QUrl::fromLocalFile(folder.filePath("doc.txt")), QUrl::fromLocalFile(folder.filePath("run.sh"))}));
    started.removeLast();
    // Qt's own removal cannot name it.
    ::unlink((odd + "/x.txt").c_str());
    ::rmdir(odd.c_str());
    terminal.clear();  // no $TERMINAL, no x-terminal-emulator
    window->selection().openTerminal().trigger();
    QCOMPARE(started.size(), 1);
    QTRY_VERIFY(window->findChild<QMessageBox*>() != nullptr);
    delete copied;
  }

 private:
  static void writeFile(const QString& path, int bytes, int mode = 0644) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(bytes, 'x'));
    file.close();
    ::chmod(QFile::encodeName(path).constData(), mode_t(mode));
  }

  std::shared_ptr<TMQtMainQueue> queue;
  std::unique_ptr<TilemoraAppDelegate> delegate;
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A trash of the tests' own, on the file system of the temporary folders.
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  QApplication application(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication::setOrganizationName("TilemoraListTests");
  int failures = 0;
  {
    TMFileListModelTest model;
    failures += QTest::qExec(&model, argc, argv);
  }
  {
    TMFileListWindowTest window;
    failures += QTest::qExec(&window, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

#include "TMFileListTests.moc"
