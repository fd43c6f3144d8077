// The program as it is built, killed with SIGKILL and started again: its
// picture comes back, only its own, and as a user sees it under a real X
// server (Xvfb, driven with xdotool; skipped when either is missing).
#include "FormRig.h"
#include "RecoveryFiles.h"
#include "document/Document.h"
#include "platform/PictureFile.h"
#include "platform/RecoveryCopy.h"

#include <QProcess>
#include <QStandardPaths>

using Answer = Dialogs::Answer;
Q_DECLARE_METATYPE(Answer)

namespace {

constexpr int kPatience = 20000; // ms, for a program under a loaded machine or ASan

// The copy in `folder` named `name` and unlike `unlike`, once there is one.
std::optional<RecoveryCopy::Picture> awaitCopy(const QString& folder, const QString& name,
                                               const QImage& unlike = {}) {
    std::optional<RecoveryCopy::Picture> found;
    const bool arrived = QTest::qWaitFor(
        [&] {
            for (const RecoveryCopy::Picture& copy : copiesIn(folder))
                if (copy.name == name && copy.image != unlike)
                    found = copy;
            return found.has_value();
        },
        kPatience);
    return arrived ? found : std::nullopt;
}

// A program the test started, killed however the test ends.
class Child {
public:
    explicit Child(const QProcessEnvironment& environment) {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Child() { killNow(); }
    bool start(const QString& program, const QStringList& arguments) {
        process.start(program, arguments);
        return process.waitForStarted(kPatience);
    }
    void killNow() {
        if (process.state() == QProcess::NotRunning)
            return;
        process.kill(); // SIGKILL: no handler of the program runs
        process.waitForFinished(kPatience);
    }
    QProcess process;
};

} // namespace

class TestRecoveryKill : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;

    QString folder() const { return rig.stateFolder(); }
    QProcessEnvironment environment(const QString& platform) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", platform);
        environment.insert("XDG_STATE_HOME", QFileInfo(folder()).path());
        return environment;
    }
    QString pictureFile(const QString& name, QRgb colour) const {
        QImage image(180, 140, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir->filePath(name);
        return PictureFile::saveBmp(image, path).ok() ? path : QString();
    }
    // The canvas a window shows once it has opened `file`.
    QImage opened(const QString& file) {
        if (!rig.show())
            return {};
        rig.form->openFile(file);
        const QImage canvas = rig.canvas();
        rig.form.reset();
        QDir(folder()).removeRecursively();
        return canvas;
    }
    void restart(std::initializer_list<Answer> answers) {
        QVERIFY(rig.show());
        rig.dialogs.answers.assign(answers);
        rig.form->startWith({});
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QDir(folder()).removeRecursively();
    }
    void cleanup() { rig.form.reset(); }

    // `pensilo FILE` opens FILE: a change the copy follows. Killed, its
    // picture is offered at the next start, also when its process number
    // has since gone to another program.
    void aKilledProgramsPictureIsOfferedAgain_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("numberReused");
        QTest::newRow("Ja") << Answer::Yes << false;
        QTest::newRow("Nej") << Answer::No << false;
        QTest::newRow("Ja, its process number reused") << Answer::Yes << true;
    }
    void aKilledProgramsPictureIsOfferedAgain() {
        QFETCH(Answer, answer);
        QFETCH(bool, numberReused);
        const QString file = pictureFile("blå.bmp", qRgb(20, 60, 220));
        const QImage shown = opened(file);
        Child program(environment("offscreen"));
        QVERIFY(program.start(PENSILO_PROGRAM, {file}));
        QVERIFY(awaitCopy(folder(), Document::nameOfFile(file)));
        program.killNow();

        Child stranger(environment("offscreen"));
        if (numberReused) {
            // The lock names the killed program's number; now a living
            // program of another kind has it.
            QVERIFY(stranger.start("sleep", {"60"}));
            const QStringList locks = entries(folder(), "*.lock");
            QCOMPARE(locks.size(), 1);
            QFile lock(folder() + '/' + locks.first());
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QByteArray lines = lock.readAll();
            lines =
                QByteArray::number(stranger.process.processId()) + lines.mid(lines.indexOf('\n'));
            QVERIFY(lock.resize(0) && lock.write(lines) == lines.size());
        }

        restart({answer});
        QCOMPARE(
            rig.dialogs.questions,
            QStringList{"Pensilo stängdes innan bilden sparades. Vill du fortsätta med bilden?"});
        QCOMPARE(rig.dialogs.questionTitles, QStringList{"Pensilo"});
        if (answer == Answer::Yes) {
            QCOMPARE(rig.canvas(), shown);
            QCOMPARE(rig.title(), Document::nameOfFile(file) + " - Pensilo");
        } else {
            QCOMPARE(rig.canvas(), whiteCanvas());
            QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
            // Nothing but, once taken, this window's own lock.
            QCOMPARE(entries(folder(), "*.copy"), QStringList());
            QCOMPARE(entries(folder(), "*.lock"), entries(folder()));
            QVERIFY(entries(folder()).size() <= 1);
        }
    }

    // A program killed before it had a copy leaves only its lock: nothing is
    // offered, and the next window sweeps the lock once it holds its own.
    void aLockLeftWithoutACopyIsSwept() {
        Child program(environment("offscreen"));
        QVERIFY(program.start(PENSILO_PROGRAM, {}));
        QTRY_COMPARE_WITH_TIMEOUT(entries(folder(), "*.lock").size(), 1, kPatience);
        const QStringList left = entries(folder());
        program.killNow();
        restart({});
        QCOMPARE(rig.dialogs.questions, QStringList());
        rig.drawSomething();
        const QStringList now = entries(folder());
        QCOMPARE(now.size(), 2); // this window's copy and lock
        QVERIFY2(!now.contains(left.first()), qPrintable(now.join(' ')));
    }

    // Killing one of two programs offers its picture only; the living one's
    // copy and lock stay exactly as they were.
    void ofTwoProgramsOnlyTheKilledOnesPictureIsOffered() {
        const QString first = pictureFile("första.bmp", qRgb(220, 30, 30));
        const QString second = pictureFile("andra.bmp", qRgb(30, 160, 30));
        const QImage firstShown = opened(first);
        Child killed(environment("offscreen"));
        Child living(environment("offscreen"));
        QVERIFY(killed.start(PENSILO_PROGRAM, {first}));
        QVERIFY(living.start(PENSILO_PROGRAM, {second}));
        QVERIFY(awaitCopy(folder(), Document::nameOfFile(first)));
        QVERIFY(awaitCopy(folder(), Document::nameOfFile(second)));
        QStringList livingFiles;
        for (const QString& entry : entries(folder(), "*.copy"))
            if (RecoveryCopy::decode(contents(folder() + '/' + entry))->name ==
                Document::nameOfFile(second))
                livingFiles << entry << QFileInfo(entry).completeBaseName() + ".lock";
        QCOMPARE(livingFiles.size(), 2);
        const QByteArray copyBefore = contents(folder() + '/' + livingFiles[0]);
        const QByteArray lockBefore = contents(folder() + '/' + livingFiles[1]);
        QVERIFY(!lockBefore.isEmpty());
        killed.killNow();

        restart({Answer::Yes, Answer::Yes});
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QCOMPARE(rig.canvas(), firstShown);
        QCOMPARE(rig.title(), Document::nameOfFile(first) + " - Pensilo");
        QCOMPARE(living.process.state(), QProcess::Running);
        QCOMPARE(contents(folder() + '/' + livingFiles[0]), copyBefore);
        QCOMPARE(contents(folder() + '/' + livingFiles[1]), lockBefore);
    }

    // As a new user would: draw, kill, start again, Enter at the question;
    // then Ctrl+S writes the drawing, and Exit with Enter leaves nothing.
    void asAUserWouldUnderXvfb() {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        const QString xdotool = QStandardPaths::findExecutable("xdotool");
        if (xvfb.isEmpty() || xdotool.isEmpty())
            QSKIP("Xvfb and xdotool are needed to drive the program as a user does");
        QProcess server;
        server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QVERIFY(server.waitForStarted(kPatience));
        QVERIFY(QTest::qWaitFor([&] { return server.canReadLine(); }, kPatience));
        const QString display = ':' + QString::fromLatin1(server.readLine()).trimmed();
        QProcessEnvironment x11 = environment("xcb");
        x11.insert("DISPLAY", display);
        auto run = [&](const QStringList& arguments) {
            QProcess tool;
            tool.setProcessEnvironment(x11);
            tool.start(xdotool, arguments);
            tool.waitForFinished(kPatience);
            return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
        };

        const QString file = pictureFile("hus.bmp", qRgb(250, 200, 20));
        const QString title = Document::nameOfFile(file) + " - Pensilo";
        const QImage shown = opened(file);
        const QByteArray onDisk = contents(file);
        std::optional<RecoveryCopy::Picture> drawn;
        {
            Child program(x11);
            QVERIFY(program.start(PENSILO_PROGRAM, {file}));
            const QString window = run({"search", "--sync", "--onlyvisible", "--name", "hus"});
            QVERIFY(!window.isEmpty());
            run(QString("mousemove --sync --window %1 120 160 mousedown 1 "
                        "mousemove --sync --window %1 300 220 "
                        "mousemove --sync --window %1 200 380 mouseup 1")
                    .arg(window)
                    .split(' '));
            drawn = awaitCopy(folder(), Document::nameOfFile(file), shown);
            QVERIFY(drawn);
            program.killNow();
        }

        Child again(x11);
        QVERIFY(again.start(PENSILO_PROGRAM, {}));
        const QString box = run({"search", "--sync", "--onlyvisible", "--name", "^Pensilo$"});
        QVERIFY(!box.isEmpty());
        const QString window = run({"search", "--onlyvisible", "--name", " - Pensilo$"});
        // The picture is on the canvas, under its title, while the question asks.
        QCOMPARE(run({"getwindowname", window}), title);
        run({"windowfocus", "--sync", box, "key", "Return"});
        QVERIFY(QTest::qWaitFor(
            [&] {
                return run({"search", "--onlyvisible", "--name", "^Pensilo$"}).isEmpty();
            },
            kPatience));
        QCOMPARE(run({"getwindowname", window}), title);
        QCOMPARE(contents(file), onDisk);

        run({"windowfocus", "--sync", window, "key", "ctrl+s"});
        QVERIFY(QTest::qWaitFor([&] { return readBack(file) == drawn->image; }, kPatience));
        QCOMPARE(entries(folder(), "*.copy"), QStringList());

        run({"windowfocus", "--sync", window, "key", "alt+m", "sleep", "0.3", "key", "a"});
        const QString question = run({"search", "--sync", "--onlyvisible", "--name", "^Pensilo$"});
        run({"windowfocus", "--sync", question, "key", "Return"});
        QVERIFY(again.process.waitForFinished(kPatience));
        QCOMPARE(again.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(again.process.exitCode(), 0);
        QCOMPARE(entries(folder()), QStringList());
        server.terminate();
        server.waitForFinished(kPatience);
    }
};

QTEST_MAIN(TestRecoveryKill)
#include "tst_recoverykill.moc"
