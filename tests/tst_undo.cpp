// Undo and redo through the keys of the real window: every kind of step, the
// title that travels with a picture, and a property over random sessions.
#include "FormRig.h"
#include "canvas/UndoHistory.h"
#include "pickers/ScenePanel.h"
#include "platform/widgets/ImageControl.h"

#include <QFileInfo>

#include <random>

using Answer = Dialogs::Answer;

namespace {

enum class Action { Stroke, Shape, Stamp, Scene, Open, New };

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;
    QString picture; // a BMP to open, unlike anything drawn here

    void undo() { rig.key(Qt::Key_Z, Qt::ControlModifier); }
    void redo(bool y = true) {
        rig.key(y ? Qt::Key_Y : Qt::Key_Z,
                y ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    }
    static QString where(int x, int y) { return QString("(%1, %2)").arg(x).arg(y); }

    // One action a child takes; `n` varies where and with what.
    void act(Action action, int n) {
        const QPoint at(20 + n * 37 % 400, 20 + n * 53 % 380);
        switch (action) {
        case Action::Stroke:
            FormRig::press(rig.button(ToolId::kFirstPen + n % 6));
            rig.drag({at, at + QPoint(40, 10), at + QPoint(15, 50)});
            break;
        case Action::Shape:
            FormRig::press(rig.button(ToolId::kBox + n % 5));
            rig.drag({at, at + QPoint(30, 20), at + QPoint(60, 45)});
            break;
        case Action::Stamp:
            FormRig::press(rig.button(n % 183));
            rig.drag({at});
            break;
        case Action::Scene:
            FormRig::press(rig.scenes().thumbnail(n % 6), Qt::LeftButton, QPoint(20, 20));
            break;
        case Action::Open:
            rig.dialogs.files.push_back(picture);
            rig.key(Qt::Key_O, Qt::ControlModifier);
            break;
        case Action::New:
            rig.dialogs.answers.push_back(Answer::No);
            rig.key(Qt::Key_N, Qt::ControlModifier);
            break;
        }
    }

private slots:
    void initTestCase() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        picture = dir->filePath("moln.bmp");
        QImage clouds(300, 200, QImage::Format_RGB32);
        clouds.fill(qRgb(120, 170, 250));
        QVERIFY(clouds.save(picture, "BMP"));
    }
    void init() {
        QVERIFY(rig.show());
        rig.setSnapshotFolder(dir->path() + "/");
    }
    void cleanup() { rig.form.reset(); }

    // Each kind of step goes back and comes again, pixels and title, with the
    // keyboard focus anywhere in the window.
    void everyKindOfStep_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("focus"); // 0 canvas, 1 tab strip, 2 a palette cell
        QTest::newRow("stroke, canvas") << int(Action::Stroke) << 0;
        QTest::newRow("shape, tab strip") << int(Action::Shape) << 1;
        QTest::newRow("stamp, palette") << int(Action::Stamp) << 2;
        QTest::newRow("scene, canvas") << int(Action::Scene) << 0;
        QTest::newRow("open, tab strip") << int(Action::Open) << 1;
        QTest::newRow("new, palette") << int(Action::New) << 2;
    }
    void everyKindOfStep() {
        QFETCH(int, action);
        QFETCH(int, focus);
        rig.drawSomething(); // so New and a scene have something to take away
        const QImage before = rig.canvas();
        const QString titleBefore = rig.title();
        act(Action(action), 3);
        const QImage after = rig.canvas();
        const QString titleAfter = rig.title();
        QVERIFY(after != before || titleAfter != titleBefore);
        QWidget* focused = focus == 0   ? static_cast<QWidget*>(rig.canvasWidget())
                           : focus == 1 ? static_cast<QWidget*>(rig.tabStrip())
                                        : rig.palette().cell(7);
        focused->setFocus();
        undo();
        QCOMPARE(rig.canvas(), before);
        QCOMPARE(rig.title(), titleBefore);
        redo(action % 2 == 0);
        QCOMPARE(rig.canvas(), after);
        QCOMPARE(rig.title(), titleAfter);
        undo();
        undo(); // the drawing's own stroke
        QCOMPARE(rig.canvas().pixel(100, 30), qRgb(255, 255, 255));
        undo(); // nothing left: nothing happens
        QCOMPARE(rig.canvas().pixel(100, 30), qRgb(255, 255, 255));
    }

    // Ctrl+S after undoing an Open writes where the restored title says: an
    // untitled drawing asks for a name, never overwriting the opened file.
    void saveAfterUndoingOpenGoesWhereTheTitleSays() {
        rig.drawSomething();
        act(Action::Open, 0);
        undo();
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        const QString copy = dir->filePath("kopia.bmp");
        rig.dialogs.files.push_back(copy);
        rig.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readBack(copy), rig.canvas());
        QCOMPARE(readBack(picture).pixel(0, 0), qRgb(120, 170, 250));
    }

    // A scene pressed by mistake over a picture larger than the canvas, then
    // taken back: the save writes the whole picture again, not the corner.
    void undoingASceneBringsBackThePictureBeyondTheCanvas() {
        const QString large = dir->filePath("stor.bmp");
        QImage wide(800, 600, QImage::Format_RGB32);
        wide.fill(qRgb(10, 200, 30));
        QVERIFY(wide.save(large, "BMP"));
        rig.dialogs.files.push_back(large);
        rig.key(Qt::Key_O, Qt::ControlModifier);
        act(Action::Scene, 4);
        undo();
        rig.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(readBack(large), wide);
    }

    // A shape undone, then another drawn: its preview clears to the canvas as
    // undo left it, never to the figure taken back; the keys do nothing
    // mid-drag, and the new step drops what could have been redone.
    void aShapeAfterAnUndo() {
        const QImage white = rig.canvas();
        act(Action::Shape, 1);
        undo();
        QCOMPARE(rig.canvas(), white);
        FormRig::press(rig.button(ToolId::kBox));
        rig.press({300, 300});
        rig.moveHeld({320, 330});
        redo();
        rig.moveHeld({310, 310});
        rig.release({310, 310});
        redo();
        int drawn = 0;
        for (int y = 0; y < white.height(); ++y)
            for (int x = 0; x < white.width(); ++x)
                if (rig.canvas().pixel(x, y) != white.pixel(x, y)) {
                    QVERIFY2(QRect(300, 300, 11, 11).contains(x, y), qPrintable(where(x, y)));
                    ++drawn;
                }
        QCOMPARE(drawn, 40); // the outline of an 11 x 11 box
        undo();
        QCOMPARE(rig.canvas(), white);
    }

    // Whatever a session of actions, undos and redos, the window ends as a
    // replay of only the actions still in force.
    void aRandomSessionEqualsItsReplay() {
        std::mt19937 random(20261211);
        for (int session = 0; session < 4; ++session) {
            QVERIFY(rig.show());
            rig.setSnapshotFolder(dir->path() + "/");
            std::vector<std::pair<Action, int>> done, undone;
            for (int event = 0; event < 40; ++event) {
                const int roll = int(random() % 10);
                // The keys are pressed whether or not there is something to
                // take back: with nothing, they must do nothing.
                if (roll < 2) {
                    undo();
                    if (!done.empty()) {
                        undone.push_back(done.back());
                        done.pop_back();
                    }
                } else if (roll < 4) {
                    redo(roll % 2 == 0);
                    if (!undone.empty()) {
                        done.push_back(undone.back());
                        undone.pop_back();
                    }
                } else {
                    const auto action = std::make_pair(Action(random() % 6), int(random() % 97));
                    const QImage before = rig.canvas();
                    const QString title = rig.title();
                    act(action.first, action.second);
                    // A step is recorded only when something changed.
                    if (rig.canvas() != before || rig.title() != title) {
                        done.push_back(action);
                        undone.clear();
                    }
                }
            }
            const QImage seen = rig.canvas();
            const QString seenTitle = rig.title();
            QVERIFY(rig.show());
            rig.setSnapshotFolder(dir->path() + "/");
            for (const auto& [action, n] : done)
                act(action, n);
            QCOMPARE(rig.canvas(), seen);
            QCOMPARE(rig.title(), seenTitle);
        }
    }

    // Past 500 steps or 16 MiB the oldest go first; noise packs not at all.
    void theHistoryKeepsItsBounds() {
        PictureBox canvas;
        UndoHistory history(canvas);
        std::mt19937 random(7);
        QImage noise(PictureBox::kWidth, PictureBox::kHeight, QImage::Format_RGB32);
        for (int step = 0; step < 500; ++step) {
            for (int y = 0; y < noise.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(noise.scanLine(y));
                for (int x = 0; x < noise.width(); ++x)
                    row[x] = 0xff000000u | (random() & 0xffffffu);
            }
            history.beginWhole();
            canvas.setPicture(noise.copy());
            history.end();
            QVERIFY(history.bytes() <= UndoHistory::kMaxBytes);
        }
        QVERIFY(history.undoCount() >= 16);
        QVERIFY(history.undoCount() < 25);
        const QImage last = canvas.Image().copy();
        while (history.undo()) {
        }
        while (history.redo()) {
        }
        QCOMPARE(canvas.Image(), last);
        history.setLimits(3, UndoHistory::kMaxBytes);
        QCOMPARE(history.undoCount(), 3);
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
