// SPDX-License-Identifier: GPL-3.0-or-later
// The map pane under Qt's offscreen platform: how mouse, wheel, keys, the
// scroll bars and the path bar reach the view, and reveal reaching a file
// manager over D-Bus (a fake one on the private session bus this test runs
// in) or, when none answers, the folder being opened instead.

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

#include <QMessageBox>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

#include "actions/TMFileManagerReveal.h"
#include "map/TMInputMapping.h"
#include "map/TMMapAccessibility.h"
#include "map/TMMapPane.h"
#include "map/TMPathBar.h"
#include "actions/TMTrashQuestionBox.h"
#include "map/TMTreeMapWidget.h"
#include "support/TMLayoutUnderTest.h"
#include "support/TMMemoryFileSystem.h"
#include "support/TMScanRunner.h"
#include "view/map/TMSharedLayout.h"

using namespace tilemora;
using tilemora::test::TMMemoryEntry;

// What a file manager would be asked, and what the desktop would open.
class TMFakeDesktop : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

 public:
  QStringList shown;
  QList<QUrl> opened;

 public slots:
  void ShowItems(const QStringList& uris, const QString&) { shown << uris; }
  void openUrl(const QUrl& url) { opened << url; }
};

class TMMapPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    pane = std::make_unique<TMMapPane>();
    pane->resize(420, 340);
    pane->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane.get()));
    using E = TMMemoryEntry;
    auto fileSystem = std::make_shared<test::TMMemoryFileSystem>(E::directory(
        "data", {E::directory("big", {E::file("a", 400), E::file("b", 200)}), E::file("e", 200)}));
    tree = test::scanToEnd("/data", fileSystem).root;
    view().setTreeMap(makeSharedLayout(tree, 65536, layoutBuiltUnderTest()), TMFileURL::fromPath("/data"));
  }
  void cleanup() { pane.reset(); }

  void wheelDeltasBecomeLines_data() {
    QTest::addColumn<QPoint>("pixels");
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<QPointF>("units");
    QTest::newRow("one notch up") << QPoint() << QPoint(0, 120) << QPointF(0, 3);
    QTest::newRow("half a notch left") << QPoint() << QPoint(60, 0) << QPointF(1.5, 0);
    QTest::newRow("touchpad pixels win") << QPoint(0, -25) << QPoint(0, -120) << QPointF(0, -2.5);
  }
  void wheelDeltasBecomeLines() {
    QFETCH(QPoint, pixels);
    QFETCH(QPoint, angle);
    QFETCH(QPointF, units);
    QCOMPARE(wheelUnitsOf(pixels, angle, 3), units);
  }

  void scrollBarActionsAreParts_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("part");
    QTest::newRow("page up") << int(QAbstractSlider::SliderPageStepSub) << int(TMScrollerPart::kDecrementPage);
    QTest::newRow("page down") << int(QAbstractSlider::SliderPageStepAdd) << int(TMScrollerPart::kIncrementPage);
    QTest::newRow("line up") << int(QAbstractSlider::SliderSingleStepSub) << int(TMScrollerPart::kDecrementLine);
    QTest::newRow("line down") << int(QAbstractSlider::SliderSingleStepAdd) << int(TMScrollerPart::kIncrementLine);
    QTest::newRow("drag") << int(QAbstractSlider::SliderMove) << int(TMScrollerPart::kKnob);
    QTest::newRow("to the end") << int(QAbstractSlider::SliderToMaximum) << int(TMScrollerPart::kKnob);
  }
  void scrollBarActionsAreParts() {
    QFETCH(int, action);
    QFETCH(int, part);
    QCOMPARE(int(scrollerPartOf(action)), part);
  }

  void aClickSelectsAndADoubleClickOnAFolderNarrowsWithAnimation() {
    TMTreeMapWidget& map = pane->map();
    const QPoint file = widgetPointOf("/data/e", false);
    QTest::mouseClick(&map, Qt::LeftButton, {}, file);
    QCOMPARE(selectedPath(), QString("/data/e"));
    QCOMPARE(pane->window()->windowTitle(), QString("e \u2014 Tilemora"));
    QCOMPARE(pane->pathBar().url()->path(), std::string("/data/e"));

    const QPoint folder = widgetPointOf("/data/big", true);
    // As a window system sends it: a click, then a double-click event in
    // place of the second press, then its release.
    QTest::mouseClick(&map, Qt::LeftButton, {}, folder);
    QTest::mouseDClick(&map, Qt::LeftButton, {}, folder);
    QTest::mouseRelease(&map, Qt::LeftButton, {}, folder);
    QVERIFY(view().isLocked());
    QTRY_VERIFY(!view().isLocked());
    QCOMPARE(QString::fromStdString(view().current()->url.path()), QString("/data/big"));
    QCOMPARE(view().virtualSize(), view().frame());
  }

  void dragPansWithTheClosedHandAndSelectsNothing() {
    view().stretchBy(-0.5, -0.5);
    const TMRect before = view().virtualSize();
    TMTreeMapWidget& map = pane->map();
    QTest::mousePress(&map, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(&map, QPoint(230, 170));
    QCOMPARE(map.cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseRelease(&map, Qt::LeftButton, {}, QPoint(230, 170));
    QCOMPARE(view().selected(), nullptr);
    QVERIFY(!map.testAttribute(Qt::WA_SetCursor));
    // At 2× the map moves with the pointer: 30 by 20 pixels are 15 by 10 units.
    QCOMPARE(view().virtualSize().x, std::max(before.x - 15, 0.0));
    QCOMPARE(view().virtualSize().y, before.y + 10);
  }

  void theWheelScrollsAndControlOrAPinchZooms() {
    view().stretchBy(-0.5, -0.5);
    const TMRect before = view().virtualSize();
    sendWheel(QPoint(0, 120), Qt::NoModifier);
    QCOMPARE(view().virtualSize().y, before.y + 3);
    sendWheel(QPoint(0, 120), Qt::ControlModifier);  // 3 lines: 6 % in, no animation
    QVERIFY(!view().isLocked());
    QVERIFY(qAbs(view().virtualSize().width - before.width * (1 + 3 * double(-0.02f))) < 1e-9);
    const double width = view().virtualSize().width;
    const QPointF middle(100, 100);
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, middle,
                              middle, pane->map().mapToGlobal(middle), 0.25, QPointF());
    QCoreApplication::sendEvent(&pane->map(), &pinch);
    QVERIFY(qAbs(view().virtualSize().width - width * 0.75) < 1e-9);
  }

  void arrowKeysMoveTheSelection() {
    QTest::mouseClick(&pane->map(), Qt::LeftButton, {}, widgetPointOf("/data/big/a", false));
    QCOMPARE(selectedPath(), QString("/data/big/a"));
    QTest::keyClick(&pane->map(), Qt::Key_Right);
    QCOMPARE(selectedPath(), QString("/data/big/b"));
  }

  void aPageStepOnTheScrollBarMovesTheViewAndTheKnob() {
    view().stretchBy(-0.5, -0.5);
    QScrollBar& vertical = pane->verticalScroller();
    QCOMPARE(vertical.value(), vertical.maximum() / 2);
    vertical.triggerAction(QAbstractSlider::SliderPageStepAdd);
    const TMRect v = view().virtualSize();
    QVERIFY(qAbs(v.y - 0.4 * (view().frame().height - v.height)) < 1e-6);
    QCOMPARE(vertical.value(), int(std::lround(0.6 * vertical.maximum())));
  }

  void doubleClickingAPathComponentGoesUpToIt() {
    view().focusOn(TMFileURL::fromPath("/data/big"));
    QTRY_VERIFY(!view().isLocked());
    TMPathBar& bar = pane->pathBar();
    int x = 0;
    while (x < bar.width() && bar.componentAt(x) != TMFileURL::fromPath("/data")) ++x;
    QTest::mouseDClick(&bar, Qt::LeftButton, {}, QPoint(x + 2, bar.height() / 2));
    QTRY_VERIFY(!view().isLocked());
    QCOMPARE(QString::fromStdString(view().current()->url.path()), QString("/data"));
    QVERIFY(view().isAtTopLevel());
  }

  // Assistive technology sees a named map whose focused child is the
  // selected tile, told when the selection changes.
  void theMapIsAccessibleAndTellsItsSelection() {
    static QStringList* told = nullptr;
    QStringList events;
    told = &events;
    setAccessibleEventSink([](QAccessibleEvent* event) {
      QAccessibleInterface* target = event->accessibleInterface();
      *told << QString::number(int(event->type())) + ' ' + (target ? target->text(QAccessible::Name) : QString());
    });
    TMTreeMapWidget& map = pane->map();
    QAccessibleInterface* mapInterface = QAccessible::queryAccessibleInterface(&map);
    QVERIFY(mapInterface != nullptr);
    QCOMPARE(mapInterface->role(), QAccessible::Graphic);
    QCOMPARE(mapInterface->text(QAccessible::Name), QString("Map"));
    QVERIFY(mapInterface->text(QAccessible::Description).contains("/data"));
    QCOMPARE(mapInterface->childCount(), 0);

    QTest::mouseClick(&map, Qt::LeftButton, {}, widgetPointOf("/data/big/b", false));
    map.noteSelection();  // as the window does on every change of the view's state
    map.noteSelection();  // told once
    QCOMPARE(mapInterface->childCount(), 1);
    QAccessibleInterface* tile = mapInterface->focusChild();
    QVERIFY(tile != nullptr);
    QCOMPARE(mapInterface->indexOfChild(tile), 0);
    QCOMPARE(tile->role(), QAccessible::TreeItem);
    QCOMPARE(tile->text(QAccessible::Name), QString("b"));
    QCOMPARE(tile->text(QAccessible::Description), QString("100.0 KB, in /data/big"));
    QVERIFY(tile->state().selected);
    QVERIFY(mapInterface->rect().contains(tile->rect()));
    QCOMPARE(mapInterface->childAt(tile->rect().center().x(), tile->rect().center().y()), tile);

    // Another tile is another object, with its own name: a listener that
    // keeps what it learnt of the first hears the second by its name.
    const QAccessible::Id first = QAccessible::uniqueId(tile);
    QTest::mouseClick(&map, Qt::LeftButton, {}, widgetPointOf("/data/e", false));
    map.noteSelection();
    QVERIFY(QAccessible::accessibleInterface(first) == nullptr);
    QCOMPARE(mapInterface->focusChild()->text(QAccessible::Name), QString("e"));

    // A new map: nothing is selected any more.
    view().setTreeMap(makeSharedLayout(tree, 65536, layoutBuiltUnderTest()), TMFileURL::fromPath("/data"));
    map.noteSelection();
    QCOMPARE(mapInterface->childCount(), 0);
    QCOMPARE(events, QStringList({QString::number(int(QAccessible::Focus)) + " b",
                                  QString::number(int(QAccessible::Selection)) + " b",
                                  QString::number(int(QAccessible::Focus)) + " e",
                                  QString::number(int(QAccessible::Selection)) + " e",
                                  QString::number(int(QAccessible::SelectionRemove)) + " Map"}));
    setAccessibleEventSink(nullptr);
    told = nullptr;
  }

  void theTooltipNamesThePathAndTheExactSize() {
    const QString text = pane->map().toolTipAt(widgetPointOf("/data/e", false));
    QVERIFY2(text.startsWith("/data/e\n"), qPrintable(text));
    QVERIFY2(text.contains(QLocale().toString(200 * 512) + " bytes"), qPrintable(text));
  }

  void revealFallsBackToOpeningTheFolderWhenNoFileManagerAnswers() {
    TMFakeDesktop desktop;
    QDesktopServices::setUrlHandler("file", &desktop, "openUrl");
    revealInFileManager(TMFileURL::fromPath("/data/big/a"), TMFileURL::fromPath("/data/big"));
    QTRY_COMPARE(desktop.opened.size(), 1);
    QCOMPARE(desktop.opened[0].toLocalFile(), QString("/data/big"));
    QDesktopServices::unsetUrlHandler("file");
  }

  void revealThatReachesNothingSaysSoInTheWindow() {
    // No file manager on this bus, and offscreen no application opens folders.
    QTest::mouseClick(&pane->map(), Qt::LeftButton, {}, widgetPointOf("/data/e", false));
    view().revealSelectionInFinder();
    QTRY_VERIFY(pane->findChild<QMessageBox*>("warning") != nullptr);
    QCOMPARE(pane->findChild<QMessageBox*>("warning")->text(),
             QString("\u201Ce\u201D cannot be shown in a file manager."));
  }

  void revealAsksTheFileManagerWithTheRawBytesOfTheName() {
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-file-manager");
    QVERIFY2(bus.isConnected(), "run this test in dbus-run-session");
    TMFakeDesktop desktop;
    QVERIFY(bus.registerObject("/org/freedesktop/FileManager1", &desktop, QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService("org.freedesktop.FileManager1"));
    QDesktopServices::setUrlHandler("file", &desktop, "openUrl");

    revealInFileManager(TMFileURL::fromPath("/data/caf\xE9 \xC3\xA9"), TMFileURL::fromPath("/data"));
    QTRY_COMPARE(desktop.shown.size(), 1);
    QCOMPARE(desktop.shown[0], QString("file:///data/caf%E9%20%C3%A9"));
    QTest::qWait(50);
    QVERIFY(desktop.opened.isEmpty());
    QDesktopServices::unsetUrlHandler("file");
    bus.unregisterService("org.freedesktop.FileManager1");
  }

  // A refusal of the trash, and the question before it, name the item as
  // it is: a name that looks like markup is shown as plain text.
  void messagesNameItemsAsPlainText_data() {
    QTest::addColumn<bool>("question");
    QTest::newRow("a refusal of the trash") << false;
    QTest::newRow("the question before it") << true;
  }
  void messagesNameItemsAsPlainText() {
    QFETCH(bool, question);
    const std::string name = "<h1>BIG<font color=red>thesis.odt";
    const TMFileURL item = TMFileURL::fromPath("/no/such/" + name);
    QMessageBox* box = nullptr;
    std::string reason;
    if (question) {
      box = TMTrashQuestionBox::ask(pane->window(), {item, 200000, false, 0, false, {}}, [](bool, bool) {});
    } else {
      const TMTrashResult result = pane->moveToTrash({TMFileURL::fromPath("/no/such"), {}, item, false});
      QVERIFY(!result.moved);
      reason = result.reason;
      pane->showDeletionFailure(item, reason);
      box = pane->window()->findChild<QMessageBox*>("warning");
    }
    QVERIFY(box != nullptr);
    QVERIFY(box->text().contains(QString::fromStdString(name)));
    if (!question) QCOMPARE(box->informativeText(), QString::fromStdString(reason));
    const QList<QLabel*> labels = box->findChildren<QLabel*>();
    QVERIFY(!labels.isEmpty());
    for (QLabel* label : labels) QCOMPARE(label->textFormat(), Qt::PlainText);
    box->close();
  }

 private:
  TMTreeMapView& view() { return pane->view(); }
  QString selectedPath() {
    return view().selected() ? QString::fromStdString(view().selected()->url.path()) : QString();
  }
  // Where a node lies in the widget (y down): its centre, or its title band.
  QPoint widgetPointOf(const std::string& path, bool title) {
    const std::vector<std::string> parts = TMFileURL::fromPath(path).pathComponents();
    std::shared_ptr<TMLayoutNode> layout = view().current()->layout;
    const int32_t start = int32_t(view().current()->url.pathComponents().size()) - 1;
    const TMDrawInfo_t info = view().searchWithFunction(
        [&](TMDrawInfo_t& record, const TMRect& bounds) {
          return layout->getNodeAtPathParts(parts, start, record, bounds);
        },
        view().current()->url);
    const TMRect r = info.selection.rect;
    const double y = title ? r.y + r.height - 7 : r.y + r.height / 2;
    return QPoint(int(r.x + r.width / 2), int(pane->map().height() - y));
  }
  void sendWheel(QPoint angle, Qt::KeyboardModifiers modifiers) {
    const QPointF middle(pane->map().width() / 2.0, pane->map().height() / 2.0);
    QWheelEvent wheel(middle, pane->map().mapToGlobal(middle), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&pane->map(), &wheel);
  }

  std::unique_ptr<TMMapPane> pane;
  std::shared_ptr<TMFileTree> tree;
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A trash of the test's own, on the file system of the temporary folders.
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  QApplication application(argc, argv);
  QApplication::setWheelScrollLines(3);
  TMMapPaneTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "TMMapPaneTests.moc"
