#include "canvas/CanvasDispatch.h"
#include "canvas/PictureBox.h"
#include "canvas/ShapeTool.h"
#include "platform/Icon.h"
#include "platform/PictureFile.h"
#include "platform/SnapshotFolder.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 kBlack = 0x000000, kWhite = 0xFFFFFF;
const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
constexpr float px = 15; // twips in a pixel

// A canvas, its state and its dispatch, on a grey background so white shows.
struct Rig {
    PictureBox canvas;
    DrawingState state;
    Module1 points;
    CanvasDispatch dispatch{canvas, state, points};
    QTemporaryDir dir;
    QString folder = dir.path() + "/";
    Icon stamp;

    explicit Rig(qint16 tool) {
        QImage background(497, 467, QImage::Format_RGB32);
        background.fill(grey);
        canvas.setPicture(background);
        state.currentTool = tool;
        dispatch.stampPicture = [this](qint16) -> const Icon& { return stamp; };
    }
    QRgb at(int x, int y) const { return canvas.Image().pixel(x, y); }
    void down(float x, float y, qint16 button = 1) {
        dispatch.mouseDown(button, 0, x * px, y * px, folder);
    }
    void move(float x, float y, qint16 buttons = 1, quint32 line = kBlack, quint32 fill = kWhite) {
        dispatch.mouseMove(buttons, 0, x * px, y * px, line, fill);
    }
    void up(qint16 button = 1) { dispatch.mouseUp(button, 0, 0, 0); }
    void drag(QPoint from, QPoint to, qint16 button = 1) {
        down(from.x(), from.y(), button);
        move(to.x(), to.y(), button);
        up(button);
    }
    int countInColumn(int x, QRgb colour) const {
        int n = 0;
        for (int y = 0; y < canvas.Image().height(); ++y)
            n += at(x, y) == colour;
        return n;
    }
};

Icon solidIcon(QRgb colour) {
    QImage colourImage(32, 32, QImage::Format_RGB32);
    colourImage.fill(colour);
    QImage mask(32, 32, QImage::Format_Grayscale8);
    mask.fill(0);
    return Icon(colourImage, mask);
}

} // namespace

class TestCanvas : public QObject {
    Q_OBJECT

private slots:
    void strokeColourFollowsTheButtonsHeld_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("left: line colour") << 1 << black;
        QTest::newRow("right: fill colour") << 2 << white;
        QTest::newRow("middle: start colour blue") << 4 << qRgb(0, 0, 255);
        QTest::newRow("left and right: start colour blue") << 3 << qRgb(0, 0, 255);
    }
    void strokeColourFollowsTheButtonsHeld() {
        QFETCH(int, buttons);
        QFETCH(QRgb, colour);
        for (qint16 tool : {183, 190, 194}) {
            Rig rig(tool);
            rig.down(20, 20, 1);
            rig.move(120, 60, qint16(buttons));
            QCOMPARE(rig.at(120, 60), colour);
        }
    }

    void aClickDrawsNoDot() {
        for (qint16 tool : {183, 188, 194, 189, 193}) {
            Rig rig(tool);
            const QImage before = rig.canvas.Image().copy();
            rig.down(50, 50);
            rig.up();
            QCOMPARE(rig.canvas.Image(), before);
        }
    }

    void theFirstReleaseEndsTheStroke() {
        Rig rig(186);
        rig.down(10, 10, 1);
        rig.down(10, 30, 2); // a second button restarts the stroke, no joining segment
        rig.move(60, 30, 3);
        rig.up(1);
        rig.move(60, 80, 2);
        QCOMPARE(rig.at(10, 20), grey);
        QCOMPARE(rig.at(35, 30), qRgb(0, 0, 255));
        QCOMPARE(rig.at(60, 60), grey);
    }

    void penWidths_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("width");
        QTest::newRow("183") << 183 << 1;
        QTest::newRow("184") << 184 << 2;
        QTest::newRow("185") << 185 << 3;
        QTest::newRow("186") << 186 << 5;
        QTest::newRow("187") << 187 << 8;
        QTest::newRow("188 is 11, not 10") << 188 << 11;
        QTest::newRow("brush is 19") << 194 << 19;
    }
    void penWidths() {
        QFETCH(int, tool);
        QFETCH(int, width);
        Rig rig{qint16(tool)};
        rig.drag({40, 100}, {200, 100});
        QCOMPARE(rig.countInColumn(120, black), width);
        // Round ends: the stroke reaches half its width beyond its end and no further.
        QCOMPARE(rig.at(200 + (width - 1) / 2, 100), black);
        QCOMPARE(rig.at(200 + (width - 1) / 2 + 1, 100), grey);
        // A vertical stroke is as wide as a horizontal one.
        Rig vertical{qint16(tool)};
        vertical.drag({100, 40}, {100, 200});
        int across = 0;
        for (int x = 0; x < 471; ++x)
            across += vertical.at(x, 120) == black;
        QCOMPARE(across, width);
    }

    void aStrokeLeavingTheCanvasIsClippedAndContinues() {
        Rig rig(185);
        rig.down(400, 100);
        rig.move(600, 100); // beyond the right edge
        rig.move(-50, 300); // across and beyond the left edge
        rig.move(200, 300);
        QCOMPARE(rig.at(470, 100), black);
        // The segment that starts and ends outside is drawn where it crosses:
        // through (300, 192) and out over the left edge near y = 285.
        QCOMPARE(rig.at(300, 192), black);
        QCOMPARE(rig.at(0, 285), black);
        QCOMPARE(rig.at(100, 300), black);
    }

    void shapesAreTheSameInBothDragDirections() {
        for (qint16 tool = 189; tool <= 193; ++tool) {
            Rig forward(tool), backward(tool);
            forward.drag({30, 40}, {200, 150});
            backward.drag({200, 150}, {30, 40});
            QVERIFY2(forward.canvas.Image() == backward.canvas.Image(),
                     qPrintable(QString::number(tool)));
        }
    }

    void filledAndOutlineShapes_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("button");
        QTest::addColumn<QRgb>("inside");
        QTest::addColumn<QRgb>("edge");
        QTest::newRow("box left") << 189 << 1 << grey << black;
        QTest::newRow("filled box left") << 190 << 1 << white << black;
        QTest::newRow("filled box right") << 190 << 2 << black << white;
        QTest::newRow("ellipse left") << 192 << 1 << grey << black;
        QTest::newRow("filled ellipse left") << 193 << 1 << white << black;
        QTest::newRow("filled ellipse right") << 193 << 2 << black << white;
    }
    void filledAndOutlineShapes() {
        QFETCH(int, tool);
        QFETCH(int, button);
        QFETCH(QRgb, inside);
        QFETCH(QRgb, edge);
        Rig rig{qint16(tool)};
        rig.drag({100, 100}, {200, 160}, qint16(button));
        QCOMPARE(rig.at(150, 130), inside);
        QCOMPARE(rig.at(150, 100), edge); // top edge, middle
        QCOMPARE(rig.at(100, 130), edge); // left edge, middle
        QCOMPARE(rig.at(150, 98), grey);
        QCOMPARE(rig.at(150, 162), grey);
    }

    void thePreviewLeavesNoTraceAndKeepsWhatLayUnder() {
        Rig rig(188);
        rig.drag({20, 200}, {450, 200}); // a stroke across the canvas
        rig.state.currentTool = 190;
        rig.down(50, 50);
        rig.move(400, 400);
        rig.move(300, 300);
        rig.move(100, 100);
        rig.up();
        QCOMPARE(rig.at(350, 350), grey); // an earlier preview is gone
        QCOMPARE(rig.at(30, 200), black); // the stroke under it is intact
        QCOMPARE(rig.at(420, 200), black);
        QCOMPARE(rig.at(75, 75), white); // the last preview stays
        rig.move(300, 300, 0);           // moving without a button draws nothing
        QCOMPARE(rig.at(75, 75), white);
        QCOMPARE(rig.at(200, 200), black);
    }

    void aSecondButtonFixesThePreviewAndStartsAgain() {
        Rig rig(189);
        rig.down(10, 10, 1);
        rig.move(100, 100, 1);
        rig.down(200, 200, 2);
        rig.move(300, 250, 3);
        rig.up(1);
        QCOMPARE(rig.at(50, 10), black);   // first box, now permanent
        QCOMPARE(rig.at(250, 200), black); // second box
        rig.move(400, 400, 2);
        QCOMPARE(rig.at(350, 250), grey); // the drag ended with the first release
    }

    void ellipseArithmetic_data() {
        QTest::addColumn<QList<int>>("corners");
        QTest::addColumn<float>("cx");
        QTest::addColumn<int>("cy");
        QTest::addColumn<int>("radius");
        QTest::addColumn<float>("aspect");
        QTest::newRow("wide") << QList<int>{150, 300, 1650, 900} << 900.0f << 600 << 750 << 0.4f;
        QTest::newRow("tall") << QList<int>{0, 0, 600, 1500} << 300.0f << 750 << 750 << 2.5f;
        QTest::newRow("odd sums, x keeps its half, y 15 -> 8")
            << QList<int>{0, 7, 301, 8} << 150.5f << 8 << 150 << float(1.0 / 301);
        QTest::newRow("y 13 -> 6")
            << QList<int>{0, 6, 30, 7} << 15.0f << 6 << 15 << float(1.0 / 30);
        QTest::newRow("w = 0") << QList<int>{100, 0, 100, 600} << 100.0f << 300 << 300 << 10000.0f;
        QTest::newRow("h = 0") << QList<int>{0, 90, 900, 90} << 450.0f << 90 << 450 << 0.0f;
        QTest::newRow("circle") << QList<int>{0, 0, 300, 300} << 150.0f << 150 << 150 << 1.0f;
        QTest::newRow("clamped far away")
            << QList<int>{-32768, -32768, 32767, 32767} << -0.5f << 0 << 16384 << 1.0f;
    }
    void ellipseArithmetic() {
        QFETCH(QList<int>, corners);
        QFETCH(float, cx);
        QFETCH(int, cy);
        QFETCH(int, radius);
        QFETCH(float, aspect);
        const auto e = ShapeTool::ellipseArguments(qint16(corners[0]), qint16(corners[1]),
                                                   qint16(corners[2]), qint16(corners[3]));
        QCOMPARE(e.cx, cx);
        QCOMPARE(int(e.cy), cy);
        QCOMPARE(int(e.radius), radius);
        QCOMPARE(e.aspect, aspect);
    }

    void degenerateEllipsesAreStrokes() {
        Rig vertical(192);
        vertical.drag({100, 50}, {100, 150});
        QCOMPARE(vertical.countInColumn(100, black), 101);
        Rig horizontal(192);
        horizontal.drag({50, 100}, {150, 100});
        int row = 0;
        for (int x = 0; x < 471; ++x)
            row += horizontal.at(x, 100) == black;
        QVERIFY2(row >= 100 && row <= 101, qPrintable(QString::number(row)));
    }

    void ellipseSemiAxesFollowTheAspect() {
        Rig rig(192);
        rig.drag({10, 20}, {110, 60}); // 1500 x 600 twips: 50 x 20 pixel semi-axes
        QCOMPARE(rig.at(10, 40), black);
        QCOMPARE(rig.at(110, 40), black);
        QCOMPARE(rig.at(60, 20), black);
        QCOMPARE(rig.at(60, 60), black);
        QCOMPARE(rig.at(60, 17), grey);
        QCOMPARE(rig.at(7, 40), grey);
    }

    void farDragsClampInsteadOfFailing() {
        Rig rig(193);
        rig.down(10, 10);
        rig.move(1e6f, -1e6f);
        QCOMPARE(rig.points.shapeX2, qint16(32767));
        QCOMPARE(rig.points.shapeY2, qint16(-32768));
        rig.move(-1e7f, 1e7f);
        QCOMPARE(rig.points.shapeX2, qint16(-32768));
        rig.up();
    }

    void fillStyleAfterAPress_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("fillStyle");
        for (int tool : {183, 188, 194, 5, 189, 192})
            QTest::addRow("%d", tool) << tool << 1;
        for (int tool : {190, 191, 193})
            QTest::addRow("%d", tool) << tool << 0;
    }
    void fillStyleAfterAPress() {
        QFETCH(int, tool);
        QFETCH(int, fillStyle);
        Rig rig{qint16(tool)};
        rig.stamp = solidIcon(black);
        rig.canvas.FillStyle = 0;
        rig.down(10, 10);
        QCOMPARE(int(rig.canvas.FillStyle), fillStyle);
    }

    void aShapePressWritesTheSnapshotFile() {
        Rig rig(186);
        rig.drag({20, 20}, {200, 100});
        const QImage before = rig.canvas.Image().copy();
        QVERIFY(!QFile::exists(rig.folder + "temp.bmp"));
        rig.state.currentTool = 189;
        rig.down(50, 50);
        rig.up();
        const PictureFile::LoadResult file = PictureFile::load(rig.folder + "temp.bmp");
        QVERIFY(file.ok());
        QCOMPARE(file.image, before);
        QCOMPARE(rig.canvas.Picture(), before);
        QFile raw(rig.folder + "temp.bmp");
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray header = raw.read(30);
        QCOMPARE(header.left(2), QByteArray("BM"));
        QCOMPARE(int(uchar(header[28])), 24); // bits per pixel
    }

    void withoutASnapshotFileTheDrawingSurvives() {
        Rig rig(188);
        rig.drag({20, 200}, {450, 200});
        rig.folder = "/nonexistent-folder/for/pensilo/";
        rig.state.currentTool = 193;
        rig.down(100, 100);
        rig.move(150, 150);
        rig.move(120, 120);
        QCOMPARE(rig.at(30, 200), black);
        QCOMPARE(rig.at(110, 110), white);
        QCOMPARE(rig.at(140, 140), grey);
    }

    // The canvas reads its background picture in place until the first
    // drawing; what it showed must stay whole when that picture is replaced,
    // and drawing must never reach the picture or a copy taken earlier.
    void theCanvasOutlivesAndNeverAltersItsPicture() {
        Rig rig(188);
        QImage scene(497, 467, QImage::Format_RGB32);
        scene.fill(qRgb(0, 128, 0));
        rig.canvas.setPicture(scene);
        const QImage shown = rig.canvas.Image();
        QImage other(300, 200, QImage::Format_RGB32);
        other.fill(qRgb(0, 0, 255));
        rig.canvas.setPicture(other);
        scene = QImage();
        QCOMPARE(shown.pixel(470, 428), qRgb(0, 128, 0));
        QCOMPARE(rig.at(299, 199), qRgb(0, 0, 255));
        QCOMPARE(rig.at(300, 200), white); // beyond a small picture: the back colour

        rig.canvas.setPicture(rig.canvas.Image());
        const QImage before = rig.canvas.Image();
        rig.drag({10, 10}, {460, 10});
        QCOMPARE(rig.at(200, 10), black);
        QCOMPARE(rig.canvas.Picture().pixel(200, 10), qRgb(0, 0, 255));
        QCOMPARE(before.pixel(200, 10), qRgb(0, 0, 255));
        rig.canvas.Cls();
        QCOMPARE(rig.canvas.Image(), before);
    }

    void snapshotFolderEndsInOneSeparator_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive root") << "C:\\"
                                    << "\\"
                                    << "C:\\";
        QTest::newRow("windows folder") << "C:\\Program\\Pensilo"
                                        << "\\"
                                        << "C:\\Program\\Pensilo\\";
        QTest::newRow("linux folder") << "/opt/pensilo"
                                      << "/"
                                      << "/opt/pensilo/";
        QTest::newRow("linux root") << "/"
                                    << "/"
                                    << "/";
    }
    void snapshotFolderEndsInOneSeparator() {
        QFETCH(QString, folder);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(SnapshotFolder::withTrailingSeparator(folder, separator.at(0)), expected);
        QVERIFY(SnapshotFolder::current().endsWith(QDir::separator()));
    }

    void aReadOnlyProgramFolderKeepsTheSnapshotInTheCache() {
        QTemporaryDir programFolder;
        QCOMPARE(SnapshotFolder::forProgramFolder(programFolder.path()),
                 programFolder.path() + "/");
        QStandardPaths::setTestModeEnabled(true);
        const QString cache = SnapshotFolder::forProgramFolder("/nonexistent/pensilo/bin");
        QCOMPARE(cache, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/");
        // Installed: never among the system's files, even for root who may write there.
        QCOMPARE(SnapshotFolder::forProgramFolder("/usr/bin"), cache);
        QCOMPARE(SnapshotFolder::forProgramFolder("/opt/pensilo/bin/"), cache);
        QVERIFY(!SnapshotFolder::isSystemFolder("/usrlocal/pensilo"));
        QVERIFY(QFileInfo(cache).isDir());
        QVERIFY(QFileInfo(cache).isWritable());
    }

    void stampPlacementAndClipping_data() {
        QTest::addColumn<QPoint>("pointer"); // twips
        QTest::addColumn<QRect>("painted");  // pixels on the canvas
        QTest::newRow("inside") << QPoint(300, 300) << QRect(5, 3, 32, 32);
        QTest::newRow("whole pixel pointer") << QPoint(1500, 1500) << QRect(85, 83, 32, 32);
        QTest::newRow("top-left edge") << QPoint(0, 0) << QRect(0, 0, 17, 15);
        QTest::newRow("bottom-right edge") << QPoint(7050, 6420) << QRect(455, 411, 16, 18);
    }
    void stampPlacementAndClipping() {
        QFETCH(QPoint, pointer);
        QFETCH(QRect, painted);
        for (qint16 button : {1, 2, 4}) {
            Rig rig(44);
            rig.stamp = solidIcon(qRgb(255, 0, 0));
            rig.dispatch.mouseDown(button, 0, pointer.x(), pointer.y(), rig.folder);
            rig.move(300, 300, button); // dragging paints nothing more
            rig.up(button);
            for (int y = 0; y < 429; ++y)
                for (int x = 0; x < 471; ++x)
                    if ((rig.at(x, y) == qRgb(255, 0, 0)) != painted.contains(x, y))
                        QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
        }
    }

    void stampMaskAndExclusiveOr() {
        Rig rig(44);
        QImage colour(32, 32, QImage::Format_RGB32);
        colour.fill(black);
        QImage mask(32, 32, QImage::Format_Grayscale8);
        mask.fill(255);
        for (int y = 10; y < 20; ++y)
            for (int x = 10; x < 20; ++x) {
                colour.setPixel(x, y, qRgb(255, 0, 0));
                mask.setPixel(x, y, 0);
            }
        colour.setPixel(2, 2, qRgb(0, 0, 128)); // see-through, exclusive-or'ed
        colour.setPixel(3, 2, qRgb(0, 0, 128));
        rig.stamp = Icon(colour, mask);
        rig.down(220 / px, 250 / px); // stamp's top-left at pixel (0, 0)
        QCOMPARE(rig.at(15, 15), qRgb(255, 0, 0));
        QCOMPARE(rig.at(5, 5), grey);
        QCOMPARE(rig.at(2, 2), qRgb(128, 128, 128 ^ 128));
        rig.up();
        rig.down(220 / px, 250 / px);
        QCOMPARE(rig.at(2, 2), grey);
        QCOMPARE(rig.at(3, 2), grey);
        QCOMPARE(rig.at(15, 15), qRgb(255, 0, 0));
    }
};

QTEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
