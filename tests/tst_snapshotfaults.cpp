#include "FormRig.h"
#include "RealFaults.h"
#include "canvas/DrawingState.h"
#include "platform/PictureFile.h"
#include "platform/widgets/ImageControl.h"

#include <memory>

using Answer = Dialogs::Answer;

namespace {

QStringList listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Pixels where the two pictures differ, outside `spared`.
int differencesOutside(const QImage& a, const QImage& b, const QRect& spared) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += !spared.contains(x, y) && a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

// temp.bmp is only a copy of the canvas, kept where the program lives: a full
// disk, a file deleted or a folder put in its place, or a second program
// writing it must never cost the child the drawing, stop the program or
// bring up a message in the middle of a drag.
class TestSnapshotFaults : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;
    QString folder;  // where the window keeps temp.bmp
    QString failure; // why shapePressRestoresTheCanvas failed

    QString snapshot() const { return folder + "/temp.bmp"; }

    void useSnapshotFolder(const QString& path) {
        folder = path;
        rig.setSnapshotFolder(path + "/");
    }
    void chooseTool(qint16 tool) {
        QTest::mouseClick(rig.button(size_t(tool)), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(rig.currentTool(), tool);
    }
    void drawAStroke(int y) {
        chooseTool(ToolId::kLastPen);
        rig.drag({{30, y}, {440, y}, {440, y + 60}});
    }

    // A filled box pressed at `at`: its preview spread out to `far`, then
    // brought back to the press point, must have cleared back to the canvas
    // as it was at the press, whatever became of the file; the release keeps
    // the drawing. Returns the canvas as it was at the press.
    QImage shapePressRestoresTheCanvas(QPoint at, QPoint far) {
        const QImage atPress = rig.canvas();
        rig.press(at);
        rig.moveHeld(far);
        const QImage spread = rig.canvas();
        // QRect's normalized() loses a pixel at each flipped edge; spell it out.
        const QRect box(QPoint(std::min(at.x(), far.x()) - 1, std::min(at.y(), far.y()) - 1),
                        QPoint(std::max(at.x(), far.x()) + 1, std::max(at.y(), far.y()) + 1));
        if (const int n = differencesOutside(spread, atPress, box)) {
            failure = QStringLiteral("spread: %1 pixels changed outside the figure").arg(n);
            return {};
        }
        rig.moveHeld(at);
        const QRect point(at - QPoint(1, 1), QSize(3, 3));
        if (const int n = differencesOutside(rig.canvas(), atPress, point)) {
            failure = QStringLiteral("back at the press point: %1 pixels changed").arg(n);
            return {};
        }
        rig.moveHeld(far);
        rig.release(far);
        if (rig.canvas() != spread) {
            failure = QStringLiteral("released: not the preview");
            return {};
        }
        return atPress;
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(rig.show());
        useSnapshotFolder(dir->filePath("program"));
        QVERIFY(QDir().mkpath(folder));
    }
    void cleanup() { rig.form.reset(); }

    void whateverBecameOfTheFileBetweenTwoPresses_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("rewritten"); // the second press writes temp.bmp anew
        QTest::newRow("file deleted") << "deleted" << true;
        QTest::newRow("no picture in its place") << "text" << true;
        QTest::newRow("empty folder in its place") << "folder" << false;
        QTest::newRow("folder with files in its place") << "full folder" << false;
        QTest::newRow("the whole folder gone") << "no folder" << false;
    }
    void whateverBecameOfTheFileBetweenTwoPresses() {
        QFETCH(QString, fault);
        QFETCH(bool, rewritten);
        drawAStroke(40);
        chooseTool(ToolId::kFilledBox);
        QVERIFY2(!shapePressRestoresTheCanvas({60, 60}, {200, 160}).isNull(), qPrintable(failure));
        QVERIFY(QFileInfo(snapshot()).isFile());

        if (fault == "deleted") {
            QVERIFY(QFile::remove(snapshot()));
        } else if (fault == "text") {
            QFile text(snapshot());
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("inte en bild");
        } else if (fault == "no folder") {
            QVERIFY(QDir(folder).removeRecursively());
        } else {
            QVERIFY(QFile::remove(snapshot()));
            QVERIFY(QDir(folder).mkdir("temp.bmp"));
            if (fault == "full folder") {
                QFile kept(snapshot() + "/kvar.txt");
                QVERIFY(kept.open(QIODevice::WriteOnly));
                kept.write("kvar");
            }
        }
        const QStringList before = QFileInfo::exists(folder) ? listing(folder) : QStringList();
        const QStringList inside = listing(snapshot());

        drawAStroke(300);
        chooseTool(ToolId::kFilledEllipse);
        const QImage atPress = shapePressRestoresTheCanvas({250, 200}, {120, 330});
        QVERIFY2(!atPress.isNull(), qPrintable(failure));
        // A second figure on the same faulty folder behaves alike.
        chooseTool(ToolId::kBox);
        QVERIFY2(!shapePressRestoresTheCanvas({400, 20}, {300, 120}).isNull(), qPrintable(failure));

        if (rewritten) {
            QCOMPARE(PictureFile::load(snapshot()).image.size(), QSize(471, 429));
        } else {
            // What stood in the file's place is left as it was, with nothing beside it.
            QCOMPARE(QFileInfo::exists(folder) ? listing(folder) : QStringList(), before);
            QCOMPARE(listing(snapshot()), inside);
        }
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QVERIFY(rig.dialogs.questions.isEmpty());
        QVERIFY(!rig.form->stopped());
    }

    // A real full disk under the snapshot, then a save of the picture onto it:
    // the drawing goes on silently, the save tells the child once.
    void aFullDisk_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<bool>("firstFits");
        QTest::newRow("too small for any snapshot") << "64k" << false;
        QTest::newRow("filled after the first snapshot") << "1m" << true;
    }
    void aFullDisk() {
        QFETCH(QString, size);
        QFETCH(bool, firstFits);
        if (!isRoot())
            QSKIP("mounting a file system needs root");
        Tmpfs disk;
        if (!disk.mount(size))
            QSKIP("tmpfs could not be mounted");
        useSnapshotFolder(disk.path());

        drawAStroke(40);
        chooseTool(ToolId::kFilledBox);
        const QImage first = shapePressRestoresTheCanvas({60, 60}, {200, 160});
        QVERIFY(!first.isNull());
        QCOMPARE(QFileInfo(snapshot()).isFile(), firstFits);
        QVERIFY(fillDisk(disk.path()));
        const QStringList filled = listing(disk.path());

        drawAStroke(300);
        chooseTool(ToolId::kStraightLine);
        QVERIFY2(!shapePressRestoresTheCanvas({250, 200}, {120, 330}).isNull(),
                 qPrintable(failure));
        chooseTool(ToolId::kEllipse);
        QVERIFY2(!shapePressRestoresTheCanvas({400, 20}, {300, 120}).isNull(), qPrintable(failure));
        // No half-written snapshot left behind, and the old one still whole.
        QCOMPARE(listing(disk.path()), filled);
        if (firstFits)
            QCOMPARE(PictureFile::load(snapshot()).image, first);
        QVERIFY(rig.dialogs.warnings.isEmpty());

        const QImage drawn = rig.canvas();
        const QString picture = disk.path() + "/hus.bmp";
        rig.saveAs(picture);
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.first().contains(picture));
        QVERIFY2(rig.dialogs.warnings.first().contains(QString::fromUtf8("Disken är full")),
                 qPrintable(rig.dialogs.warnings.first()));
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(listing(disk.path()), filled);

        // Drawing on is as silent as before: one message for the one save.
        QVERIFY2(!shapePressRestoresTheCanvas({100, 380}, {20, 300}).isNull(), qPrintable(failure));
        QCOMPARE(rig.dialogs.warnings.size(), 1);
    }

    // Two Pensilo windows keep temp.bmp in the same folder. Whichever writes
    // between this one's write and its read, the preview must clear back to
    // this canvas, never to the other's picture.
    void anotherProgramWritingTheSameFile() {
        QProcess other;
        other.start(QStringLiteral(PICTUREFILE_SAVELOOP),
                    {snapshot(), dir->filePath("a.bmp"), dir->filePath("b.bmp"), "471", "429"});
        QVERIFY2(other.waitForReadyRead(20000), other.readAllStandardError().constData());
        QCOMPARE(other.readAllStandardOutput(), QByteArray("ready\n"));
        drawAStroke(40);
        chooseTool(ToolId::kFilledBox);
        for (int i = 0; i < 150; ++i) {
            const QPoint at(20 + i * 37 % 420, 20 + i * 53 % 380);
            const QPoint far(at.x() + 30 - i % 60, at.y() + 25 - i % 50);
            QVERIFY2(!shapePressRestoresTheCanvas(at, far).isNull(),
                     qPrintable(QStringLiteral("press %1: %2").arg(i).arg(failure)));
        }
        other.kill();
        QVERIFY(other.waitForFinished(10000));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }
};

QTEST_MAIN(TestSnapshotFaults)
#include "tst_snapshotfaults.moc"
