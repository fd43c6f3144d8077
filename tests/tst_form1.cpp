#include "FormRig.h"
#include "pickers/PalettePanel.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/TabStrip.h"

#include <QMenuBar>
#include <QtTest>

// The window's layout: which control a press reaches, where the main controls
// lie, and what the child sees at start.
class TestForm1 : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    QWidget* inner() const { return rig.inner(); }
    QString hit(QPoint windowPixel) const {
        QWidget* child = inner()->childAt(windowPixel);
        return child ? child->objectName() : QString();
    }

private slots:
    void init() { QVERIFY(rig.show()); }
    void cleanup() { rig.form.reset(); }

    void pressReachesTheTopControl_data() {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QString>("control");
        QTest::newRow("canvas corner") << "" << QPoint(8, 8) << "Picture1";
        QTest::newRow("canvas far corner") << "" << QPoint(478, 436) << "Picture1";
        QTest::newRow("right of canvas: the window") << "" << QPoint(479, 100) << "";
        QTest::newRow("cells 0 and 2 overlap") << "" << QPoint(8 + 72, 448 + 10) << "Picture6(2)";
        QTest::newRow("cell 0 alone") << "" << QPoint(8 + 71, 448 + 10) << "Picture6(0)";
        QTest::newRow("rows overlap") << "" << QPoint(8 + 60, 448 + 24) << "Picture6(41)";
        QTest::newRow("cells 30 and 1 overlap")
            << "" << QPoint(8 + 328, 448 + 10) << "Picture6(30)";
        QTest::newRow("same colour, cell 26") << "" << QPoint(8 + 290, 448 + 30) << "Picture6(26)";
        QTest::newRow("same colour overlap") << "" << QPoint(8 + 296, 448 + 30) << "Picture6(26)";
        QTest::newRow("same colour, cell 25") << "" << QPoint(8 + 300, 448 + 30) << "Picture6(25)";
        QTest::newRow("fill swatch over line swatch")
            << "" << QPoint(8 + 8 + 20, 448 + 8 + 15) << "Picture9";
        QTest::newRow("line swatch") << "" << QPoint(8 + 8 + 10, 448 + 8 + 7) << "Picture8";
        QTest::newRow("swatch holder") << "" << QPoint(8 + 8 + 38, 448 + 8 + 2) << "Picture7";
        QTest::newRow("thinnest pen strip") << "" << QPoint(600, 32 + 9) << "Picture3(183)";
        QTest::newRow("pen 188 strip") << "" << QPoint(600, 32 + 136) << "Picture3(188)";
        QTest::newRow("shape passes press to 189")
            << "" << QPoint(496 + 50, 32 + 165) << "Picture3(189)";
        QTest::newRow("filled rectangle 190")
            << "" << QPoint(496 + 150, 32 + 165) << "Picture3(190)";
        QTest::newRow("line tool 191") << "" << QPoint(496 + 50, 32 + 198) << "Picture3(191)";
        QTest::newRow("ellipse 192") << "" << QPoint(496 + 150, 32 + 198) << "Picture3(192)";
        QTest::newRow("filled ellipse 193") << "" << QPoint(496 + 50, 32 + 222) << "Picture3(193)";
        QTest::newRow("broad brush 194") << "" << QPoint(496 + 115, 32 + 220) << "Picture3(194)";
        QTest::newRow("tool page over stamp page 12") << "" << QPoint(497, 100) << "Picture2(0)";
        QTest::newRow("tool page over scene panel") << "" << QPoint(600, 280) << "Picture2(0)";
        QTest::newRow("scene panel below tool page") << "" << QPoint(600, 292) << "Picture4";
        QTest::newRow("white scene") << "" << QPoint(496 + 20, 264 + 45) << "Image2(5)";
        QTest::newRow("night scene") << "" << QPoint(496 + 170, 264 + 140) << "Image2(3)";
        QTest::newRow("tab strip") << "" << QPoint(490, 10) << "TabStrip1";
        QTest::newRow("page 12 after tab 13") << "13" << QPoint(497, 100) << "Picture2(12)";
        QTest::newRow("stamp 0") << "13" << QPoint(496 + 10, 40 + 10) << "Picture3(0)";
        QTest::newRow("scene panel uncovered") << "13" << QPoint(600, 270) << "Picture4";
        QTest::newRow("stamp 98 corner") << "7" << QPoint(496 + 190, 40 + 160) << "Picture3(98)";
        QTest::newRow("below stamp 98") << "7" << QPoint(496 + 190, 40 + 170) << "TabStrip1";
        QTest::newRow("stamp 171 strip") << "12" << QPoint(496 + 5, 40 + 150) << "Picture3(171)";
        QTest::newRow("stamp 180 top") << "12" << QPoint(496 + 30, 40 + 150) << "Picture3(180)";
    }
    void pressReachesTheTopControl() {
        QFETCH(QString, tab);
        QFETCH(QPoint, pixel);
        QFETCH(QString, control);
        if (!tab.isEmpty())
            rig.clickTab(tab.toInt());
        QCOMPARE(hit(pixel), control);
    }

    void mainControlsAtTheirPlaces_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("canvas") << "Picture1" << QRect(8, 8, 471, 429);
        QTest::newRow("tab strip") << "TabStrip1" << QRect(488, 0, 225, 441);
        QTest::newRow("tool page") << "Picture2(0)" << QRect(496, 32, 209, 257);
        QTest::newRow("stamp page") << "Picture2(5)" << QRect(496, 40, 209, 169);
        QTest::newRow("scene panel") << "Picture4" << QRect(496, 264, 209, 169);
        QTest::newRow("palette panel") << "Picture5" << QRect(8, 448, 705, 49);
        QTest::newRow("swatch holder") << "Picture7" << QRect(8, 8, 41, 33);
        QTest::newRow("first cell") << "Picture6(0)" << QRect(56, 8, 17, 17);
        QTest::newRow("last cell") << "Picture6(33)" << QRect(376, 24, 17, 17);
        QTest::newRow("scene thumbnail") << "Image2(4)" << QRect(144, 40, 57, 49);
        QTest::newRow("eraser button") << "Picture3(194)" << QRect(112, 216, 16, 16);
        QTest::newRow("stamp") << "Picture3(44)" << QRect(160, 128, 32, 32);
    }
    void mainControlsAtTheirPlaces() {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        auto* widget = rig.form->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
    }

    void windowIsFixedAndTitled() {
        QCOMPARE(rig.form->windowTitle(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(inner()->size(), QSize(721, 515));
        QCOMPARE(rig.form->minimumSize(), rig.form->maximumSize());
        QVERIFY(!(rig.form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(rig.form->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!rig.form->windowIcon().isNull());
        QCOMPARE(inner()->y(), rig.form->menuBar()->height());
    }

    void startState() {
        QCOMPARE(rig.currentTool(), qint16(183));
        for (int i = 0; i < 195; ++i)
            QCOMPARE(rig.button(i)->borderStyle(), i == 183 ? 1 : 0);
        QCOMPARE(rig.palette().Picture8->backColor(), qRgb(0, 0, 0));
        QCOMPARE(rig.palette().Picture9->backColor(), qRgb(255, 255, 255));
        QCOMPARE(rig.tabStrip()->selectedCaption(), QStringLiteral("1"));
        for (int page = 0; page < 13; ++page)
            QCOMPARE(rig.page(page)->isVisible(), page == 0 || page == 12);
    }

    void menuHoldsTheCommandsInOrder() {
        const QList<QAction*> bar = rig.form->menuBar()->actions();
        QCOMPARE(bar.size(), 1);
        QCOMPARE(bar.first()->text(), QStringLiteral("&Meny"));
        QStringList seen;
        for (QAction* action : bar.first()->menu()->actions())
            seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
        // The shortcuts are written beside the captions; the keys reach the
        // bar through the window.
        QCOMPARE(seen,
                 QStringList({"&Nytt\tCtrl+N", "&Öppna\tCtrl+O", "-", "&Spara\tCtrl+S",
                              "S&para Som", "-", "Använd som skrivbordsunderlägg (s&ida vid sida)",
                              "Använd som skrivbordsunderlägg (&centrerad)", "-", "&Avsluta"}));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
