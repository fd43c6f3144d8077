// Mouse events go in through the window system, as a real mouse's do, so the
// grab from press to release, the open menu and hovering all behave as they
// do for a child.
#define QTEST_QPA_MOUSE_HANDLING

#include "FormRig.h"
#include "RecoveryFiles.h"
#include "canvas/UndoHistory.h"
#include "document/Document.h"
#include "pickers/PalettePanel.h"
#include "pickers/ScenePanel.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/TabStrip.h"

#include <QMenu>
#include <QMenuBar>
#include <QPixmapCache>
#include <QPrinter>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define PENSILO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PENSILO_ASAN 1
#endif
#endif
#ifdef PENSILO_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

#include <array>
#include <climits>
#include <cstdio>
#include <random>
#include <set>

using Answer = Dialogs::Answer;

namespace {

// The script's records are emptied and memory is sampled every this many events.
constexpr qint64 kBatch = 100;
// Enough for a few seconds; PENSILO_SESSION_EVENTS asks for more.
constexpr qint64 kDefaultEvents = 6000;
// On runs long enough to tell growth from settling, memory after warm-up may
// grow this much at most: the heap in any build, and resident memory where no
// sanitizer keeps memory of its own.
constexpr qint64 kMemoryCheckedFrom = 100000;
// The undo history may fill its whole budget after warm-up.
constexpr double kUndoBudgetMiB = double(UndoHistory::kMaxBytes) / (1024 * 1024);
constexpr double kAllowedHeapGrowthMiB = 4 + kUndoBudgetMiB;
constexpr double kAllowedResidentGrowthMiB = 8 + kUndoBudgetMiB;
#ifdef PENSILO_ASAN
// AddressSanitizer holds freed memory back (256 MiB by default) and keeps
// what it once mapped, so resident memory tells nothing of the program's.
constexpr bool kResidentMeasuresTheProgram = false;
#else
constexpr bool kResidentMeasuresTheProgram = true;
#endif
constexpr double kMiB = 1024.0 * 1024.0;

qint64 environmentNumber(const char* name, qint64 fallback) {
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? value : fallback;
}

double residentMiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / kMiB;
}

// What the program holds on the heap now, whatever the allocator keeps besides.
double heapMiB() {
#ifdef PENSILO_ASAN
    return double(__sanitizer_get_current_allocated_bytes()) / kMiB;
#elif defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / kMiB;
#else
    return 0;
#endif
}

// Memory at one moment of the session.
struct Memory {
    double resident = 0;
    double heap = 0;
    static Memory now() { return {residentMiB(), heapMiB()}; }
};

// The offscreen platform says, for every menu that opens, that it cannot grab
// the keyboard or raise a window; a long session would drown in it.
QtMessageHandler passOn = nullptr;
void withoutPlatformNoise(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    passOn(type, context, message);
}

// One input the session sent, kept to tell what led up to a failure.
struct Step {
    const char* what = "";
    QPoint at;
    int detail = 0;
};

} // namespace

// A long session of a child using the whole window at random: drawing with
// every button and tool, choosing pages, stamps, colours and scenes, opening
// the menu by mouse and keys, answering every question and file dialog every
// way. After every step the window must still be whole.
class TestLongSession : public QObject {
    Q_OBJECT

public:
    // Qt Test ends a test function after five minutes; a long run takes longer.
    static void initMain() {
        const qint64 total = environmentNumber("PENSILO_SESSION_EVENTS", kDefaultEvents);
        if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
            qputenv("QTEST_FUNCTION_TIMEOUT",
                    QByteArray::number(std::clamp<qint64>(total * 20, 300000, INT_MAX)));
    }

private:
    FormRig rig;
    QTemporaryDir files;     // pictures saved and opened
    QTemporaryDir snapshots; // temp.bmp
    std::mt19937 random;
    quint32 seed = 0;
    std::vector<std::optional<QString>> fileChoices;
    std::set<QRgb> paletteColours;
    QSize windowSize;
    qint64 events = 0;
    int restarts = 0;
    int kills = 0;
    int offered = 0;        // kills after which the picture was offered back
    QString recoveryBroken; // what the last kill found wrong, if anything
    std::array<Step, 24> recent{};
    qint64 stepCount = 0;

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random) < p; }
    QPoint pointIn(const QRect& rect) {
        return {rect.left() + below(std::max(1, rect.width())),
                rect.top() + below(std::max(1, rect.height()))};
    }
    void note(const char* what, QPoint at = {}, int detail = 0) {
        recent[size_t(stepCount++ % qint64(recent.size()))] = Step{what, at, detail};
    }

    Form1* form() const { return rig.form.get(); }
    // A point of `control`, in the window's coordinates, kept inside the window.
    QPoint inWindow(const QWidget* control, QPoint local) const {
        const QPoint p = control->mapTo(form(), local);
        return {std::clamp(p.x(), 0, form()->width() - 1),
                std::clamp(p.y(), 0, form()->height() - 1)};
    }
    Qt::MouseButton anyButton() {
        const int pick = below(20);
        return pick < 11 ? Qt::LeftButton : pick < 18 ? Qt::RightButton : Qt::MiddleButton;
    }
    Qt::KeyboardModifiers anyModifiers() {
        if (!chance(0.1))
            return Qt::NoModifier;
        const Qt::KeyboardModifier all[] = {Qt::ShiftModifier, Qt::ControlModifier,
                                            Qt::AltModifier};
        return all[below(3)];
    }

    void press(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(form(), button, modifiers, at);
        ++events;
    }
    void release(QPoint at, Qt::MouseButton button) {
        QTest::mouseRelease(form(), button, {}, at);
        ++events;
    }
    void click(QPoint at, Qt::MouseButton button) {
        QTest::mouseClick(form(), button, {}, at);
        events += 2;
    }
    void moveTo(QPoint at) {
        QTest::mouseMove(form(), at);
        ++events;
    }
    void key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(target, key, modifiers);
        events += 2;
    }

    // Questions and file dialogs get a random answer each, whenever they come.
    void topUpDialogs() {
        while (rig.dialogs.answers.size() < 2) {
            const Answer answers[] = {Answer::Yes, Answer::No, Answer::Cancel};
            rig.dialogs.answers.push_back(answers[below(3)]);
        }
        while (rig.dialogs.files.size() < 2)
            rig.dialogs.files.push_back(fileChoices[size_t(below(int(fileChoices.size())))]);
        // The print dialog: cancelled, or a PDF in a folder that is there or not.
        while (rig.dialogs.printers.size() < 2) {
            const int pick = below(3);
            const QString pdf = files.filePath(pick == 1 ? "utskrift.pdf" : "saknas/utskrift.pdf");
            rig.dialogs.printers.push_back([pick, pdf](QPrinter& printer) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(pdf);
                return pick != 0;
            });
        }
    }

    bool startWindow() {
        // A window closed mid-drag leaves no button held for the next one.
        QTestPrivate::qtestMouseButtons = Qt::NoButton;
        // The stopped program's process would have ended here. Qt's style
        // caches pictures of each window's controls that the next window
        // does not reuse; over thousands of windows they would fill Qt's
        // 10 MiB picture cache, which the one window of a child's session
        // never does.
        QPixmapCache::clear();
        if (!rig.show())
            return false;
        const QString folder = snapshots.path() + QLatin1Char('/');
        rig.setSnapshotFolder(folder);
        QApplication::setActiveWindow(form());
        if (windowSize.isEmpty())
            windowSize = form()->size();
        return true;
    }

    // One thing a child does; a click counts as two events.
    void step() {
        topUpDialogs();
        // QTest's clock is an int that gains half a second at every release;
        // started again well before it overflows, on a run of tens of millions.
        if (QTest::lastMouseTimestamp > 1'000'000'000 &&
            QTestPrivate::qtestMouseButtons == Qt::NoButton)
            QTest::lastMouseTimestamp = 0;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            if (auto* menu = qobject_cast<QMenu*>(popup)) {
                inTheMenu(menu);
                return;
            }
        }
        const bool held = QTestPrivate::qtestMouseButtons != Qt::NoButton;
        if (!held && chance(0.005)) {
            killAndStartAgain();
            return;
        }
        const int pick = below(100);
        if (held ? pick < 85 : pick < 40)
            onTheCanvas();
        else if (pick < 48)
            clickATab();
        else if (pick < 62)
            pressAButtonOnThePage();
        else if (pick < 72)
            pressAPaletteCell();
        else if (pick < 75)
            pressAScene();
        else if (pick < 79)
            openTheMenuByMouse();
        else if (pick < 92)
            pressKeys();
        else if (pick < 99)
            elsewhereInTheWindow();
        else if (chance(0.3)) {
            note("close the window");
            form()->close();
            ++events;
        }
    }

    // The window goes without a question, as a killed program's does, and a
    // new one starts on the same state folder: a picture that was not safe
    // comes back as it was after the last gesture, under its title.
    void killAndStartAgain() {
        note("kill and start again");
        const QImage picture = rig.canvas();
        const QString title = form()->windowTitle();
        ++kills;
        if (!startWindow()) {
            recoveryBroken = QStringLiteral("no new window");
            return;
        }
        rig.dialogs.answers.push_back(Answer::Yes);
        form()->startWith({});
        const QString name = Document::nameFromTitle(title);
        if (rig.dialogs.questions.size() == 1) {
            ++offered;
            if (rig.canvas() != picture || form()->windowTitle() != title)
                recoveryBroken = QStringLiteral("the picture came back otherwise");
        } else if (!rig.dialogs.questions.isEmpty()) {
            recoveryBroken =
                QStringLiteral("%1 pictures offered").arg(rig.dialogs.questions.size());
        } else if (name == Document::kUntitled ? picture != whiteCanvas()
                                               : readBack(name) != picture) {
            recoveryBroken = QStringLiteral("a picture that was not safe was not offered");
        }
        rig.dialogs.answers.clear();
    }

    void onTheCanvas() {
        const QRect canvas(rig.canvasWidget()->mapTo(form(), QPoint(0, 0)),
                           rig.canvasWidget()->size());
        const Qt::MouseButtons held = QTestPrivate::qtestMouseButtons;
        if (held == Qt::NoButton) {
            if (chance(0.7)) {
                const QPoint at = pointIn(canvas);
                const Qt::MouseButton button = anyButton();
                note("canvas press", at, button);
                press(at, button, anyModifiers());
            } else {
                const QPoint at = pointIn(form()->rect());
                note("hover", at);
                moveTo(at);
            }
            return;
        }
        const int pick = below(100);
        if (pick < 75) {
            // Mostly over the canvas, sometimes well off it: the canvas keeps the mouse.
            const QPoint at =
                chance(0.85) ? pointIn(canvas.adjusted(-20, -20, 20, 20)) : pointIn(form()->rect());
            const QPoint inside(std::clamp(at.x(), 0, form()->width() - 1),
                                std::clamp(at.y(), 0, form()->height() - 1));
            note("drag", inside, held);
            moveTo(inside);
        } else if (pick < 82) {
            const Qt::MouseButton button = anyButton();
            if (held & button)
                return;
            const QPoint at = pointIn(canvas);
            note("second button", at, button);
            press(at, button);
        } else {
            const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
            Qt::MouseButton button = buttons[below(3)];
            while (!(held & button))
                button = buttons[below(3)];
            const QPoint at = pointIn(canvas.adjusted(-10, -10, 10, 10));
            const QPoint inside(std::clamp(at.x(), 0, form()->width() - 1),
                                std::clamp(at.y(), 0, form()->height() - 1));
            note("canvas release", inside, button);
            release(inside, button);
        }
    }

    void clickATab() {
        const int tab = below(rig.tabStrip()->count());
        const QPoint at = inWindow(rig.tabStrip(), pointIn(rig.tabStrip()->tabRect(tab)));
        const Qt::MouseButton button = chance(0.85) ? Qt::LeftButton : anyButton();
        note("tab", at, tab + 1);
        click(at, button);
    }

    PictureBoxControl* seenPage() const {
        return rig.page(size_t(rig.tabStrip()->selectedIndex()));
    }

    void pressAButtonOnThePage() {
        PictureBoxControl* page = seenPage();
        std::vector<int> onPage;
        for (int index = 0; index < ToolId::kCount; ++index)
            if (rig.button(size_t(index))->parentWidget() == page)
                onPage.push_back(index);
        if (onPage.empty())
            return;
        const int index = onPage[size_t(below(int(onPage.size())))];
        ImageControl* button = rig.button(size_t(index));
        // Only the part of a button inside its page can be reached.
        const QRect reachable = button->geometry() & page->rect();
        if (reachable.isEmpty())
            return;
        const QPoint at = inWindow(page, pointIn(reachable));
        note("tool or stamp button", at, index);
        click(at, anyButton());
    }

    void pressAPaletteCell() {
        int index = below(PalettePanel::kCellSlots);
        while (!rig.palette().cell(index))
            index = below(PalettePanel::kCellSlots);
        PictureBoxControl* cell = rig.palette().cell(index);
        const QPoint at = inWindow(cell, pointIn(cell->rect()));
        note("palette cell", at, index);
        click(at, anyButton());
    }

    void pressAScene() {
        const int index = below(int(rig.scenes().Image2.size()));
        ImageControl* scene = rig.scenes().thumbnail(index);
        const QPoint at = inWindow(scene, pointIn(scene->rect()));
        note("scene", at, index);
        click(at, anyButton());
    }

    void openTheMenuByMouse() {
        QMenuBar* bar = form()->menuBar();
        const QRect title = bar->actionGeometry(rig.commandBar().menu()->menuAction());
        const QPoint at = inWindow(bar, pointIn(title));
        note("menu title", at);
        moveTo(at);
        click(at, chance(0.9) ? Qt::LeftButton : Qt::RightButton);
    }

    void inTheMenu(QMenu* menu) {
        const QList<QAction*> actions = menu->actions();
        const int pick = below(100);
        if (pick < 60 && !actions.isEmpty()) {
            QAction* action = actions[below(int(actions.size()))];
            const QPoint at = pointIn(menu->actionGeometry(action));
            note("menu command", at, int(actions.indexOf(action)));
            QTest::mouseMove(menu, at);
            QTest::mouseClick(menu, Qt::LeftButton, {}, at);
            events += 3;
        } else if (pick < 75) {
            const QPoint at = pointIn(menu->rect());
            note("menu hover", at);
            QTest::mouseMove(menu, at);
            ++events;
        } else if (pick < 90) {
            const Qt::Key keys[] = {Qt::Key_N,      Qt::Key_P,     Qt::Key_S,    Qt::Key_I,
                                    Qt::Key_C,      Qt::Key_A,     Qt::Key_Down, Qt::Key_Up,
                                    Qt::Key_Return, Qt::Key_Escape};
            const Qt::Key pressed = keys[below(int(std::size(keys)))];
            note("menu key", {}, pressed);
            key(menu, pressed, Qt::NoModifier);
        } else {
            // A click anywhere else closes the menu.
            const QPoint at = pointIn(form()->rect());
            note("click beside the menu", at);
            click(at, anyButton());
        }
    }

    void pressKeys() {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && focus->window() == form() ? focus : form();
        const int pick = below(100);
        Qt::Key pressed;
        Qt::KeyboardModifiers modifiers = Qt::ControlModifier;
        if (pick < 15) {
            pressed = Qt::Key_N;
        } else if (pick < 30) {
            pressed = Qt::Key_O;
        } else if (pick < 45) {
            pressed = Qt::Key_S;
        } else if (pick < 60) {
            pressed = Qt::Key_M;
            modifiers = Qt::AltModifier;
        } else if (pick < 75) {
            // Undo and redo, also mid-stroke, where they must do nothing.
            const int which = below(3);
            pressed = which == 1 ? Qt::Key_Y : Qt::Key_Z;
            modifiers = which == 2 ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier;
        } else {
            const Qt::Key others[] = {Qt::Key_A,      Qt::Key_Z,      Qt::Key_M,   Qt::Key_P,
                                      Qt::Key_Escape, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Left,
                                      Qt::Key_F10,    Qt::Key_Space,  Qt::Key_Alt};
            pressed = others[below(int(std::size(others)))];
            modifiers = anyModifiers();
        }
        note("key", {}, int(pressed) ^ int(modifiers));
        key(target, pressed, modifiers);
    }

    void elsewhereInTheWindow() {
        const QPoint at = pointIn(form()->rect());
        note("click anywhere", at);
        click(at, anyButton());
    }

    // What must hold however the session went; empty when all is well.
    QString brokenInvariant() const {
        if (!recoveryBroken.isEmpty())
            return recoveryBroken;
        if (rig.pictureBox().Image().size() != QSize(471, 429))
            return QStringLiteral("the canvas's picture is no longer 471 x 429");
        if (rig.canvasWidget()->size() != QSize(471, 429))
            return QStringLiteral("the canvas control changed size");
        if (form()->size() != windowSize)
            return QStringLiteral("the window changed size");

        // A page is seen when it is shown and no shown page above covers it.
        const QObjectList stacking = rig.page(0)->parentWidget()->children();
        int seen = 0;
        int seenIndex = -1;
        for (int i = 0; i < kPageCount; ++i) {
            const QWidget* page = rig.page(size_t(i));
            if (!page->isVisible())
                continue;
            bool covered = false;
            for (int j = 0; j < kPageCount; ++j) {
                const QWidget* above = rig.page(j);
                covered |= above != page && above->isVisible() &&
                           stacking.indexOf(above) > stacking.indexOf(page) &&
                           above->geometry().contains(page->geometry());
            }
            if (!covered) {
                ++seen;
                seenIndex = i;
            }
        }
        if (seen != 1)
            return QStringLiteral("%1 pages are seen").arg(seen);
        if (seenIndex != rig.tabStrip()->selectedIndex())
            return QStringLiteral("page %1 is seen under tab %2")
                .arg(seenIndex)
                .arg(rig.tabStrip()->selectedCaption());

        const QString title = form()->windowTitle();
        const QString name = Document::nameFromTitle(title);
        if (!title.endsWith(Document::kTitleSuffix) ||
            (name != Document::kUntitled && !QFileInfo(name).isFile()))
            return QStringLiteral("the title \"%1\" names no file").arg(title);

        for (const PictureBoxControl* swatch : {rig.palette().Picture8, rig.palette().Picture9})
            if (!paletteColours.count(swatch->backColor()))
                return QStringLiteral("a swatch shows %1, no colour of the palette")
                    .arg(swatch->backColor(), 8, 16, QLatin1Char('0'));

        int bordered = 0;
        for (int index = 0; index < ToolId::kCount; ++index)
            bordered += rig.button(index)->borderStyle() == BorderStyle::kFixedSingle;
        const qint16 tool = rig.currentTool();
        if (bordered != 1 || tool < 0 || tool >= ToolId::kCount ||
            rig.button(tool)->borderStyle() != BorderStyle::kFixedSingle)
            return QStringLiteral("%1 buttons bordered, tool %2").arg(bordered).arg(tool);

        if (rig.dialogs.unscripted != 0)
            return QStringLiteral("a dialog came that no answer was ready for");
        for (const QString& warning : rig.dialogs.warnings)
            if (!warning.startsWith(QStringLiteral("Bilden kunde inte")))
                return QStringLiteral("an unexpected message: %1").arg(warning);
        return {};
    }

    QString lastSteps() const {
        QString text;
        const qint64 first = std::max<qint64>(0, stepCount - qint64(recent.size()));
        for (qint64 i = first; i < stepCount; ++i) {
            const Step& s = recent[size_t(i % qint64(recent.size()))];
            text += QStringLiteral("\n  %1 at %2,%3 (%4)")
                        .arg(QString::fromLatin1(s.what))
                        .arg(s.at.x())
                        .arg(s.at.y())
                        .arg(s.detail);
        }
        return text;
    }

private slots:
    void initTestCase() {
        passOn = qInstallMessageHandler(withoutPlatformNoise);
        QVERIFY(files.isValid() && snapshots.isValid());
        // The wallpaper commands run too: they must not touch this desktop's.
        qputenv("XDG_CURRENT_DESKTOP", "pensilo-test");
        qputenv("DESKTOP_SESSION", "pensilo-test");

        QVERIFY(QDir(files.path()).mkpath("Mina bilder"));
        QVERIFY(QDir(files.path()).mkpath("mapp"));
        QImage large(600, 500, QImage::Format_RGB32);
        large.fill(qRgb(40, 120, 200));
        QVERIFY(large.save(files.filePath("stor.bmp"), "BMP"));
        QImage small(60, 40, QImage::Format_RGB32);
        small.fill(qRgb(250, 200, 10));
        QVERIFY(small.save(files.filePath("liten.png"), "PNG"));
        QFile note(files.filePath("anteckning.txt"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write("inte en bild");
        note.close();
        for (const char* name : {"bild.bmp", "Mina bilder/hus med å.bmp", "stor.bmp", "liten.png",
                                 "anteckning.txt", "mapp", "saknas/bild.bmp"})
            fileChoices.push_back(files.filePath(QString::fromUtf8(name)));
        for (int i = 0; i < 3; ++i)
            fileChoices.push_back(std::nullopt);
    }

    void session() {
        seed = quint32(environmentNumber("PENSILO_SESSION_SEED", 20240611));
        const qint64 total = environmentNumber("PENSILO_SESSION_EVENTS", kDefaultEvents);
        random.seed(seed);
        QVERIFY(startWindow());
        for (int index = 0; index < PalettePanel::kCellSlots; ++index)
            if (const PictureBoxControl* cell = rig.palette().cell(index))
                paletteColours.insert(cell->backColor());

        qint64 questionsAsked = 0;
        qint64 fileDialogs = 0;
        qint64 messages = 0;
        std::set<qint16> toolsUsed;
        std::set<int> pagesSeen;
        const qint64 warmUp = total / 10;
        std::optional<Memory> warm;
        Memory highest;
        QElapsedTimer clock;
        clock.start();
        qint64 nextBatch = kBatch;
        while (events < total) {
            const qint64 before = events;
            step();
            if (form()->stopped()) {
                ++restarts;
                QVERIFY(startWindow());
            }
            // Checked after every step, not only every batch: a fault that the
            // next step mends would otherwise go unseen.
            const QString broken = brokenInvariant();
            if (!broken.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2 (step %3): %4\nlast steps:%5")
                                     .arg(seed)
                                     .arg(before)
                                     .arg(stepCount)
                                     .arg(broken)
                                     .arg(lastSteps())));
            if (events < nextBatch)
                continue;
            nextBatch = (events / kBatch + 1) * kBatch;
            questionsAsked += rig.dialogs.questions.size();
            fileDialogs += qint64(rig.dialogs.requests.size());
            messages += rig.dialogs.warnings.size();
            toolsUsed.insert(rig.currentTool());
            pagesSeen.insert(rig.tabStrip()->selectedIndex());
            // The script's records would grow for ever.
            rig.dialogs.questions.clear();
            rig.dialogs.questionTitles.clear();
            rig.dialogs.requests.clear();
            rig.dialogs.warnings.clear();
            if (!warm && events >= warmUp)
                warm = Memory::now();
            if (warm) {
                const Memory now = Memory::now();
                highest.resident = std::max(highest.resident, now.resident);
                highest.heap = std::max(highest.heap, now.heap);
            }
            if (total >= kMemoryCheckedFrom && events % (total / 10) < kBatch) {
                const Memory now = Memory::now();
                std::printf("  %lld events, %.0f s: resident %.1f MiB, heap %.1f MiB\n", events,
                            double(clock.elapsed()) / 1000, now.resident, now.heap);
                std::fflush(stdout);
            }
        }
        QVERIFY(warm);
        const Memory end = Memory::now();
        std::printf(
            "long session: seed %u, %lld events in %.1f s; %lld questions, %lld file "
            "dialogs, %lld messages, %d new windows, %d kills (%d offered back), %zu tools and %zu "
            "pages "
            "seen at checks\n  after warm-up (%lld events): resident %.1f MiB, heap %.1f MiB\n"
            "  highest since: resident %.1f MiB, heap %.1f MiB\n"
            "  at the end:    resident %.1f MiB, heap %.1f MiB\n",
            seed, events, double(clock.elapsed()) / 1000, questionsAsked, fileDialogs, messages,
            restarts, kills, offered, toolsUsed.size(), pagesSeen.size(), warmUp, warm->resident,
            warm->heap, highest.resident, highest.heap, end.resident, end.heap);
        std::fflush(stdout);
        if (total < kMemoryCheckedFrom)
            return;
        QVERIFY2(highest.heap - warm->heap <= kAllowedHeapGrowthMiB,
                 qPrintable(QStringLiteral("the heap grew %1 MiB after warm-up")
                                .arg(highest.heap - warm->heap)));
        if (kResidentMeasuresTheProgram)
            QVERIFY2(highest.resident - warm->resident <= kAllowedResidentGrowthMiB,
                     qPrintable(QStringLiteral("resident memory grew %1 MiB after warm-up")
                                    .arg(highest.resident - warm->resident)));
    }

    void cleanupTestCase() {
        rig.form.reset();
        qInstallMessageHandler(passOn);
    }
};

QTEST_MAIN(TestLongSession)
#include "tst_longsession.moc"
