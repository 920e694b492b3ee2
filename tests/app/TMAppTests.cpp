// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop shell under Qt's offscreen platform: drops on the message
// view, its geometry, windows per folder, the hand-over slot, resizing.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QMenuBar>
#include <QRegularExpression>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QLineEdit>
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSpinBox>
#include <QActionGroup>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "window/TMElidingLabel.h"
#include "actions/TMSelectionCommands.h"
#include "colours/TMColoursFeature.h"
#include "compare/TMCompareFeature.h"
#include "find/TMFindFeature.h"
#include "list/TMListFeature.h"
#include "map/TMMapCommands.h"
#include "window/TMMainWindow.h"
#include "map/TMMapPane.h"
#include "window/TMMessageGeometry.h"
#include "window/TMMessageView.h"
#include "map/TMPathBar.h"
#include "TMPreferences.h"
#include "TMPreferencesDialog.h"
#include "TMQtMainQueue.h"
#include "TMRecentFolders.h"
#include "core/scan/TMExclusions.h"
#include "list/TMFileList.h"
#include "list/TMFileListModel.h"
#include "window/TMStartPage.h"
#include "window/TMStatusText.h"
#include "TMTranslations.h"
#include "actions/TMTrashQuestionBox.h"
#include "map/TMTreeMapWidget.h"
#include "TilemoraAppDelegate.h"
#include "core/drawing/TMSizeFormatter.h"
#include "core/scan/TMScanTask.h"
#include "view/controller/TMGlobalQueues.h"

using namespace tilemora;

namespace {

QMimeData* urlsData(const QList<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

// Sends a drag of `data` into `view`, then a drop or a leave.
Qt::DropAction dragOnto(QWidget& view, QMimeData* data, bool drop, int* statusDuringDrag = nullptr) {
  const QPoint middle = view.rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &enter);
  if (statusDuringDrag) *statusDuringDrag = static_cast<TMFileDraggingView&>(view).currentDropStatus();
  const Qt::DropAction answered = enter.isAccepted() ? enter.dropAction() : Qt::IgnoreAction;
  if (drop) {
    QDropEvent dropped(QPointF(middle), Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &dropped);
  } else {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&view, &leave);
  }
  delete data;
  return answered;
}

void writeTextFile(const QString& path, const char* text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

QList<TMMainWindow*> mainWindows() {
  QList<TMMainWindow*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<TMMainWindow*>(widget)) windows << window;
  }
  return windows;
}

}  // namespace

// pkexec's stand-in on PATH, which runs what it is given as pkexec does
// once the password is given, with tilemora-scan found beside it.
class FakePkexec {
 public:
  FakePkexec() : path_(qgetenv("PATH")) {
    writeTextFile(tools_.filePath("pkexec"), "#!/bin/sh\nexec \"$@\"\n");
    QFile::setPermissions(tools_.filePath("pkexec"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(tools_.path()) + ':' +
                        QFile::encodeName(QFileInfo(QStringLiteral(TILEMORA_SCAN_PROGRAM)).absolutePath()) + ':' +
                        path_);
  }
  ~FakePkexec() { qputenv("PATH", path_); }

 private:
  QTemporaryDir tools_;
  QByteArray path_;
};

class TMMessageViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    view = std::make_unique<TMMessageView>();
    view->resize(400, 300);
    dropped.clear();
    view->setFileDropResponder([this](const TMFileURL& url) { dropped << url; });
    QVERIFY(folder.isValid());
    QFile file(folder.filePath("plain.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
  }

  void aFolderTintsGreenAndItsDropReachesTheResponder() {
    int status = -1;
    dragOnto(*view, urlsData({QUrl::fromLocalFile(folder.path())}), true, &status);
    QCOMPARE(status, int(TMFileDraggingView::kAcceptable));
    QCOMPARE(dropped.size(), 1);
    QCOMPARE(QString::fromStdString(dropped[0].path()), QDir(folder.path()).absolutePath());
    QCOMPARE(view->currentDropStatus(), int(TMFileDraggingView::kNoDrag));
  }

  void aPlainFileTintsRedAndItsDropDoesNothing() {
    int status = -1;
    dragOnto(*view, urlsData({QUrl::fromLocalFile(folder.filePath("plain.txt"))}), true, &status);
    QCOMPARE(status, int(TMFileDraggingView::kRefused));
    QVERIFY(dropped.isEmpty());
    QCOMPARE(view->currentDropStatus(), int(TMFileDraggingView::kNoDrag));
  }

  void textWithoutURLsIsRefusedWithNoOperation() {
    auto* text = new QMimeData;
    text->setText("just words");
    int status = -1;
    QCOMPARE(dragOnto(*view, text, false, &status), Qt::IgnoreAction);
    QCOMPARE(status, int(TMFileDraggingView::kRefused));
    QCOMPARE(view->currentDropStatus(), int(TMFileDraggingView::kNoDrag));
  }

  void onlyTheFirstOfSeveralItemsCounts() {
    const QUrl directory = QUrl::fromLocalFile(folder.path());
    const QUrl plain = QUrl::fromLocalFile(folder.filePath("plain.txt"));
    int status = -1;
    dragOnto(*view, urlsData({plain, directory}), true, &status);
    QCOMPARE(status, int(TMFileDraggingView::kRefused));
    QVERIFY(dropped.isEmpty());
    dragOnto(*view, urlsData({directory, plain}), true, &status);
    QCOMPARE(status, int(TMFileDraggingView::kAcceptable));
    QCOMPARE(dropped.size(), 1);
  }

  void aURLThatIsNotALocalFileIsRefused() {
    int status = -1;
    dragOnto(*view, urlsData({QUrl("https://example.org/folder/")}), true, &status);
    QCOMPARE(status, int(TMFileDraggingView::kRefused));
    QVERIFY(dropped.isEmpty());
  }

  void theTintIsPaintedOnlyDuringADrag() {
    const QPoint corner(5, 5);  // gradient only, away from the message
    const QColor plain = view->grab().toImage().pixelColor(corner);
    auto* data = urlsData({QUrl::fromLocalFile(folder.path())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &enter);
    const QColor tinted = view->grab().toImage().pixelColor(corner);
    QVERIFY2(tinted.green() > tinted.red() && tinted.green() > plain.green(), "not tinted green");
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(view.get(), &leave);
    QCOMPARE(view->grab().toImage().pixelColor(corner), plain);
    delete data;
  }

  void theMessageSitsInTheMiddleWithItsTextBelow() {
    const TMMessageGeometry geometry = TMMessageGeometry::forBounds({0, 0, 400, 300});
    QCOMPARE(geometry.square.x, 165.0);
    QCOMPARE(geometry.square.y, 115.0);
    QCOMPARE(geometry.square.width, 70.0);
    QCOMPARE(geometry.textBox.x, 80.0);
    QCOMPARE(geometry.textBox.y, 65.0);
    QCOMPARE(geometry.textBox.width, 240.0);
    QCOMPARE(geometry.textBox.height, 50.0);
    // White dashes at the square's left edge (y flipped): x 165, y 150.
    const QImage image = view->grab().toImage();
    int white = 0;
    for (int y = 116; y < 185; ++y) white += image.pixelColor(165, y).lightness() > 200;
    QVERIFY2(white > 20 && white < 69, "the square's edge is not dashed");
  }

 private:
  std::unique_ptr<TMMessageView> view;
  QList<TMFileURL> dropped;
  QTemporaryDir folder;
};

class TMAppShellTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    installTranslations();  // English plural forms, as the program has them
    queue = std::make_shared<TMQtMainQueue>(qApp);
    delegate = std::make_unique<TilemoraAppDelegate>(queue);
  }

  void cleanup() {
    QApplication::closeAllWindows();
    QApplication::processEvents();
    QVERIFY(TMScanTask::waitForAllScans(std::chrono::seconds(10)));
    QApplication::processEvents();
  }

  // Alt and a letter reach one command only: in every menu (the menu bar,
  // each menu, each submenu, the menu of a selection) no two entries share
  // a mnemonic, in each language the program speaks.
  void everyMenuHasUniqueMnemonicsAndEveryControlAName_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << "en";
    QTest::newRow("German") << "de";
    QTest::newRow("French") << "fr";
  }
  void everyMenuHasUniqueMnemonicsAndEveryControlAName() {
    QFETCH(QString, language);
    QTranslator translator;
    if (language != "en") {
      QVERIFY(translator.load(QLocale(language), "tilemora", "_", ":/i18n"));
      QApplication::installTranslator(&translator);
    }
    TMMainWindow* window = delegate->openUntitledFile();
    emit window->mapPane().map().menuWanted(QPoint(10, 10));  // the menu of a selection
    QList<QList<QAction*>> menus{window->menuBar()->actions()};
    for (int i = 0; i < menus.size(); ++i) {
      for (QAction* action : menus[i])
        if (action->menu() != nullptr) menus << action->menu()->actions();
    }
    for (QMenu* popup : window->findChildren<QMenu*>())
      if (popup->parent() == window && popup->menuAction()->text().isEmpty()) menus << popup->actions();
    QVERIFY(menus.size() >= 7);
    QStringList clashes;
    for (const QList<QAction*>& actions : menus) {
      QMap<QChar, QString> taken;
      for (QAction* action : actions) {
        const QString text = action->text();
        const qsizetype at = QRegularExpression(QStringLiteral("&[^&]")).match(text).capturedStart();
        if (at < 0) continue;
        const QChar key = text[at + 1].toLower();
        if (taken.contains(key)) clashes << QString("\"%1\" and \"%2\" share Alt+%3").arg(taken[key], text, key);
        taken[key] = text;
      }
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join("; ")));

    // Every control, the find bar's and the list's too, has a name for
    // assistive technology, which lists hidden ones as well.
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("inner"));
    TMMainWindow* scanned = delegate->openFile(folder.path());
    scanned->resize(1000, 720);
    scanned->show();
    QTRY_VERIFY(!scanned->controller().isScanning());
    if (!scanned->list().showList().isChecked()) scanned->list().showList().trigger();
    scanned->find().find().trigger();
    QStringList unnamed;
    for (QWidget* widget : scanned->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           qobject_cast<QLineEdit*>(widget) != nullptr || qobject_cast<QComboBox*>(widget) != nullptr ||
                           qobject_cast<QAbstractItemView*>(widget) != nullptr || widget->focusPolicy() != Qt::NoFocus;
      if (!control) continue;
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
      if (accessible == nullptr || accessible->text(QAccessible::Name).trimmed().isEmpty())
        unnamed << QString("%1 \"%2\"").arg(widget->metaObject()->className(), widget->objectName());
    }
    QApplication::removeTranslator(&translator);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
  }

  void theHandOverSlotKeepsOnlyTheLastFolder() {
    TMGlobalQueues& slot = TMGlobalQueues::sharedQueues();
    QCOMPARE(&slot, &TMGlobalQueues::sharedQueues());
    slot.addFileToQueue(TMFileURL::fromPath("/first"));
    slot.addFileToQueue(TMFileURL::fromPath("/second"));
    QCOMPARE(QString::fromStdString(slot.getFileFromQueue()->path()), QString("/second"));
    QVERIFY(!slot.getFileFromQueue().has_value());
  }

  void oneWindowScansEachFolderHandedOver() {
    QTemporaryDir a, b, c;
    for (QTemporaryDir* dir : {&a, &b, &c}) delegate->openFile(dir->path());
    const QList<TMMainWindow*> windows = mainWindows();
    QCOMPARE(windows.size(), 3);
    QStringList scanned;
    for (TMMainWindow* window : windows) {
      QVERIFY(window->controller().scannedUrl().has_value());
      scanned << QString::fromStdString(window->controller().scannedUrl()->path());
    }
    scanned.sort();
    QStringList expected{QDir(a.path()).absolutePath(), QDir(b.path()).absolutePath(),
                         QDir(c.path()).absolutePath()};
    expected.sort();
    QCOMPARE(scanned, expected);
    QVERIFY(!TMGlobalQueues::sharedQueues().getFileFromQueue().has_value());
  }

  void anEmptyWindowOpensWhatIsDroppedOnIt() {
    TMMainWindow* window = delegate->openUntitledFile();
    QVERIFY(window->messageView().isVisible());
    QVERIFY(!window->controller().scannedUrl().has_value());
    QTemporaryDir folder;
    QFile file(folder.filePath("data.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'x'));
    file.close();
    dragOnto(window->messageView(), urlsData({QUrl::fromLocalFile(folder.path())}), true);
    QVERIFY(!window->messageView().isVisible());
    QVERIFY(window->controller().scannedUrl().has_value());
    QTRY_VERIFY(!window->controller().isScanning());
    QVERIFY(window->mapPane().view().root() != nullptr);
    QVERIFY(window->progressBar().maximum() != 0);  // the bar has stopped
  }

  void aWindowSurvivesBeingResizedToOnePixelAndBack() {
    QTemporaryDir folder;
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    TMTreeMapWidget& map = window->mapPane().map();
    map.resize(1, 1);
    map.grab();
    map.resize(640, 480);
    QCOMPARE(map.view().frame().width, 640.0);
    map.grab();
  }

  void theKeyboardWorksOnAFreshMap() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("inner"));
    writeTextFile(folder.filePath("inner/a"), std::string(9000, 'x').c_str());
    writeTextFile(folder.filePath("b"), std::string(5000, 'x').c_str());
    TMMainWindow* window = delegate->openFile(folder.path());
    TMTreeMapWidget& map = window->mapPane().map();
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Return, Qt::Key_Tab}) {
      window->mapCommands().rescan().trigger();
      QTRY_VERIFY(!window->controller().isScanning());
      QCOMPARE(window->focusWidget(), &map);
      QVERIFY(window->mapCommands().selectFirstItem().isEnabled());
      QCOMPARE(map.view().selected(), nullptr);
      QTest::keyClick(&map, Qt::Key(key));
      QVERIFY2(map.view().selected() != nullptr, qPrintable(QKeySequence(key).toString()));
    }
  }

  void theToolbarFollowsTheMap() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("inner"));
    for (const char* name : {"inner/big.bin", "small.bin"}) {
      QFile file(folder.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(name[0] == 'i' ? 40000 : 10000, 'x'));
    }
    TMMainWindow* window = delegate->openFile(folder.path());
    auto enabled = [window] {
      QString flags;
      for (QAction* action : {&window->mapCommands().zoomIn(), &window->mapCommands().zoomOut(), &window->mapCommands().narrow(),
                              &window->mapCommands().goUp(), &window->mapCommands().reveal(), &window->mapCommands().selectFirstItem()})
        flags += action->isEnabled() ? '1' : '0';
      return flags;
    };
    QTRY_VERIFY(!window->controller().isScanning());
    QCOMPARE(enabled(), QString("110001"));  // zoom in, zoom out, narrow, up, reveal, first item
    TMTreeMapView& view = window->mapPane().view();
    view.focusOn(TMFileURL::fromPath(QFile::encodeName(folder.filePath("inner")).toStdString()));
    QTRY_VERIFY(!view.isLocked());
    QCOMPARE(enabled(), QString("111111"));
    window->mapCommands().goUp().trigger();
    QTRY_VERIFY(!view.isLocked());
    QCOMPARE(enabled(), QString("111011"));  // the scanned folder stays selected
    QCOMPARE(window->windowTitle(), QDir(folder.path()).dirName() + QStringLiteral(" \u2014 Tilemora"));
  }

  void moveToTrashTakesTheSelectedFileOffDiskAndOffTheMap() {
    QTemporaryDir folder;
    for (const char* name : {"big.bin", "small.bin"}) {
      QFile file(folder.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(name[0] == 'b' ? 40000 : 10000, 'x'));
    }
    TMMainWindow* window = delegate->openFile(folder.path());
    QVERIFY(!window->mapCommands().moveToTrash().isEnabled());  // the scan runs
    QTRY_VERIFY(!window->controller().isScanning());
    QVERIFY(!window->mapCommands().moveToTrash().isEnabled());  // nothing selected
    TMTreeMapView& view = window->mapPane().view();
    const TMFileURL big = TMFileURL::fromPath(QFile::encodeName(folder.filePath("big.bin")).toStdString());
    view.selectWithFunction(
        [&](TMDrawInfo_t& info, const TMRect& bounds) {
          return view.current()->layout->getNodeAtPathParts(big.pathComponents(),
                                                            int32_t(view.current()->url.pathComponents().size()) - 1,
                                                            info, bounds);
        },
        view.current()->url);
    QVERIFY(window->mapCommands().moveToTrash().isEnabled());
    const uint64_t before = window->controller().curentlyNavigated()->diskSize();
    // The question comes first; Esc (its default, Cancel) keeps the file.
    auto openQuestion = [window]() -> QPointer<TMTrashQuestionBox> {
      window->mapCommands().moveToTrash().trigger();
      for (TMTrashQuestionBox* box : window->findChildren<TMTrashQuestionBox*>())
        if (box->isVisible()) return box;  // not one answered and still going
      return nullptr;
    };
    QPointer<TMTrashQuestionBox> box = openQuestion();
    QVERIFY(box);
    QCOMPARE(box->windowModality(), Qt::WindowModal);
    QCOMPARE(box->text(), QString("Move \u201Cbig.bin\u201D (40.0 KB) to the trash?"));
    QVERIFY(box->defaultButton() != box->moveButton());
    QVERIFY(box->checkBox() != nullptr);
    QCOMPARE(QApplication::activeModalWidget(), box.data());  // keys go to the question, not the map
    QTest::keyClick(box, Qt::Key_Escape);
    QTRY_VERIFY(!box);
    QVERIFY(QFile::exists(folder.filePath("big.bin")));
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), before);

    box = openQuestion();
    QVERIFY(box);
    box->moveButton()->click();
    QTRY_VERIFY(!QFile::exists(folder.filePath("big.bin")));
    QVERIFY(QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/big.bin"));
    QVERIFY(window->controller().curentlyNavigated()->diskSize() < before);
    QCOMPARE(window->windowTitle(), QFileInfo(folder.path()).fileName() + QString(" \u2014 Tilemora"));
    QCOMPARE(view.selected(), nullptr);
    QVERIFY(window->statusLine().fullText().contains("in 1 file and 0 folders"));  // the status follows

    // The scanned folder itself: asked about, then the window says it went.
    view.selectSubItem();
    view.selectWithFunction(
        [&](TMDrawInfo_t& info, const TMRect& bounds) {
          return view.current()->layout->getNodeAtPathParts(view.current()->url.pathComponents(),
                                                            int32_t(view.current()->url.pathComponents().size()) - 1,
                                                            info, bounds);
        },
        view.current()->url);
    QVERIFY(view.isSelectionRoot());
    box = openQuestion();
    QVERIFY(box);
    QVERIFY(box->checkBox() == nullptr);  // always asked
    box->moveButton()->click();
    QTRY_VERIFY(window->messageView().isVisible());
    QCOMPARE(window->messageView().message(),
             QString("\u201C%1\u201D was moved to the trash.").arg(QFileInfo(folder.path()).fileName()));
    QVERIFY(window->statusLine().fullText().isEmpty());
    QVERIFY(!window->mapCommands().rescan().isEnabled());
    QVERIFY(!window->progressBar().isVisible());
  }

  void aPathThatCannotBeScannedSaysWhyAndStaysOutOfRecentFolders() {
    TMMainWindow* window = delegate->openFile("/no/such/folder");
    QVERIFY(window->messageView().isVisible());
    QCOMPARE(window->messageView().message(), QString("Cannot open /no/such/folder: No such file or directory"));
    QVERIFY(!TMRecentFolders::list().contains("/no/such/folder"));
    QVERIFY(!window->mapPane().verticalScroller().isEnabled());  // no map, no knob
  }

  void aFolderDroppedOnTheMapOpensInItsWindow() {
    QTemporaryDir first, second;
    QFile file(second.filePath("only.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(5000, 'x'));
    file.close();
    TMMainWindow* window = delegate->openFile(first.path());
    QTRY_VERIFY(!window->controller().isScanning());
    dragOnto(window->mapPane().map(), urlsData({QUrl::fromLocalFile(second.path())}), true);
    QCOMPARE(QString::fromStdString(window->controller().scannedUrl()->path()), QDir(second.path()).absolutePath());
    QTRY_VERIFY(!window->controller().isScanning());
    QVERIFY(window->mapPane().verticalScroller().isEnabled());
  }

  // A folder whose name is not valid UTF-8 reaches the scan byte for byte
  // through each way a user opens one.
  void aFolderNamedInInvalidUtf8OpensThroughEachEntryPoint_data() {
    QTest::addColumn<QString>("route");
    for (const char* route : {"command line", "drop on an empty window", "drop on the map", "open recent"})
      QTest::newRow(route) << QString(route);
  }
  void aFolderNamedInInvalidUtf8OpensThroughEachEntryPoint() {
    QFETCH(QString, route);
    QTemporaryDir base;
    const QByteArray folder = QFile::encodeName(base.path()) + "/bad\xFF\xFEname\xC3";
    QCOMPARE(::mkdir(folder.constData(), 0755), 0);
    // QTemporaryDir cannot name what is inside to remove it.
    const auto removal = qScopeGuard([folder] {
      ::unlink((folder + "/data").constData());
      ::rmdir(folder.constData());
    });
    const int fd = ::open((folder + "/data").constData(), O_WRONLY | O_CREAT, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, QByteArray(5000, 'x').constData(), 5000), ssize_t(5000));
    ::close(fd);
    const QUrl url = QUrl::fromEncoded("file://" + folder.toPercentEncoding("/"));

    TMMainWindow* window = nullptr;
    if (route == "command line") {
      const char* argv[] = {"tilemora", "--", folder.constData()};
      const QList<QByteArray> folders = TilemoraAppDelegate::folderArguments(3, argv);
      QCOMPARE(folders, QList<QByteArray>{folder});
      window = delegate->openRawPath(folders.first());
    } else if (route == "drop on an empty window") {
      window = delegate->openUntitledFile();
      dragOnto(window->messageView(), urlsData({url}), true);
    } else if (route == "drop on the map") {
      QTemporaryDir first;
      window = delegate->openFile(first.path());
      QTRY_VERIFY(!window->controller().isScanning());
      dragOnto(window->mapPane().map(), urlsData({url}), true);
    } else {
      TMRecentFolders::note(folder);
      window = delegate->openUntitledFile();
      QMenu* recent = nullptr;
      for (QMenu* menu : window->findChildren<QMenu*>()) {
        if (menu->title() == "Open &Recent") recent = menu;
      }
      QVERIFY(recent != nullptr);
      emit recent->aboutToShow();
      QVERIFY(!recent->actions().isEmpty());
      recent->actions().first()->trigger();
    }
    QVERIFY(window->controller().scannedUrl().has_value());
    QCOMPARE(QByteArray::fromStdString(window->controller().scannedUrl()->path()), folder);
    QTRY_VERIFY(!window->controller().isScanning());
    QVERIFY(window->controller().curentlyNavigated()->diskSize() >= 5000);
    QCOMPARE(TMRecentFolders::list().first(), folder);
  }

  void statusLineWords_data() {
    QTest::addColumn<bool>("scanning");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<quint64>("unreadable");
    QTest::addColumn<bool>("volume");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("link");  // the part that opens the list of unreadable folders
    QTest::newRow("scanning") << true << false << quint64(0) << false << false
                              << "Scanning\u2026 12,345 entries, 1.5 MB, 2.5 s" << "";
    QTest::newRow("reading a saved scan") << true << false << quint64(0) << false << false
                                          << "Reading\u2026 12,345 entries, 1.5 MB, 2.5 s" << "";
    QTest::newRow("ended") << false << false << quint64(0) << false << false
                           << "1.5 MB (1,572,864 bytes) in 12,000 files and 345 folders, scanned in 2.5 s" << "";
    QTest::newRow("stopped with unreadable folders")
        << false << true << quint64(2) << false << false
        << "Stopped: 3 folders not scanned \u2014 1.5 MB (1,572,864 bytes, partial) in 12,000 files and 345 folders, "
           "stopped after 2.5 s; 2 folders could not be read"
        << "2 folders could not be read";
    QTest::newRow("one unreadable folder")
        << false << false << quint64(1) << false << false
        << "1.5 MB (1,572,864 bytes) in 12,000 files and 345 folders, scanned in 2.5 s; 1 folder could not be read"
        << "1 folder could not be read";
    QTest::newRow("a selected folder")
        << false << false << quint64(0) << false << true
        << "\u201Cphotos\u201D: 512.0 KB (524,288 bytes), 1 file and 0 folders, 33.3 % of the total  |  "
           "1.5 MB (1,572,864 bytes) in 12,000 files and 345 folders, scanned in 2.5 s" << "";
    QTest::newRow("several selected")
        << false << false << quint64(0) << false << true
        << "2 items selected: 512.0 KB (524,288 bytes), 3 files and 1 folder, 33.3 % of the total  |  "
           "1.5 MB (1,572,864 bytes) in 12,000 files and 345 folders, scanned in 2.5 s" << "";
    QTest::newRow("a volume") << false << false << quint64(0) << true << false
                              << "1.5 MB (1,572,864 bytes) in 12,000 files and 345 folders, scanned in 2.5 s"
                                 " \u2014 volume: 3.0 MB used, 1.0 MB free, 1.5 MB not reached" << "";
  }
  void statusLineWords() {
    QFETCH(bool, scanning);
    QFETCH(bool, stopped);
    QFETCH(quint64, unreadable);
    QFETCH(bool, volume);
    QFETCH(bool, selected);
    QFETCH(QString, text);
    QFETCH(QString, link);
    TMScanStatus status;
    status.scanning = scanning;
    status.stopped = stopped;
    status.entries = 12345;
    status.bytes = 1572864;
    status.seconds = 2.5;
    status.files = 12000;
    status.folders = 345;
    status.unreadableFolders = unreadable;
    status.cutShortFolders = stopped ? 3 : 0;
    status.firstUnreadableFolders = {"/a/b\nc", "/d"};
    status.volume = volume;
    status.usedBytes = 3 << 20;
    status.freeBytes = 1 << 20;
    status.unscannedBytes = 1572864;
    if (selected) status.selection = TMSelectionStatus{"photos", 524288, false, true, 1, 0};
    status.imported = QString(QTest::currentDataTag()) == "reading a saved scan";
    if (QString(QTest::currentDataTag()) == "several selected")
      status.selection = TMSelectionStatus{"photos", 524288, false, false, 3, 1, 2};
    QCOMPARE(statusTextOf(status), text);
    QCOMPARE(statusToolTipOf(status), QString::fromUtf8("/a/b\u240Ac\n/d"));
    QCOMPARE(unreadableLinkOf(status), link);
    // The status line draws that part as a link while it shows whole.
    TMElidingLabel line;
    line.resize(line.fontMetrics().horizontalAdvance(text) + 20, 20);
    line.setFullText(text, {}, link);
    QCOMPARE(line.text().contains("<a href=\"#\">" + link + "</a>"), !link.isEmpty());
    line.resize(line.fontMetrics().horizontalAdvance(text.left(20)), 20);
    line.setFullText(text, {}, link);  // a hidden label hears of its size when shown
    QCOMPARE(line.textFormat(), Qt::PlainText);
  }

  // What the totals leave out or stand in for follows them.
  void statusLineTellsWhatTheTotalsMeasure_data() {
    QTest::addColumn<bool>("apparent");
    QTest::addColumn<quint64>("excluded");
    QTest::addColumn<quint64>("withoutLength");
    QTest::addColumn<quint64>("followed");
    QTest::addColumn<quint64>("unfollowed");
    QTest::addColumn<QString>("told");
    QTest::newRow("apparent sizes") << true << quint64(0) << quint64(0) << quint64(0) << quint64(0)
                                    << "scanned in 2.5 s; apparent sizes";
    QTest::newRow("one excluded") << false << quint64(1) << quint64(0) << quint64(0) << quint64(0)
                                  << "scanned in 2.5 s; 1 excluded (*.o, /build)";
    QTest::newRow("files without a length, by length")
        << true << quint64(0) << quint64(3) << quint64(0) << quint64(0)
        << "; 3 files without a length: their size on disk stands in; apparent sizes";
    QTest::newRow("changes followed") << true << quint64(0) << quint64(0) << quint64(12345) << quint64(0)
                                      << "; apparent sizes; following changes in 12,345 folders";
    QTest::newRow("one folder followed") << false << quint64(0) << quint64(0) << quint64(1) << quint64(0)
                                         << "scanned in 2.5 s; following changes in 1 folder";
    QTest::newRow("watches ran out")
        << false << quint64(0) << quint64(0) << quint64(100) << quint64(44)
        << "scanned in 2.5 s; following changes in 100 of 144 folders (the system's watches ran out)";
  }
  void statusLineTellsWhatTheTotalsMeasure() {
    QFETCH(bool, apparent);
    QFETCH(quint64, excluded);
    QFETCH(quint64, withoutLength);
    QFETCH(quint64, followed);
    QFETCH(quint64, unfollowed);
    QFETCH(QString, told);
    TMScanStatus status;
    status.bytes = 1572864;
    status.seconds = 2.5;
    status.measure = apparent ? TMSizeMeasure::kLength : TMSizeMeasure::kOnDisk;
    status.excludedEntries = excluded;
    status.exclusionPatterns = {"*.o", "/build"};
    status.filesWithoutLength = withoutLength;
    status.following = followed + unfollowed > 0;
    status.followedFolders = followed;
    status.unfollowedFolders = unfollowed;
    QVERIFY2(statusTextOf(status).endsWith(told), qPrintable(statusTextOf(status)));
    status.scanning = true;  // a scan under way tells its progress alone
    QVERIFY(!statusTextOf(status).contains(told));
  }

  // After "in", German declines the folders: "in … und 345 Ordnern"; the
  // selection's count stays as it is ("… und 0 Ordner").
  void statusLineWordsInGerman() {
    QTranslator translator;
    QVERIFY(translator.load(QLocale(QLocale::German), "tilemora", "_", ":/i18n"));
    QApplication::installTranslator(&translator);
    TMScanStatus status;
    status.bytes = 1572864;
    status.files = 12000;
    status.folders = 345;
    status.selection = TMSelectionStatus{"photos", 524288, false, true, 1, 0};
    const QString text = statusTextOf(status);
    QApplication::removeTranslator(&translator);
    QVERIFY2(text.contains(" und 345 Ordnern"), qPrintable(text));
    QVERIFY2(text.contains(" und 0 Ordner,"), qPrintable(text));
  }

  void theTrashQuestionNamesTheItemItsSizeAndItsFiles_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<quint64>("files");
    QTest::addColumn<QString>("text");
    QTest::newRow("a file") << false << quint64(0) << "Move \u201Cphotos\u201D (12.3 GB) to the trash?";
    QTest::newRow("a folder of one file") << true << quint64(1)
                                          << "Move \u201Cphotos\u201D (12.3 GB, 1 file) to the trash?";
    QTest::newRow("a folder of many") << true << quint64(4512)
                                      << "Move \u201Cphotos\u201D (12.3 GB, 4,512 files) to the trash?";
    QTest::newRow("two items") << true << quint64(1204) << "Move 2 items (12.3 GB, 1,204 files) to the trash?";
  }
  void theTrashQuestionNamesTheItemItsSizeAndItsFiles() {
    QFETCH(bool, folder);
    QFETCH(quint64, files);
    QFETCH(QString, text);
    TMTrashQuestion question;
    question.item = TMFileURL::fromPath("/home/u/photos");
    question.bytes = uint64_t(12.3 * (1 << 30));
    question.folder = folder;
    question.files = files;
    if (QString(QTest::currentDataTag()) == "two items")
      question.items = {question.item, TMFileURL::fromPath("/home/u/videos")};
    QCOMPARE(TMTrashQuestionBox::questionText(question), text);
    // Several: their names, where the user can look.
    std::unique_ptr<TMTrashQuestionBox> box(TMTrashQuestionBox::ask(nullptr, question, [](bool, bool) {}));
    QCOMPARE(box->detailedText(), question.items.empty() ? QString() : QString("/home/u/photos\n/home/u/videos"));
  }

  void namesWithControlCharactersStayOnOneLine() {
    const TMFileURL url = TMFileURL::fromPath("/tmp/two\nlines\tand\x7F");
    QCOMPARE(TMPathBar::breadcrumbOf(url),
             QString::fromUtf8("/ \u203A tmp \u203A two\u240Alines\u2409and\u2421"));
    TMMainWindow* window = delegate->openUntitledFile();
    window->mapPane().setWindowTitle(url.lastPathComponent());
    QCOMPARE(window->windowTitle(), QString::fromUtf8("two\u240Alines\u2409and\u2421 \u2014 Tilemora"));
  }

  void closingAWindowTellsTheDelegate() {
    delegate->setHasOpenedWindow(true);
    QSignalSpy changed(delegate.get(), &TilemoraAppDelegate::hasOpenedWindowChanged);
    TMMainWindow* window = delegate->openUntitledFile();
    QCOMPARE(changed.count(), 0);
    window->close();
    QTRY_VERIFY(!delegate->hasOpenedWindow());
    QCOMPARE(changed.count(), 1);
  }

  void commandLineSplitsFoldersAndSavedScans_data() {
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<QList<QByteArray>>("folders");
    QTest::addColumn<QList<QByteArray>>("imports");
    using L = QList<QByteArray>;
    QTest::newRow("folders only") << L{"/a", "/b"} << L{"/a", "/b"} << L{};
    QTest::newRow("import with its value apart") << L{"--import", "/s.json", "/a"} << L{"/a"} << L{"/s.json"};
    QTest::newRow("import joined to its value") << L{"--import=/s.json"} << L{} << L{"/s.json"};
    QTest::newRow("import of standard input") << L{"--import", "-"} << L{} << L{"-"};
    QTest::newRow("after -- it is a folder") << L{"--", "--import", "x"} << L{"--import", "x"} << L{};
    QTest::newRow("import without a value") << L{"/a", "--import"} << L{"/a"} << L{};
  }
  void commandLineSplitsFoldersAndSavedScans() {
    QFETCH(QList<QByteArray>, arguments);
    std::vector<const char*> argv{"tilemora"};
    for (const QByteArray& argument : arguments) argv.push_back(argument.constData());
    QTEST(TilemoraAppDelegate::folderArguments(int(argv.size()), argv.data()), "folders");
    QTEST(TilemoraAppDelegate::importArguments(int(argv.size()), argv.data()), "imports");
  }

  void aSavedScanShowsAsImportedWithNothingToDoOnDisk() {
    QTemporaryDir dir;
    const QString file = dir.filePath("saved.json");
    writeTextFile(file, R"([1,2,{"progname":"tilemora-scan","timestamp":1700000000},
[{"name":"/elsewhere/../data"},[{"name":"docs"},{"name":"a.txt","dsize":8192}],{"name":"b.bin","dsize":4096}]])");
    TMMainWindow* window = delegate->openUntitledFile();
    window->importScans({QFile::encodeName(file)});
    QTRY_VERIFY(window->controller().curentlyNavigated() != nullptr);
    QTRY_VERIFY(window->statusLine().fullText().contains("imported"));
    TMMainWindowController& controller = window->controller();
    QVERIFY(controller.isImported());
    // The path names the machine that was scanned: nothing of it is resolved here.
    QCOMPARE(QByteArray::fromStdString(controller.scannedUrl()->path()), QByteArray("/elsewhere/../data"));
    QCOMPARE(controller.curentlyNavigated()->diskSize(), uint64_t(12288));
    QVERIFY(window->statusLine().fullText().startsWith("12.0 KB (12,288 bytes) in 2 files and 1 folder, imported"));
    QWidget& map = window->mapPane().map();
    QTest::mouseClick(&map, Qt::LeftButton, {}, map.rect().center());
    QTRY_VERIFY(window->mapPane().view().selected() != nullptr);
    QVERIFY(!window->mapCommands().reveal().isEnabled());
    QVERIFY(!window->mapCommands().moveToTrash().isEnabled());
    QVERIFY(!window->mapCommands().rescan().isEnabled());
    QVERIFY(window->windowTitle().contains("(imported)"));
    // A folder opened afterwards is a scan again, with everything it allows.
    QTemporaryDir folder;
    controller.openURL(TMFileURL::fromPath(QFile::encodeName(folder.path()).toStdString()));
    QTRY_VERIFY(!controller.isScanning());
    QVERIFY(!controller.isImported());
    QVERIFY(window->mapCommands().rescan().isEnabled());
    QVERIFY(!window->windowTitle().contains("(imported)"));
  }

  void aBrokenSavedScanSaysWhereAndShowsNoMap() {
    QTemporaryDir dir;
    const QString file = dir.filePath("cut.json");
    writeTextFile(file, "[1,2,{},\n[{\"name\":\"/data\"},\n{\"name\":\"a\",\"dsize\":");
    TMMainWindow* window = delegate->openUntitledFile();
    window->importScans({QFile::encodeName(file)});
    QTRY_VERIFY(window->messageView().message().contains("line 3"));
    QVERIFY(window->messageView().message().startsWith("Cannot import"));
    QVERIFY(window->controller().curentlyNavigated() == nullptr);
  }

  // A saved scan from a pipe (a scan under way elsewhere) is shown as it
  // arrives: the map is there, still reading, before the writer is done;
  // Stop ends a read that has gone silent, at once.
  void aSavedScanFromAPipeGrowsOnTheMapAndStopsWhenAsked() {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("scan.fifo"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    TMMainWindow* window = delegate->openUntitledFile();
    window->importScans({fifo});
    // Opened once the window reads it (QTRY_VERIFY would open it twice).
    const auto openWriter = [&] {
      int writer = -1;
      for (int tries = 0; writer < 0 && tries < 500; ++tries) {
        writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer < 0) QTest::qWait(10);
      }
      if (writer >= 0) ::fcntl(writer, F_SETFL, 0);
      return writer;
    };
    int writer = openWriter();
    QVERIFY(writer >= 0);
    auto closeWriter = qScopeGuard([&] { ::close(writer); });
    std::string head = R"([1,2,{"progname":"test","timestamp":1700000000},
[{"name":"/remote/data"},[{"name":"docs"})";
    for (int i = 0; i < 3000; ++i) head += ",\n{\"name\":\"f" + std::to_string(i) + "\",\"dsize\":4096}";
    head += "]";
    QCOMPARE(::write(writer, head.data(), head.size()), ssize_t(head.size()));
    TMMainWindowController& controller = window->controller();
    QTRY_VERIFY(window->mapPane().view().current() != nullptr);
    QTRY_COMPARE(controller.curentlyNavigated()->diskSize(), uint64_t(3000 * 4096));
    QVERIFY(controller.isScanning());
    QVERIFY(window->stopAction().isEnabled());
    const std::string rest = ",\n{\"name\":\"big\",\"dsize\":1048576}]]\n";
    QCOMPARE(::write(writer, rest.data(), rest.size()), ssize_t(rest.size()));
    ::close(std::exchange(writer, -1));
    QTRY_VERIFY(!controller.isScanning());
    QTRY_VERIFY(window->statusLine().fullText().startsWith("12.7 MB (13,336,576 bytes) in 3,001 files and 1 folder, imported"));
    QCOMPARE(QByteArray::fromStdString(controller.scannedUrl()->path()), QByteArray("/remote/data"));

    // Again, the writer then silent: Stop ends the read, the part read is shown stopped.
    window->importScans({fifo});
    writer = openWriter();
    QVERIFY(writer >= 0);
    QCOMPARE(::write(writer, head.data(), head.size()), ssize_t(head.size()));
    QTRY_VERIFY(controller.curentlyNavigated() != nullptr && controller.curentlyNavigated()->diskSize() > 0);
    window->stopAction().trigger();
    QTRY_VERIFY(!controller.isScanning());
    QVERIFY(controller.wasStopped());
    QVERIFY(!window->stopAction().isEnabled());
  }

  // File ▸ Scan as Administrator runs tilemora-scan's helper through pkexec
  // (here a stand-in that runs it, as pkexec does once the password is
  // given): the map is the folder's, read-only, and says why.
  void aScanAsAdministratorIsShownReadOnlyAndSaysWhy() {
    const FakePkexec pkexec;
    QTemporaryDir folder;
    writeTextFile(folder.filePath("a"), std::string(10000, 'x').c_str());
    TMMainWindow* window = delegate->openUntitledFile();
    window->scanAsAdministrator(QFile::encodeName(folder.path()));
    TMMainWindowController& controller = window->controller();
    QTRY_VERIFY(window->statusLine().fullText().contains("scanned as administrator (read-only)"));
    QVERIFY(controller.isAdministratorScan());
    QCOMPARE(QByteArray::fromStdString(controller.scannedUrl()->path()), QFile::encodeName(folder.path()));
    window->mapPane().view().selectURL(
        TMFileURL::fromPath(QFile::encodeName(folder.filePath("a")).toStdString()));
    QTRY_VERIFY(window->mapPane().view().selected() != nullptr);
    QVERIFY(!window->mapCommands().moveToTrash().isEnabled());
    QVERIFY(window->mapCommands().moveToTrash().toolTip().contains("administrator"));
    QVERIFY(!window->selection().openTerminal().isEnabled());
    QVERIFY(window->selection().openTerminal().toolTip().contains("administrator"));
    // An ordinary scan afterwards allows everything again.
    controller.openURL(TMFileURL::fromPath(QFile::encodeName(folder.path()).toStdString()));
    QTRY_VERIFY(!controller.isScanning() && !controller.isImported());
    QVERIFY(!controller.isAdministratorScan());
    QVERIFY(!window->mapCommands().moveToTrash().toolTip().contains("administrator"));
  }

  // A folder refused for want of permission offers to scan it as
  // administrator, there on the page that says so; other failures do not.
  void aFolderRefusedOffersTheScanAsAdministrator_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("offered");
    QTest::newRow("permission denied") << EACCES << true;
    QTest::newRow("no such folder") << ENOENT << false;
  }
  void aFolderRefusedOffersTheScanAsAdministrator() {
    QFETCH(int, error);
    QFETCH(bool, offered);
    const FakePkexec pkexec;
    QTemporaryDir folder;
    TMMainWindow* window = delegate->openUntitledFile();
    // What the controller tells the window (its private base: a C-style
    // cast may name it) when a folder cannot be opened; as root, no folder
    // refuses itself for real.
    auto& host = (TMWindowHost&)*window;
    host.showOpenFailure(TMFileURL::fromPath(QFile::encodeName(folder.path()).toStdString()), std::strerror(error));
    QPushButton* button = window->messageView().actionButton();
    QCOMPARE(button != nullptr && button->isVisibleTo(&window->messageView()), offered);
    if (!offered) return;
    button->click();
    QTRY_VERIFY(window->statusLine().fullText().contains("scanned as administrator"));
    QCOMPARE(QByteArray::fromStdString(window->controller().scannedUrl()->path()), QFile::encodeName(folder.path()));
    // The next message goes without the button.
    host.showOpenFailure(TMFileURL::fromPath("/missing"), std::strerror(ENOENT));
    QVERIFY(!button->isVisibleTo(&window->messageView()));
  }

  // View ▸ Size re-measures the map in place: sizes, order, status and
  // list follow, the selection stays; the choice is kept for the next
  // windows.
  void theSizeMenuReMeasuresTheShownScanKeepingTheSelection() {
    QSettings().remove("preferences");
    auto restore = qScopeGuard([] { QSettings().remove("preferences"); });
    QTemporaryDir folder;
    writeTextFile(folder.filePath("dense"), std::string(20000, 'x').c_str());
    QFile sparse(folder.filePath("sparse"));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(8 << 20));
    sparse.close();
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    TMTreeMapView& view = window->mapPane().view();
    const TMFileURL dense = TMFileURL::fromPath(QFile::encodeName(folder.filePath("dense")).toStdString());
    view.selectURL(dense);
    const uint64_t onDisk = window->controller().curentlyNavigated()->diskSize();
    QCOMPARE(window->list().list().treeModel().index(0, 0).data().toString(), QString("dense"));

    window->mapCommands().sizeMeasures().actions()[1]->trigger();  // Apparent
    QTRY_COMPARE(window->controller().treeMeasure(), TMSizeMeasure::kLength);
    QTRY_VERIFY(window->statusLine().fullText().contains("apparent sizes"));
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), uint64_t(20000 + (8 << 20)));
    QTRY_VERIFY(view.selected() != nullptr && view.selected()->url == dense);
    QCOMPARE(window->list().list().treeModel().index(0, 0).data().toString(), QString("sparse"));
    QCOMPARE(QSettings().value("preferences/sizeMeasure").toString(), QString("apparent"));

    window->mapCommands().sizeMeasures().actions()[0]->trigger();  // On Disk
    QTRY_COMPARE(window->controller().treeMeasure(), TMSizeMeasure::kOnDisk);
    QTRY_VERIFY(!window->statusLine().fullText().contains("apparent"));
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), onDisk);
  }

  // A window opened without a folder offers the disks, the home folder and
  // the recent folders; the keys work from the start, Enter scans.
  void theStartPageListsPlacesAndScansTheOneChosen() {
    QTemporaryDir folder;
    writeTextFile(folder.filePath("file"), "x");
    const QByteArray path = QFile::encodeName(folder.path());
    TMRecentFolders::note(path);
    TMMainWindow* window = delegate->openUntitledFile();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTreeWidget& places = window->startPage().places();
    QTRY_COMPARE(QApplication::focusWidget(), &places);
    // The list, though wanted, waits for a map beside it.
    window->list().showList().setChecked(true);
    QVERIFY(!window->list().list().isVisible());
    // Titles, each followed by its places; the arrows pass over the titles.
    QStringList titles;
    QList<QByteArray> paths;
    for (int i = 0; i < places.topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = places.topLevelItem(i);
      if (item->flags() & Qt::ItemIsEnabled) {
        paths << item->data(0, TMStartPage::kPathRole).toByteArray();
      } else {
        titles << item->text(0);
      }
    }
    QCOMPARE(titles, (QStringList{"Disks", "Home", "Recent folders"}));
    const int home = int(paths.indexOf(QFile::encodeName(QDir::homePath())));
    QVERIFY(home >= 0);
    QCOMPARE(paths.at(home + 1), path);  // the newest recent folder first
    // From the home folder, Down passes over the title to the recent folder.
    for (int i = 0; i < places.topLevelItemCount(); ++i) {
      if (places.topLevelItem(i)->data(0, TMStartPage::kPathRole).toByteArray() == paths.at(home))
        places.setCurrentItem(places.topLevelItem(i));
    }
    QTest::keyClick(&places, Qt::Key_Down);
    QTest::keyClick(&places, Qt::Key_Return);
    QTRY_VERIFY(window->controller().scannedUrl().has_value());
    QCOMPARE(QByteArray::fromStdString(window->controller().scannedUrl()->path()), path);
    QTRY_VERIFY(!window->controller().isScanning());
    QTRY_VERIFY(window->list().list().isVisible());
  }

  // A pattern that is not one says why at once and cannot be kept.
  void preferencesRefuseAPatternThatIsNoneAndSayWhy() {
    QSettings().remove("preferences");
    auto restore = qScopeGuard([] { QSettings().remove("preferences"); });
    TMMainWindow* window = delegate->openUntitledFile();
    delegate->openPreferences(window);
    auto* dialog = window->findChild<TMPreferencesDialog*>();
    QVERIFY(dialog != nullptr);
    QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    dialog->exclusionPatternsChoice().setPlainText("*.o\n\nsrc/[abc");
    QVERIFY(!ok->isEnabled());
    QCOMPARE(dialog->exclusionProblem(),
             QString("Line 3, \u201Csrc/[abc\u201D: \"[\" opens a set of characters that \"]\" never closes"));
    dialog->exclusionPatternsChoice().setPlainText("*.o\n/build");
    dialog->excludeCachesChoice().setChecked(true);
    QVERIFY(ok->isEnabled());
    ok->click();
    const TMPreferences kept = TMPreferences::load();
    QCOMPARE(kept.exclusionPatterns, (std::vector<std::string>{"*.o", "/build"}));
    QVERIFY(kept.excludeCaches && kept.skipVirtualFileSystems);
    QVERIFY(window->controller().scanOptions().exclusions != nullptr);
    QVERIFY(window->controller().scanOptions().exclusions->matches("build", ""));
  }

  void preferencesKeepTheirChoicesAndApplyThem() {
    QSettings().remove("preferences");
    auto restore = qScopeGuard([] {
      QSettings().remove("preferences");
      TMSizeFormatter::setSharedUnits(TMSizeUnits::Formatter);
    });
    const TMPreferences defaults = TMPreferences::load();
    QVERIFY(defaults.units == TMSizeUnits::Formatter);
    QVERIFY(!defaults.scanOptions.hardLinksOnce && !defaults.scanOptions.crossMountPoints);
    QCOMPARE(defaults.scanOptions.threads, 0u);  // one per processor
    QVERIFY(defaults.askBeforeTrash && defaults.showFreeSpace);

    QTemporaryDir folder;
    writeTextFile(folder.filePath("file"), std::string(5000, 'x').c_str());
    QVERIFY(::link(QFile::encodeName(folder.filePath("file")).constData(),
                   QFile::encodeName(folder.filePath("link")).constData()) == 0);
    TMMainWindow* window = delegate->openFile(folder.path());
    QTRY_VERIFY(!window->controller().isScanning());
    const uint64_t everyLink = window->controller().curentlyNavigated()->diskSize();
    QVERIFY(window->statusLine().fullText().contains(" KB ("));

    delegate->openPreferences(window);
    auto* dialog = window->findChild<TMPreferencesDialog*>();
    QVERIFY(dialog != nullptr);
    dialog->unitsChoice().setCurrentIndex(dialog->unitsChoice().findData(int(TMSizeUnits::Binary)));
    dialog->hardLinksChoice().setCurrentIndex(dialog->hardLinksChoice().findData(true));
    dialog->threadsChoice().setValue(4);
    // Each choice of units is labelled as the map writes sizes with it.
    QCOMPARE(dialog->unitsChoice().itemText(0), QString("1 KB = 1,024 bytes: KB, MB, GB"));
    dialog->askBeforeTrashChoice().setChecked(false);
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();

    QCOMPARE(QSettings().value("preferences/sizeUnits").toString(), QString("iec"));
    QCOMPARE(QSettings().value("preferences/hardLinksOnce").toBool(), true);
    QCOMPARE(QSettings().value("preferences/crossMountPoints").toBool(), false);
    QCOMPARE(QSettings().value("preferences/scanThreads").toUInt(), 4u);
    QCOMPARE(window->controller().scanOptions().threads, 4u);
    QVERIFY(!window->controller().asksBeforeTrash());
    // Sizes change at once, in the open window too.
    QCOMPARE(QString::fromStdString(TMSizeFormatter::sharedInstance().formatSize(2048)), QString("2.0 KiB"));
    QVERIFY(window->statusLine().fullText().contains(" KiB ("));
    // The count of links from the next scan on.
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), everyLink);
    window->mapCommands().rescan().trigger();
    QTRY_VERIFY(!window->controller().isScanning());
    QCOMPARE(window->controller().curentlyNavigated()->diskSize(), everyLink / 2);
    // A number that cannot be a thread count reads as the default.
    QSettings().setValue("preferences/scanThreads", "many");
    QCOMPARE(TMPreferences::load().scanOptions.threads, 0u);
  }

  void theVersionTextNamesVersionAndBuild() {
    QCOMPARE(TilemoraAppDelegate::versionString(),
             QStringLiteral("Version %1 (%2)").arg(TILEMORA_VERSION, TILEMORA_BUILD_NUMBER));
  }

 private:
  std::shared_ptr<TMQtMainQueue> queue;
  std::unique_ptr<TilemoraAppDelegate> delegate;
};

// Each translation the program carries: complete, every placeholder kept,
// and built into the program where the loading looks for it.
class TMTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void isCompleteAndKeepsEveryPlaceholder_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << "de";
    QTest::newRow("French") << "fr";
  }
  void isCompleteAndKeepsEveryPlaceholder() {
    QFETCH(QString, language);
    QFile file(QStringLiteral(TILEMORA_SOURCE_DIR "/translations/tilemora_%1.ts").arg(language));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QTranslator built;
    QVERIFY(built.load(QLocale(language), QStringLiteral("tilemora"), QStringLiteral("_"), QStringLiteral(":/i18n")));
    QXmlStreamReader reader(&file);
    QString context, source;
    QStringList forms;
    bool numerus = false, finished = true;
    int messages = 0;
    while (!reader.atEnd()) {
      reader.readNext();
      if (reader.isStartElement() && reader.name() == QLatin1String("name")) context = reader.readElementText();
      if (reader.isStartElement() && reader.name() == QLatin1String("message")) {
        numerus = reader.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        forms.clear();
      }
      if (reader.isStartElement() && reader.name() == QLatin1String("source")) source = reader.readElementText();
      if (reader.isStartElement() && reader.name() == QLatin1String("translation")) {
        finished = !reader.attributes().hasAttribute(QLatin1String("type"));
        if (!numerus) forms << reader.readElementText();
      }
      if (reader.isStartElement() && reader.name() == QLatin1String("numerusform")) forms << reader.readElementText();
      if (reader.isEndElement() && reader.name() == QLatin1String("message")) {
        ++messages;
        const QString where = context + ": " + source;
        QVERIFY2(finished && !forms.isEmpty(), qPrintable("untranslated: " + where));
        for (const QString& form : forms) {
          QVERIFY2(!form.trimmed().isEmpty(), qPrintable("empty: " + where));
          QCOMPARE(placeholders(form), placeholders(source));
        }
        // What the program loads says the same.
        const QString loaded = built.translate(context.toUtf8().constData(), source.toUtf8().constData(), nullptr,
                                               numerus ? 1 : -1);
        QCOMPARE(loaded, forms.front());
      }
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QVERIFY(messages > 150);
  }

 private:
  // The placeholders of a text, sorted: %1…%99, %n, %Ln.
  static QStringList placeholders(const QString& text) {
    QStringList found;
    static const QRegularExpression pattern(QStringLiteral("%(L?n|[1-9][0-9]?)"));
    for (auto match = pattern.globalMatch(text); match.hasNext();) found << match.next().captured();
    found.sort();
    return found;
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A trash of the tests' own, on the file system of the temporary folders.
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  QApplication application(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // grouped digits, a point
  QApplication::setOrganizationName("TilemoraTests");  // keeps the user's recent folders apart
  int failures = 0;
  {
    TMMessageViewTest messages;
    failures += QTest::qExec(&messages, argc, argv);
  }
  {
    TMAppShellTest shell;
    failures += QTest::qExec(&shell, argc, argv);
  }
  {
    TMTranslationTest translations;
    failures += QTest::qExec(&translations, argc, argv);
  }
  return failures == 0 ? 0 : 1;
}

#include "TMAppTests.moc"
