#include "FormRig.h"
#include "pickers/PalettePanel.h"
#include "pickers/ScenePanel.h"
#include "platform/BuiltinPictures.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/TabStrip.h"

#include <QtTest>

// Drawing through the real window: mouse events on the canvas widget and
// presses on the pickers, checked on the canvas's persistent image.
class TestDrawing : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    QRgb at(int x, int y) const { return rig.canvas().pixel(x, y); }

private slots:
    void init() { QVERIFY(rig.show()); }
    void cleanup() { rig.form.reset(); }

    void theCanvasShowsTheTopLeftOfItsStartPicture() {
        QCOMPARE(rig.pictureBox().Image().size(), QSize(471, 429));
        QCOMPARE(rig.pictureBox().Picture().size(), QSize(497, 467));
        QCOMPARE(rig.canvasWidget()->grab().toImage().pixel(470, 428), qRgb(255, 255, 255));
        QVERIFY(rig.canvasWidget()->hasMouseTracking());
        QCOMPARE(rig.canvasWidget()->cursor().shape(), Qt::CrossCursor);
    }

    void atStartADragDrawsAOnePixelBlackStroke() {
        rig.drag(Qt::LeftButton, {{20, 50}, {200, 50}});
        QCOMPARE(at(100, 50), qRgb(0, 0, 0));
        QCOMPARE(at(100, 49), qRgb(255, 255, 255));
        QCOMPARE(at(100, 51), qRgb(255, 255, 255));
        // What the child sees follows.
        QCOMPARE(rig.canvasWidget()->grab().toImage().pixel(100, 50), qRgb(0, 0, 0));
    }

    void buttonsHeldAndModifiersReachTheCanvas_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("left") << int(Qt::LeftButton) << qRgb(0, 0, 0);
        QTest::newRow("right") << int(Qt::RightButton) << qRgb(255, 255, 255);
        // Middle or both keep the colour of the last left-only move: the grey band.
        QTest::newRow("middle") << int(Qt::MiddleButton) << qRgb(128, 128, 128);
        QTest::newRow("left and right")
            << int(Qt::LeftButton | Qt::RightButton) << qRgb(128, 128, 128);
    }
    void buttonsHeldAndModifiersReachTheCanvas() {
        QFETCH(int, buttons);
        QFETCH(QRgb, colour);
        // Grey first, so a white stroke shows.
        rig.press(rig.palette().cell(6), Qt::LeftButton, {8, 8});
        rig.press(rig.button(194));
        rig.drag(Qt::LeftButton, {{10, 200}, {460, 200}});
        rig.press(rig.palette().cell(10), Qt::LeftButton, {8, 8}); // black again, not yet used
        rig.press(rig.button(186));
        rig.send(QEvent::MouseButtonPress, {50, 200}, Qt::LeftButton, Qt::LeftButton,
                 Qt::ShiftModifier);
        rig.send(QEvent::MouseMove, {150, 200}, Qt::NoButton, Qt::MouseButtons(buttons),
                 Qt::ControlModifier);
        rig.send(QEvent::MouseButtonRelease, {150, 200}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(at(100, 200), colour);
    }

    void movesOutsideTheCanvasWhileHeldDrawToTheEdge() {
        rig.press(rig.button(185));
        rig.drag(Qt::LeftButton, {{400, 100}, {700, 100}, {-200, 300}, {100, 300}});
        QCOMPARE(at(470, 100), qRgb(0, 0, 0));
        QCOMPARE(at(50, 300), qRgb(0, 0, 0));
    }

    void pickedColoursAreUsedByTheNextDrag() {
        rig.press(rig.palette().cell(16), Qt::LeftButton, {8, 8});  // red line colour
        rig.press(rig.palette().cell(15), Qt::RightButton, {8, 8}); // green fill colour
        rig.press(rig.button(190));
        rig.drag(Qt::LeftButton, {{50, 50}, {150, 120}});
        QCOMPARE(at(100, 50), qRgb(255, 0, 0));
        QCOMPARE(at(100, 80), qRgb(0, 255, 0));
    }

    void theChosenStampIsPaintedOnTheNextPress() {
        rig.clickTab(13);
        rig.press(rig.button(5), Qt::RightButton);
        rig.clickTab(1);
        rig.send(QEvent::MouseButtonPress, {100, 100}, Qt::MiddleButton, Qt::MiddleButton);
        rig.send(QEvent::MouseButtonRelease, {100, 100}, Qt::MiddleButton, Qt::NoButton);
        QImage expected(471, 429, QImage::Format_RGB32);
        expected.fill(Qt::white);
        BuiltinPictures::stamp(5).drawOnto(expected, QPoint(85, 83));
        QCOMPARE(rig.pictureBox().Image(), expected);
    }

    void aScenePressStartsAfresh_data() {
        QTest::addColumn<int>("scene");
        QTest::addColumn<int>("button");
        for (int scene = 0; scene < 6; ++scene)
            QTest::addRow("scene %d", scene)
                << scene << int(scene % 2 ? Qt::RightButton : Qt::LeftButton);
        QTest::newRow("middle button") << 3 << int(Qt::MiddleButton);
    }
    void aScenePressStartsAfresh() {
        QFETCH(int, scene);
        QFETCH(int, button);
        const QImage clean = BuiltinPictures::scene(scene)
                                 .convertToFormat(QImage::Format_RGB32)
                                 .copy(0, 0, 471, 429);
        rig.press(rig.button(188));
        rig.drag(Qt::LeftButton, {{10, 10}, {400, 300}});
        rig.press(rig.scenes().thumbnail(scene), Qt::MouseButton(button));
        QCOMPARE(rig.pictureBox().Image(), clean);
        // Drawing on the scene and choosing it again gives it back clean.
        rig.drag(Qt::LeftButton, {{10, 300}, {400, 10}});
        rig.press(rig.button(193));
        rig.drag(Qt::LeftButton, {{100, 100}, {200, 200}}); // a shape press replaces the background
        rig.press(rig.scenes().thumbnail(scene), Qt::MouseButton(button));
        QCOMPARE(rig.pictureBox().Image(), clean);
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(int(rig.currentTool()), 193);
        QCOMPARE(rig.canvasWidget()->grab().toImage().pixel(200, 200), clean.pixel(200, 200));
    }
};

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
