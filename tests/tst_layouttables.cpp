#include "FormRig.h"
#include "LayoutChecks.h"
#include "pickers/ScenePanel.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"

#include <QDir>
#include <QtTest>

// The rest of the window's layout tables, every row written out here: the
// panels and swatches, the scene panel's thumbnails and lines, and which
// control lies above which.
class TestLayoutTables : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    Form1& form() const { return *rig.form; }
    QWidget* inner() const { return rig.inner(); }
    QPoint inInner(QWidget* widget, QPoint local) const { return widget->mapTo(inner(), local); }

private slots:
    void init() { QVERIFY(rig.showOncePerFunction()); }
    void cleanupTestCase() { rig.form.reset(); }

    // The scene panel: each thumbnail, pressed in its middle (on the white
    // scene, where the two lines of its cross meet), starts the picture afresh
    // on its scene.
    void everySceneThumbnail_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QPoint>("place"); // twips
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("Image2(5), white") << 5 << QPoint(120, 600) << QSize(497, 467);
        QTest::newRow("Image2(2), tree") << 2 << QPoint(1200, 600) << QSize(485, 455);
        QTest::newRow("Image2(4), sea") << 4 << QPoint(2160, 600) << QSize(558, 515);
        QTest::newRow("Image2(0), house") << 0 << QPoint(120, 1560) << QSize(485, 455);
        QTest::newRow("Image2(1), wall") << 1 << QPoint(1200, 1560) << QSize(485, 455);
        QTest::newRow("Image2(3), night") << 3 << QPoint(2160, 1560) << QSize(485, 455);
    }
    void everySceneThumbnail() {
        QFETCH(int, index);
        QFETCH(QPoint, place);
        QFETCH(QSize, pictureSize);
        ImageControl* thumbnail = rig.scenes().thumbnail(index);
        QCOMPARE(thumbnail->parentWidget(), static_cast<QWidget*>(rig.scenePanel()));
        QCOMPARE(thumbnail->geometry(), pxRect(place.x(), place.y(), 855, 735));
        const QStringList files =
            QDir(QStringLiteral(PENSILO_SOURCE_DIR "/assets/scenes"))
                .entryList({QStringLiteral("scene%1-*.bmp").arg(index)}, QDir::Files);
        QCOMPARE(files.size(), 1);
        const QImage scene =
            QImage(QStringLiteral(PENSILO_SOURCE_DIR "/assets/scenes/") + files.first())
                .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(scene.size(), pictureSize);

        rig.drawSomething();
        const QPoint at = inInner(rig.scenePanel(), thumbnail->geometry().center());
        QCOMPARE(inner()->childAt(at), static_cast<QWidget*>(thumbnail));
        QVERIFY(rig.pressAt(at, Qt::LeftButton));
        QCOMPARE(rig.canvas(), scene.copy(0, 0, 471, 429));
    }

    // The lines on the scene panel, in the window-text colour, over the
    // thumbnails.
    void everySceneLine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QLine>("ends"); // twips
        QTest::newRow("Line2") << "Line2" << QLine(0, 480, 3120, 480);
        QTest::newRow("Line5") << "Line5" << QLine(0, 1440, 3120, 1440);
        QTest::newRow("Line4") << "Line4" << QLine(0, 2400, 3120, 2400);
        QTest::newRow("Line6") << "Line6" << QLine(0, 480, 0, 2400);
        QTest::newRow("Line7") << "Line7" << QLine(1080, 480, 1080, 2400);
        QTest::newRow("Line11") << "Line11" << QLine(2090, 480, 2090, 2400);
        QTest::newRow("Line3") << "Line3" << QLine(3120, 480, 3120, 2400);
        QTest::newRow("Line8") << "Line8" << QLine(960, 600, 120, 1320);
        QTest::newRow("Line9") << "Line9" << QLine(960, 1320, 120, 600);
    }
    void everySceneLine() {
        QFETCH(QString, name);
        QFETCH(QLine, ends);
        auto* line = static_cast<LineControl*>(
            rig.scenePanel()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly));
        QVERIFY(line);
        QCOMPARE(line->borderColor(), kBlack);
        const QString missing = lineMissing(grabbed(rig.scenePanel()), ends, 1);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    // The window's panels and the swatches: place, size and back colour.
    void everyPanel_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");   // twips, inside its container
        QTest::addColumn<qint64>("colour"); // 0x00BBGGRR, or -1: not a fixed colour
        QTest::newRow("Picture5") << "Picture5" << QRect(120, 6720, 10575, 735) << qint64(-1);
        QTest::newRow("Picture2(0)")
            << "Picture2(0)" << QRect(7440, 480, 3135, 3855) << qint64(0xC0C0C0);
        for (int page = 1; page <= 12; ++page)
            QTest::addRow("Picture2(%d)", page) << QStringLiteral("Picture2(%1)").arg(page)
                                                << QRect(7440, 600, 3135, 2535) << qint64(0xC0C0C0);
        QTest::newRow("Picture1") << "Picture1" << QRect(120, 120, 7065, 6435) << qint64(-1);
        QTest::newRow("Picture4") << "Picture4" << QRect(7440, 3960, 3135, 2535)
                                  << qint64(0xC0C0C0);
        QTest::newRow("TabStrip1") << "TabStrip1" << QRect(7320, 0, 3375, 6615) << qint64(-1);
        QTest::newRow("Picture7") << "Picture7" << QRect(120, 120, 615, 495) << qint64(0xE0E0E0);
        QTest::newRow("Picture9") << "Picture9" << QRect(240, 180, 250, 250) << qint64(0xFFFFFF);
        QTest::newRow("Picture8") << "Picture8" << QRect(120, 80, 250, 250) << qint64(0x000000);
    }
    void everyPanel() {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(qint64, colour);
        auto* control = form().findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), pxRect(place.x(), place.y(), place.width(), place.height()));
        if (colour >= 0)
            QCOMPARE(static_cast<PictureBoxControl*>(control)->backColor(),
                     fromBgr(quint32(colour)));
    }

    // Which control lies above which: a control listed earlier lies above
    // the ones listed after it.
    void stackingTopFirst_data() {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QStringList>("topFirst");
        QTest::newRow("tool page")
            << "Picture2(0)"
            << QStringList{"Picture3(194)", "Shape4",    "Picture3(193)", "Shape3",
                           "Picture3(192)", "Line1",     "Picture3(191)", "Picture3(190)",
                           "Shape2",        "Shape1",    "Picture3(189)", "Line10(5)",
                           "Picture3(188)", "Line10(4)", "Picture3(187)", "Line10(3)",
                           "Picture3(186)", "Line10(2)", "Picture3(185)", "Line10(1)",
                           "Picture3(184)", "Line10(0)", "Picture3(183)"};
        QStringList palette;
        for (int index = 42; index >= 1; --index)
            if (index != 37)
                palette << QStringLiteral("Picture6(%1)").arg(index);
        palette << "Picture7"
                << "Picture6(0)";
        QTest::newRow("palette panel") << "Picture5" << palette;
        QTest::newRow("swatch holder") << "Picture7" << QStringList{"Picture9", "Picture8"};
        QStringList window{"Picture5", "Picture2(0)"};
        for (int page = 1; page <= 12; ++page)
            window << QStringLiteral("Picture2(%1)").arg(page);
        window << "Picture1"
               << "Picture4"
               << "TabStrip1";
        QTest::newRow("window") << "Form1.inner" << window;
    }
    void stackingTopFirst() {
        QFETCH(QString, container);
        QFETCH(QStringList, topFirst);
        auto* parent = form().findChild<QWidget*>(container);
        QVERIFY(parent);
        // Qt keeps a widget's children in stacking order, bottom first.
        QStringList seen;
        for (QObject* child : parent->children())
            if (child->isWidgetType())
                seen.prepend(child->objectName());
        QCOMPARE(seen, topFirst);
    }
};

QTEST_MAIN(TestLayoutTables)
#include "tst_layouttables.moc"
