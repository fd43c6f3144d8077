#include "FormRig.h"
#include "platform/widgets/PictureBoxControl.h"

#include <QDir>
#include <QtTest>

// The palette panel, the thirteen pages and the scene panel as the child sees
// them at start, compared pixel for pixel with pictures in tests/reference/
// that were looked at once by eye. No text is drawn in any of them, so they
// match exactly.
//
// After a deliberate change to what they show, rewrite the pictures with
//     make references
// (or PENSILO_UPDATE_REFERENCES=1 on this test) and look at them before
// committing.
class TestRenderings : public QObject {
    Q_OBJECT

private:
    FormRig rig;

    static QString referencePath(const QString& name) {
        return QStringLiteral(PENSILO_SOURCE_DIR "/tests/reference/") + name + ".png";
    }

private slots:
    void initTestCase() { QVERIFY(rig.show()); }
    void cleanupTestCase() { rig.form.reset(); }

    void looksAsItDid_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("tab"); // 0: the palette panel, -1: the scene panel
        QTest::newRow("palette") << "palette" << 0;
        QTest::newRow("scenes") << "scenes" << -1;
        QTest::newRow("tab 1, tools") << "tab01-tools" << 1;
        for (int tab = 2; tab <= 13; ++tab)
            QTest::addRow("tab %d, stamps", tab)
                << QStringLiteral("tab%1").arg(tab, 2, 10, QLatin1Char('0')) << tab;
    }
    void looksAsItDid() {
        QFETCH(QString, name);
        QFETCH(int, tab);
        QWidget* shown = tab == 0 ? rig.palettePanel() : rig.scenePanel();
        if (tab > 0) {
            rig.clickTab(tab);
            shown = rig.page(tab - 1);
            QVERIFY(shown->isVisible());
        }
        const QImage seen = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);

        if (qEnvironmentVariableIntValue("PENSILO_UPDATE_REFERENCES") == 1) {
            QVERIFY(QDir().mkpath(QFileInfo(referencePath(name)).path()));
            QVERIFY(seen.save(referencePath(name), "PNG"));
            QSKIP(qPrintable("rewrote " + referencePath(name) + "; look at it before committing"));
        }
        const QImage reference = QImage(referencePath(name)).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!reference.isNull(), qPrintable("no picture " + referencePath(name)));
        QCOMPARE(seen.size(), reference.size());
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < seen.height(); ++y)
            for (int x = 0; x < seen.width(); ++x)
                if (seen.pixel(x, y) != reference.pixel(x, y) && differing++ == 0)
                    first = QPoint(x, y);
        if (differing > 0) {
            // Kept for a look beside the reference.
            const QString kept = QDir::temp().filePath("pensilo-" + name + ".png");
            seen.save(kept, "PNG");
            QFAIL(qPrintable(QStringLiteral("%1 pixels differ, the first at %2,%3; seen: %4")
                                 .arg(differing)
                                 .arg(first.x())
                                 .arg(first.y())
                                 .arg(kept)));
        }
    }
};

QTEST_MAIN(TestRenderings)
#include "tst_renderings.moc"
