#include "FormRig.h"
#include "pickers/PalettePanel.h"
#include "pickers/ScenePanel.h"
#include "pickers/ToolPage.h"
#include "platform/BuiltinPictures.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/ShapeControl.h"
#include "platform/widgets/TabStrip.h"

#include <QtTest>

// The pickers driven with real presses where a child would press.
class TestPickers : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    // Presses and releases `button` at a pixel of the window's inner area, on
    // whatever control lies on top there.
    void pressAt(QPoint pixel, Qt::MouseButton button = Qt::LeftButton) {
        QVERIFY2(rig.pressAt(pixel, button), "nothing to press there");
    }
    void pressCell(int index, Qt::MouseButton button) {
        QWidget* cell = rig.palette().cell(index);
        // The middle of a cell is never overlapped by a neighbour.
        pressAt(cell->mapTo(rig.inner(), QPoint(8, 8)), button);
    }
    QRgb seenOnToolPage(QPoint pagePixel) { return rig.page(0)->grab().toImage().pixel(pagePixel); }
    int borderedButton() const {
        int found = -1;
        for (int i = 0; i < 195; ++i)
            if (rig.button(i)->borderStyle() == 1) {
                if (found != -1)
                    return -2; // more than one
                found = i;
            }
        return found;
    }

private slots:
    void init() { QVERIFY(rig.show()); }
    void cleanup() { rig.form.reset(); }

    void paletteSetsSwatchesAndDecorations_data() {
        QTest::addColumn<QList<int>>(
            "presses"); // cell index * 10 + button (1 left, 2 right, 4 middle)
        QTest::addColumn<QRgb>("line");
        QTest::addColumn<QRgb>("fill");
        const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), red = qRgb(255, 0, 0);
        QTest::newRow("nothing") << QList<int>{} << black << white;
        QTest::newRow("left red") << QList<int>{161} << red << white;
        QTest::newRow("right red") << QList<int>{162} << black << red;
        QTest::newRow("middle changes nothing") << QList<int>{164} << black << white;
        QTest::newRow("right red then left black") << QList<int>{162, 101} << black << red;
        QTest::newRow("both buttons on one cell")
            << QList<int>{331, 332} << qRgb(0, 0, 128) << qRgb(0, 0, 128);
        QTest::newRow("cell 25 and 26 share a colour")
            << QList<int>{251, 262} << qRgb(0, 192, 192) << qRgb(0, 192, 192);
        QTest::newRow("light yellow, index 1") << QList<int>{11} << qRgb(255, 255, 192) << white;
    }
    void paletteSetsSwatchesAndDecorations() {
        QFETCH(QList<int>, presses);
        QFETCH(QRgb, line);
        QFETCH(QRgb, fill);
        for (int press : presses)
            pressCell(press / 10, Qt::MouseButton(press % 10));
        QCOMPARE(rig.palette().Picture8->backColor(), line);
        QCOMPARE(rig.palette().Picture9->backColor(), fill);
        for (auto* shape : {rig.toolPage().Shape1, rig.toolPage().Shape2, rig.toolPage().Shape3,
                            rig.toolPage().Shape4})
            QCOMPARE(shape->borderColor(), line);
        QCOMPARE(rig.toolPage().Line1->borderColor(), line);
        QCOMPARE(rig.toolPage().Shape2->fillColor(), fill);
        QCOMPARE(rig.toolPage().Shape4->fillColor(), fill);
        // What the child sees on the tool page follows at once: the filled
        // rectangle's inside and outline, and the slanting line.
        const QRect shape2 = rig.toolPage().Shape2->geometry();
        QCOMPARE(seenOnToolPage(shape2.center()), fill);
        QCOMPARE(seenOnToolPage(QPoint(shape2.center().x(), shape2.top())), line);
        // The pen samples keep the window-text colour.
        QCOMPARE(seenOnToolPage(QPoint(100, 16)), qRgb(0, 0, 0));
    }

    void overlappingCellPressPicksTheTopCell() {
        // x = 72 inside the panel belongs to cell 0 and cell 2; cell 2 lies above.
        pressAt(QPoint(8 + 72, 448 + 10), Qt::LeftButton);
        QCOMPARE(rig.palette().Picture8->backColor(), qRgb(224, 224, 224));
    }

    void eachTabShowsExactlyItsPage() {
        for (int caption : {13, 5, 1, 12, 2, 1}) {
            rig.clickTab(caption);
            for (int page = 0; page < 13; ++page)
                QCOMPARE(rig.page(page)->isVisible(), page == caption - 1);
        }
    }

    void anyButtonSelectsAStampAndTheBorderFollows_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void anyButtonSelectsAStampAndTheBorderFollows() {
        QFETCH(int, button);
        rig.clickTab(13);
        pressAt(QPoint(496 + 60 + 10, 40 + 48 + 10), Qt::MouseButton(button)); // stamp 6
        QCOMPARE(rig.currentTool(), qint16(6));
        QCOMPARE(borderedButton(), 6);
        rig.clickTab(1);
        // The stamp keeps its border while the tool page shows none.
        QCOMPARE(rig.currentTool(), qint16(6));
        QCOMPARE(borderedButton(), 6);
        pressAt(QPoint(600, 32 + 136), Qt::MouseButton(button)); // pen 188
        QCOMPARE(rig.currentTool(), qint16(188));
        QCOMPARE(borderedButton(), 188);
        pressAt(QPoint(600, 32 + 136), Qt::MouseButton(button));
        QCOMPARE(borderedButton(), 188);
    }

    void everyPageShowsItsStampsOnGrey() {
        for (int tab = 2; tab <= 13; ++tab) {
            rig.clickTab(tab);
            int shown = 0;
            for (int index = 0; index < BuiltinPictures::kStampCount; ++index) {
                ImageControl* button = rig.button(index);
                if (button->parentWidget() != rig.page(tab - 1))
                    continue;
                ++shown;
                const QImage expected =
                    BuiltinPictures::stamp(index).onBackground(qRgb(192, 192, 192));
                QVERIFY2(button->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
                             expected.convertToFormat(QImage::Format_RGB32),
                         qPrintable(QStringLiteral("stamp %1").arg(index)));
            }
            QVERIFY(shown > 0);
        }
    }

    void eachThumbnailShowsItsSceneScaled() {
        for (int index = 0; index < BuiltinPictures::kSceneCount; ++index) {
            ImageControl* thumbnail = rig.scenes().thumbnail(index);
            const QImage expected = BuiltinPictures::scene(index).scaled(
                thumbnail->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            QCOMPARE(thumbnail->grab().toImage().convertToFormat(QImage::Format_RGB32),
                     expected.convertToFormat(QImage::Format_RGB32));
        }
    }

    void partlyVisibleStampsTakePresses_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<int>("stamp");
        QTest::newRow("98") << 7 << QPoint(496 + 208, 40 + 168) << 98;
        QTest::newRow("171") << 12 << QPoint(496 + 0, 40 + 150) << 171;
        QTest::newRow("180") << 12 << QPoint(496 + 40, 40 + 168) << 180;
    }
    void partlyVisibleStampsTakePresses() {
        QFETCH(int, tab);
        QFETCH(QPoint, pixel);
        QFETCH(int, stamp);
        rig.clickTab(tab);
        pressAt(pixel);
        QCOMPARE(int(rig.currentTool()), stamp);
        QCOMPARE(borderedButton(), stamp);
    }
};

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
