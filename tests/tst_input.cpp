#include "FormRig.h"

#include <QMenuBar>
#include <QMimeData>
#include <QTabletEvent>
#include <QTemporaryDir>

#include <memory>

namespace {

// What a child can see of the window after a gesture.
struct Seen {
    QImage canvas;
    qint16 tool = 0;
    QRgb line = 0;
    QRgb fill = 0;
    QString tab;
    QString title;
    bool menuOpen = false;

    explicit Seen(const FormRig& rig)
        : canvas(rig.canvas()), tool(rig.currentTool()), line(rig.palette().Picture8->backColor()),
          fill(rig.palette().Picture9->backColor()), tab(rig.tabStrip()->selectedCaption()),
          title(rig.title()), menuOpen(rig.commandBar().menu()->isVisible()) {}

    // Empty when both saw the same.
    QString differences(const Seen& other) const {
        QStringList found;
        if (canvas != other.canvas) {
            int differing = 0;
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = 0; x < canvas.width(); ++x)
                    differing += canvas.pixel(x, y) != other.canvas.pixel(x, y);
            found << QString("%1 pixels of the canvas").arg(differing);
        }
        if (tool != other.tool)
            found << QString("tool %1, not %2").arg(tool).arg(other.tool);
        if (line != other.line || fill != other.fill)
            found << "the swatches";
        if (tab != other.tab)
            found << QString("tab %1, not %2").arg(tab, other.tab);
        if (title != other.title)
            found << QString("title %1, not %2").arg(title, other.title);
        if (menuOpen != other.menuOpen)
            found << (menuOpen ? "the menu open" : "the menu closed");
        return found.join(", ");
    }
};

constexpr int kRedCell = 16;
constexpr int kBlueCell = 36;

// A canvas pixel from "30,40", or from "@cell16", the middle of a palette cell.
QPoint canvasPoint(const FormRig& rig, const QString& text) {
    if (text.startsWith("@cell"))
        return rig.canvasWidget()->mapFrom(
            rig.form.get(),
            rig.palette().cell(text.mid(5).toInt())->mapTo(rig.form.get(), QPoint(8, 8)));
    const QStringList xy = text.split(',');
    return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
}

} // namespace

// Fingers, a pen and dropped files through the real window.
class TestInput : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    QTemporaryDir dir;
    QImage picture{300, 200, QImage::Format_RGB32};
    QPointingDevice* touchScreen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);

    // Red as the line colour, blue as the fill colour, and `tool` in use, so
    // the left and the right button draw differently.
    void prepare(int tool) {
        FormRig::press(rig.palette().cell(kRedCell), Qt::LeftButton, QPoint(8, 8));
        FormRig::press(rig.palette().cell(kBlueCell), Qt::RightButton, QPoint(8, 8));
        FormRig::press(rig.button(tool));
    }

    // Fingers on the canvas, one touch event a word: "d0:30,40" finger 0 down
    // there, "m0:…" moved, "u0:…" up, "+" joins changes of one event, and "c"
    // is the system cancelling the touch. Fingers down and not named rest.
    void touch(const QString& script) {
        QSet<int> down;
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            if (word == "c") {
                QTouchEvent cancel(QEvent::TouchCancel, touchScreen);
                QApplication::sendEvent(rig.form->windowHandle(), &cancel);
                down.clear();
                continue;
            }
            auto sequence = QTest::touchEvent(rig.form.get(), touchScreen);
            QSet<int> named;
            for (const QString& change : word.split('+')) {
                const int id = change.mid(1, change.indexOf(':') - 1).toInt();
                const QPoint at = canvasPoint(rig, change.section(':', 1));
                named.insert(id);
                if (change.startsWith('d')) {
                    sequence.press(id, at, rig.canvasWidget());
                    down.insert(id);
                } else if (change.startsWith('m')) {
                    sequence.move(id, at, rig.canvasWidget());
                } else {
                    sequence.release(id, at, rig.canvasWidget());
                    down.remove(id);
                }
            }
            for (int id : down)
                if (!named.contains(id))
                    sequence.stationary(id);
        }
    }

    // The left button on the canvas: "p:30,40" press, "m:…" move held, "r:…" release.
    void mouse(const QString& script) {
        for (const QString& word : script.split(' ', Qt::SkipEmptyParts)) {
            const QPoint at = canvasPoint(rig, word.section(':', 1));
            if (word.startsWith('p'))
                rig.send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            else if (word.startsWith('m'))
                rig.send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
            else
                rig.send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        }
    }

    // A pen event sent to the window at a canvas pixel, as the window system
    // sends it; true when the window took it, so that Qt makes no mouse event of it.
    bool pen(const QPointingDevice& device, QEvent::Type type, QPoint at, Qt::MouseButton button,
             Qt::MouseButtons buttons) {
        const QPointF global = rig.canvasWidget()->mapToGlobal(QPointF(at));
        QTabletEvent event(type, &device, rig.form->mapFromGlobal(global), global,
                           buttons == Qt::NoButton ? 0 : 0.7, 12, -20, 0, 0, 0, Qt::NoModifier,
                           button, buttons);
        QApplication::sendEvent(rig.form->windowHandle(), &event);
        return event.isAccepted();
    }

    // What a drag of `data` over the canvas, and its drop, came to, sent to
    // the window as the window system sends them. Shift is held, so the file
    // manager proposes to move the file.
    struct Dragged {
        bool entered, moved, dropped;
        Qt::DropAction action;
    };
    Dragged dragAndDrop(const QMimeData& data) {
        QWindow* window = rig.form->windowHandle();
        const QPoint at = rig.canvasWidget()->mapTo(rig.form.get(), QPoint(100, 100));
        const Qt::DropActions offered = Qt::MoveAction | Qt::CopyAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at + QPoint(20, 5), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(window, &move);
        QDropEvent drop(at + QPoint(20, 5), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(window, &drop);
        return {enter.isAccepted(), move.isAccepted(), drop.isAccepted(), drop.dropAction()};
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        picture.fill(qRgb(30, 90, 200));
        QVERIFY(picture.save(dir.filePath("bild.bmp"), "BMP"));
        QVERIFY(picture.save(dir.filePath("annan.bmp"), "BMP"));
        QFile text(dir.filePath("trasig.bmp"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("ingen bild") > 0);
    }
    void cleanup() { rig.form.reset(); }

    // The first finger on the canvas is the left button, whatever the other
    // fingers do: the same gesture with the mouse leaves the same window.
    void fingerOnCanvas_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QString>("fingers");
        QTest::addColumn<QString>("mouse");
        const QString stroke = "d0:30,40 m0:90,60 m0:160,140 m0:150,300 u0:150,300";
        const QString mouseStroke = "p:30,40 m:90,60 m:160,140 m:150,300 r:150,300";
        QTest::newRow("5-pixel pen") << 186 << stroke << mouseStroke;
        QTest::newRow("broad brush") << 194 << stroke << mouseStroke;
        QTest::newRow("filled ellipse, previewed on every move") << 193 << stroke << mouseStroke;
        QTest::newRow("straight line") << 191 << stroke << mouseStroke;
        QTest::newRow("stamp") << 5 << "d0:100,100 u0:100,100"
                               << "p:100,100 r:100,100";
        QTest::newRow("second finger on the canvas and the palette mid-stroke")
            << 186
            << "d0:30,40 m0:90,60 d1:200,150 m1:220,170+m0:120,80 d2:@cell16 u2:@cell16 "
               "u1:220,170 m0:160,140 u0:160,140"
            << "p:30,40 m:90,60 m:120,80 m:160,140 r:160,140";
        QTest::newRow("first finger up first: the second one never takes over")
            << 190 << "d0:30,40 m0:90,60 d1:200,150 u0:90,60 m1:250,200 u1:250,200"
            << "p:30,40 m:90,60 r:90,60";
        QTest::newRow("two fingers landing together")
            << 189 << "d0:30,40+d1:300,300 m0:90,60+m1:320,330 u0:90,60+u1:320,330"
            << "p:30,40 m:90,60 r:90,60";
        QTest::newRow("cancelled by the system, then a new stroke")
            << 192 << "d0:30,40 m0:90,60 c d0:150,150 m0:200,220 u0:200,220"
            << "p:30,40 m:90,60 r:90,60 p:150,150 m:200,220 r:200,220";
    }
    void fingerOnCanvas() {
        QFETCH(int, tool);
        QFETCH(QString, fingers);
        QFETCH(QString, mouse);
        QVERIFY(rig.show());
        prepare(tool);
        const Seen before(rig);
        touch(fingers);
        const Seen byFinger(rig);
        QVERIFY(byFinger.canvas != before.canvas);
        // The gesture has ended as the mouse's does: its steps are taken back alike.
        rig.key(Qt::Key_Z, Qt::ControlModifier);
        const Seen undoneByFinger(rig);
        QVERIFY(rig.show());
        prepare(tool);
        this->mouse(mouse);
        const Seen byMouse(rig);
        rig.key(Qt::Key_Z, Qt::ControlModifier);
        const Seen undoneByMouse(rig);
        QVERIFY2(byFinger.differences(byMouse).isEmpty(),
                 qPrintable(byFinger.differences(byMouse)));
        QVERIFY2(undoneByFinger.differences(undoneByMouse).isEmpty(),
                 qPrintable("after Ctrl+Z: " + undoneByFinger.differences(undoneByMouse)));
    }

    // A tap elsewhere in the window is the left button's click there.
    void tapOnControls_data() {
        QTest::addColumn<QString>("control");
        for (const char* control : {"palette cell", "tool button", "stamp tab", "scene", "menu"})
            QTest::newRow(control) << QString(control);
    }
    void tapOnControls() {
        QFETCH(QString, control);
        const auto where = [&]() -> QPoint {
            QWidget* form = rig.form.get();
            if (control == "palette cell")
                return rig.palette().cell(kRedCell)->mapTo(form, QPoint(8, 8));
            if (control == "tool button")
                return rig.button(193)->mapTo(form, rig.button(193)->rect().center());
            if (control == "stamp tab")
                return rig.tabStrip()->mapTo(form, rig.tabStrip()->tabRect(12).center());
            if (control == "scene")
                return rig.scenes().thumbnail(2)->mapTo(form, QPoint(10, 10));
            QMenuBar* bar = rig.form->menuBar();
            return bar->mapTo(form,
                              bar->actionGeometry(rig.commandBar().menu()->menuAction()).center());
        };
        QVERIFY(rig.show());
        const Seen before(rig);
        const QPoint tapped = where();
        QTest::touchEvent(rig.form.get(), touchScreen).press(0, tapped);
        QTest::touchEvent(rig.form.get(), touchScreen).release(0, tapped);
        const Seen byFinger(rig);
        QVERIFY(rig.show());
        QWidget* target = rig.form->childAt(tapped);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(rig.form.get(), tapped));
        const Seen byMouse(rig);
        QVERIFY2(!byFinger.differences(before).isEmpty(), "the tap did nothing");
        QVERIFY2(byFinger.differences(byMouse).isEmpty(),
                 qPrintable(byFinger.differences(byMouse)));
    }

    // One local file dropped on the window opens as Open does; anything else
    // is refused while it is dragged, and its drop changes nothing.
    void dropOnWindow_data() {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("midStroke");
        const auto file = [this](const char* name) {
            return QUrl::fromLocalFile(dir.filePath(name));
        };
        QTest::newRow("a picture") << QList<QUrl>{file("bild.bmp")} << QString() << true << false;
        QTest::newRow("a file that is no picture")
            << QList<QUrl>{file("trasig.bmp")} << QString() << true << false;
        QTest::newRow("two pictures")
            << QList<QUrl>{file("bild.bmp"), file("annan.bmp")} << QString() << false << false;
        QTest::newRow("a folder") << QList<QUrl>{QUrl::fromLocalFile(dir.path())} << QString()
                                  << false << false;
        QTest::newRow("a remote picture")
            << QList<QUrl>{QUrl("https://example.org/bild.bmp")} << QString() << false << false;
        QTest::newRow("a picture while a button is held on the canvas")
            << QList<QUrl>{file("bild.bmp")} << QString() << false << true;
        QTest::newRow("a path as plain text")
            << QList<QUrl>{} << dir.filePath("bild.bmp") << false << false;
    }
    void dropOnWindow() {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(bool, midStroke);
        QVERIFY(rig.show());
        rig.drawSomething();
        if (midStroke)
            rig.press(QPoint(50, 50));
        const Seen before(rig);
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);

        const Dragged dragged = dragAndDrop(data);
        QCOMPARE(dragged.entered, taken);
        QCOMPARE(dragged.moved, taken);
        QCOMPARE(dragged.dropped, taken);
        QVERIFY(rig.dialogs.questions.isEmpty());
        QCOMPARE(rig.dialogs.unscripted, 0);
        const Seen after(rig);
        if (midStroke)
            rig.release(QPoint(50, 50));
        const QString path = urls.value(0).toLocalFile();
        if (!taken) {
            QVERIFY2(after.differences(before).isEmpty(), qPrintable(after.differences(before)));
            QVERIFY(rig.dialogs.warnings.isEmpty());
        } else if (path.endsWith("bild.bmp")) {
            // Copied, so that the file manager keeps its file.
            QCOMPARE(dragged.action, Qt::CopyAction);
            QVERIFY(QFileInfo::exists(path));
            QCOMPARE(rig.title(), QDir::toNativeSeparators(path) + " - Pensilo");
            QCOMPARE(rig.canvas().copy(0, 0, 300, 200), picture);
            QVERIFY(rig.dialogs.warnings.isEmpty());
            rig.key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(Seen(rig).differences(before).isEmpty(),
                     qPrintable("after Ctrl+Z: " + Seen(rig).differences(before)));
        } else {
            // The very message Open gives for the same file.
            QVERIFY2(after.differences(before).isEmpty(), qPrintable(after.differences(before)));
            QCOMPARE(rig.dialogs.warnings.size(), 1);
            rig.dialogs.files.push_back(path);
            rig.key(Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(rig.dialogs.warnings.size(), 2);
            QCOMPARE(rig.dialogs.warnings.at(0), rig.dialogs.warnings.at(1));
        }
    }

    // A pen is the left button with its tip, the right one with its eraser
    // end or a side button held; hovering, it moves with no button.
    void penOnCanvas_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<bool>("eraser");
        QTest::addColumn<bool>("sideButton");
        QTest::addColumn<int>("mouseButton");
        QTest::newRow("tip, 5-pixel pen") << 186 << false << false << int(Qt::LeftButton);
        QTest::newRow("tip, filled rectangle") << 190 << false << false << int(Qt::LeftButton);
        QTest::newRow("eraser end, filled rectangle")
            << 190 << true << false << int(Qt::RightButton);
        QTest::newRow("side button, filled ellipse")
            << 193 << false << true << int(Qt::RightButton);
    }
    void penOnCanvas() {
        QFETCH(int, tool);
        QFETCH(bool, eraser);
        QFETCH(bool, sideButton);
        QFETCH(int, mouseButton);
        const QPointingDevice device(
            "pen", 1, QInputDevice::DeviceType::Stylus,
            eraser ? QPointingDevice::PointerType::Eraser : QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        const Qt::MouseButtons held =
            sideButton ? Qt::LeftButton | Qt::MiddleButton : Qt::MouseButtons(Qt::LeftButton);
        const QList<QPoint> hover = {{20, 30}, {30, 40}}, drag = {{90, 60}, {160, 140}};
        const QPoint end(160, 140), away(200, 200);

        QVERIFY(rig.show());
        prepare(tool);
        int refused = 0;
        for (QPoint at : hover)
            refused += !pen(device, QEvent::TabletMove, at, Qt::NoButton, Qt::NoButton);
        refused += !pen(device, QEvent::TabletPress, hover.last(), Qt::LeftButton, held);
        for (QPoint at : drag)
            refused += !pen(device, QEvent::TabletMove, at, Qt::NoButton, held);
        refused += !pen(device, QEvent::TabletRelease, end, Qt::LeftButton, Qt::NoButton);
        refused += !pen(device, QEvent::TabletMove, away, Qt::NoButton, Qt::NoButton);
        QCOMPARE(refused, 0);
        const Seen byPen(rig);

        QVERIFY(rig.show());
        prepare(tool);
        const auto button = Qt::MouseButton(mouseButton);
        for (QPoint at : hover)
            rig.send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        rig.send(QEvent::MouseButtonPress, hover.last(), button, button);
        for (QPoint at : drag)
            rig.send(QEvent::MouseMove, at, Qt::NoButton, button);
        rig.send(QEvent::MouseButtonRelease, end, button, Qt::NoButton);
        rig.send(QEvent::MouseMove, away, Qt::NoButton, Qt::NoButton);
        const Seen byMouse(rig);
        QVERIFY2(byPen.differences(byMouse).isEmpty(), qPrintable(byPen.differences(byMouse)));
    }

    // Once the program has stopped, no finger, pen or drop reaches a handler.
    void nothingAfterTheStop() {
        QVERIFY(rig.show());
        prepare(186);
        rig.form->stopProgram();
        const Seen before(rig);
        const auto unchanged = [&](const char* after) {
            const QString differences = Seen(rig).differences(before);
            return differences.isEmpty() ? QString() : QString(after) + ": " + differences;
        };
        touch("d0:30,40 m0:90,60 u0:90,60");
        QVERIFY2(unchanged("a finger").isEmpty(), qPrintable(unchanged("a finger")));
        const QPointingDevice device("pen", 1, QInputDevice::DeviceType::Stylus,
                                     QPointingDevice::PointerType::Pen,
                                     QInputDevice::Capability::Position, 1, 3);
        pen(device, QEvent::TabletPress, QPoint(30, 40), Qt::LeftButton, Qt::LeftButton);
        pen(device, QEvent::TabletMove, QPoint(90, 60), Qt::NoButton, Qt::LeftButton);
        pen(device, QEvent::TabletRelease, QPoint(90, 60), Qt::LeftButton, Qt::NoButton);
        QVERIFY2(unchanged("a pen").isEmpty(), qPrintable(unchanged("a pen")));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath("bild.bmp"))});
        dragAndDrop(data);
        QVERIFY2(unchanged("a drop").isEmpty(), qPrintable(unchanged("a drop")));
    }
};

QTEST_MAIN(TestInput)
#include "tst_input.moc"
