// The recovery copy inside one test program: when the copy follows the
// picture and when it goes, what the next window offers of several, and the
// state folders and files that must never cost a drawing or a start.
#include "FormRig.h"
#include "RealFaults.h"
#include "RecoveryFiles.h"
#include "document/Document.h"
#include "pickers/ScenePanel.h"
#include "platform/PictureFile.h"
#include "platform/RecoveryCopy.h"
#include "platform/widgets/ImageControl.h"

#include <QImageReader>

using Answer = Dialogs::Answer;
using Answers = QList<Answer>;
Q_DECLARE_METATYPE(Answer)

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;
    QString picture; // a BMP to open, unlike anything drawn here
    int strokes = 0;

    QString folder() const { return rig.stateFolder(); }
    void draw() {
        const int y = 20 + 37 * strokes++ % 380;
        rig.drag({{20, y}, {300, y + 20}, {120, y + 40}});
    }
    // A new window on the same state folder, as after the program was
    // killed, that offers what it finds with `answers`.
    void restart(const Answers& answers, const QString& file = {}) {
        QVERIFY(rig.show());
        rig.dialogs.answers.assign(answers.begin(), answers.end());
        rig.form->startWith(file);
    }
    void verifyTheCopyIsThePicture() {
        const QList<RecoveryCopy::Picture> copies = copiesIn(folder());
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies.first().image, rig.canvas());
        QCOMPARE(copies.first().name, Document::nameFromTitle(rig.title()));
    }

    // One thing a child does, by name.
    void act(const QString& action) {
        const QString saved = dir->filePath("sparad.bmp");
        auto ask = [this](Answer answer) { rig.dialogs.answers.push_back(answer); };
        auto choose = [this](std::optional<QString> file) { rig.dialogs.files.push_back(file); };
        if (action == "draw") {
            draw();
        } else if (action == "scene") {
            FormRig::press(rig.scenes().thumbnail(2), Qt::LeftButton, QPoint(20, 20));
        } else if (action == "open") {
            rig.dialogs.files.push_back(picture);
            rig.key(Qt::Key_O, Qt::ControlModifier);
        } else if (action == "save") {
            rig.key(Qt::Key_S, Qt::ControlModifier);
        } else if (action == "save as") {
            rig.saveAs(saved);
        } else if (action == "save as, fails") {
            rig.saveAs(dir->filePath("saknas/bild.bmp"));
        } else if (action == "undo") {
            rig.key(Qt::Key_Z, Qt::ControlModifier);
        } else if (action == "redo") {
            rig.key(Qt::Key_Y, Qt::ControlModifier);
        } else if (action == "New, Nej") {
            ask(Answer::No);
            rig.key(Qt::Key_N, Qt::ControlModifier);
        } else if (action == "New, Ja, saved") {
            ask(Answer::Yes);
            choose(saved);
            rig.key(Qt::Key_N, Qt::ControlModifier);
        } else if (action == "New, Ja, cancelled") {
            ask(Answer::Yes);
            choose(std::nullopt);
            rig.key(Qt::Key_N, Qt::ControlModifier);
        } else if (action == "Exit, Nej") {
            ask(Answer::No);
            rig.menu('A');
        } else if (action == "Exit, Ja, saved") {
            ask(Answer::Yes);
            choose(saved);
            rig.menu('A');
        } else if (action == "close, Nej") {
            ask(Answer::No);
            rig.form->close();
        } else if (action == "close, Ja, cancelled") {
            ask(Answer::Yes);
            choose(std::nullopt);
            rig.form->close();
        } else {
            QFAIL(qPrintable("no such action: " + action));
        }
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        picture = dir->filePath("bild.bmp");
        QImage image(200, 120, QImage::Format_RGB32);
        image.fill(qRgb(30, 140, 90));
        QVERIFY(PictureFile::saveBmp(image, picture).ok());
        QVERIFY(rig.show());
        QDir(folder()).removeRecursively();
    }
    void cleanup() {
        rig.form.reset();
        QDir(folder()).removeRecursively();
    }

    // The copy follows every change until the picture is safe: written to
    // its file, or let go by the child's own answer.
    void theCopyFollowsThePictureUntilItIsSafe_data() {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<bool>("kept");
        QTest::newRow("a stroke") << QStringList{"draw"} << true;
        QTest::newRow("a scene") << QStringList{"scene"} << true;
        QTest::newRow("Open") << QStringList{"open"} << true;
        QTest::newRow("Save As") << QStringList{"draw", "save as"} << false;
        QTest::newRow("Save of an opened picture") << QStringList{"open", "draw", "save"} << false;
        QTest::newRow("drawn after a save") << QStringList{"draw", "save as", "draw"} << true;
        QTest::newRow("a save that failed") << QStringList{"draw", "save as, fails"} << true;
        QTest::newRow("undone in part") << QStringList{"draw", "draw", "undo"} << true;
        QTest::newRow("undone to the white start") << QStringList{"draw", "undo"} << false;
        QTest::newRow("redone") << QStringList{"draw", "undo", "redo"} << true;
        QTest::newRow("New, Nej") << QStringList{"draw", "New, Nej"} << false;
        QTest::newRow("New, Ja, saved") << QStringList{"draw", "New, Ja, saved"} << false;
        QTest::newRow("New, Ja, cancelled") << QStringList{"draw", "New, Ja, cancelled"} << true;
        QTest::newRow("Exit, Nej") << QStringList{"draw", "Exit, Nej"} << false;
        QTest::newRow("Exit, Ja, saved") << QStringList{"draw", "Exit, Ja, saved"} << false;
        QTest::newRow("close, Nej") << QStringList{"open", "close, Nej"} << false;
        QTest::newRow("close, Ja, cancelled")
            << QStringList{"draw", "close, Ja, cancelled"} << true;
    }
    void theCopyFollowsThePictureUntilItIsSafe() {
        QFETCH(QStringList, actions);
        QFETCH(bool, kept);
        for (const QString& action : actions)
            act(action);
        if (kept)
            verifyTheCopyIsThePicture();
        else
            QCOMPARE(entries(folder(), "*.copy"), QStringList());
        QCOMPARE(rig.dialogs.unscripted, 0);
        // A program that ended by the child's choice leaves nothing, its lock neither.
        if (rig.form->stopped()) {
            rig.form.reset();
            QCOMPARE(entries(folder()), QStringList());
        }
    }

    // Two windows' copies: newest first, until the child keeps one; what is
    // neither kept nor let go waits for the next start. With a file named on
    // the command line only that file's copies are asked about.
    void leftCopiesAreOfferedNewestFirst_data() {
        QTest::addColumn<QString>("file"); // "" or "opened": the opened picture's file
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QString>("shown");      // "drawn", "opened", "file" or "white"
        QTest::addColumn<QStringList>("copies"); // the pictures of the copies left after
        QTest::newRow("the newest kept")
            << "" << Answers{Answer::Yes} << "drawn" << QStringList{"drawn", "opened"};
        QTest::newRow("the older kept")
            << "" << Answers{Answer::No, Answer::Yes} << "opened" << QStringList{"opened"};
        QTest::newRow("both let go")
            << "" << Answers{Answer::No, Answer::No} << "white" << QStringList{};
        QTest::newRow("put off") << "" << Answers{Answer::Cancel} << "white"
                                 << QStringList{"drawn", "opened"};
        QTest::newRow("with its file, kept")
            << "opened" << Answers{Answer::Yes} << "opened" << QStringList{"drawn", "opened"};
        QTest::newRow("with its file, let go")
            << "opened" << Answers{Answer::No} << "file" << QStringList{"drawn", "file"};
    }
    void leftCopiesAreOfferedNewestFirst() {
        QFETCH(QString, file);
        QFETCH(Answers, answers);
        QFETCH(QString, shown);
        QFETCH(QStringList, copies);
        QMap<QString, RecoveryCopy::Picture> pictures;
        pictures["white"] = {whiteCanvas(), Document::kUntitled};
        act("open");
        pictures["file"] = {rig.canvas(), Document::nameFromTitle(rig.title())};
        draw();
        pictures["opened"] = {rig.canvas(), Document::nameFromTitle(rig.title())};
        // The first window's copy, from a minute before the second's.
        const QString older = folder() + '/' + entries(folder(), "*.copy").first();
        QFile(older).setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime);
        QVERIFY(rig.show());
        draw();
        pictures["drawn"] = {rig.canvas(), Document::nameFromTitle(rig.title())};
        const QByteArray fileBefore = contents(picture);

        restart(answers, file.isEmpty() ? QString() : picture);
        QCOMPARE(rig.dialogs.questions.size(), answers.size());
        for (const QString& question : rig.dialogs.questions)
            QCOMPARE(question, "Pensilo stängdes innan bilden sparades. "
                               "Vill du fortsätta med bilden?");
        QCOMPARE(rig.canvas(), pictures[shown].image);
        QCOMPARE(rig.title(), pictures[shown].name + Document::kTitleSuffix);
        QCOMPARE(contents(picture), fileBefore);
        QStringList left;
        for (const RecoveryCopy::Picture& copy : copiesIn(folder()))
            for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
                if (it->image == copy.image && it->name == copy.name)
                    left << it.key();
        left.sort();
        QCOMPARE(left, copies);
    }

    // A kept copy is the whole picture, with what its file is: a picture
    // larger than the canvas saves whole again, and a PNG is never written
    // over with BMP bytes.
    void aKeptCopyIsTheWholePicture_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("a BMP larger than the canvas") << "BMP";
        QTest::newRow("a PNG") << "PNG";
    }
    void aKeptCopyIsTheWholePicture() {
        QFETCH(QString, format);
        const QString file = dir->filePath(format == "PNG" ? "stor.png" : "stor.bmp");
        QImage large(800, 600, QImage::Format_RGB32);
        large.fill(qRgb(10, 200, 30));
        QVERIFY(large.save(file, qPrintable(format)));
        rig.dialogs.files.push_back(file);
        rig.key(Qt::Key_O, Qt::ControlModifier);
        draw();
        const QImage drawn = rig.canvas();
        restart({Answer::Yes});
        QCOMPARE(rig.canvas(), drawn);
        const QString saved = dir->filePath("sparad.bmp");
        rig.dialogs.files.push_back(saved);
        rig.key(Qt::Key_S, Qt::ControlModifier);
        const bool png = format == "PNG";
        QCOMPARE(int(rig.dialogs.requests.size()), png ? 1 : 0);
        const QImage written = readBack(png ? saved : file);
        QCOMPARE(written.size(), QSize(800, 600));
        QCOMPARE(written.copy(0, 0, 471, 429), drawn);
        QCOMPARE(written.pixel(700, 500), qRgb(10, 200, 30));
        if (png)
            QCOMPARE(QImageReader::imageFormat(file), QByteArray("png"));
    }

    // Whatever else lies in the folder: never offered, never removed, never
    // a reason for the start to fail.
    void damagedAndForeignFilesAreNeverOffered_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("offered");
        QImage drawn = whiteCanvas();
        drawn.fill(qRgb(200, 40, 40));
        const QByteArray whole = RecoveryCopy::encode(drawn, "/hem/bild.bmp");
        // LZ4 ends on literals: the byte before the end mark and the checksum
        // is the last pixel's own, which only the checksum can vouch for.
        QByteArray flipped = whole;
        flipped[flipped.size() - 9] = char(flipped[flipped.size() - 9] ^ 0x01);
        QByteArray otherVersion = whole;
        otherVersion[8] = 2;
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        drawn.save(&bmp, "BMP");
        QTest::newRow("a whole copy") << whole << true;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("text") << QByteArray("inte en kopia\n") << false;
        QTest::newRow("a BMP picture") << bmp.data() << false;
        QTest::newRow("cut short in the header") << whole.left(10) << false;
        QTest::newRow("cut short in the frame") << whole.left(whole.size() / 2) << false;
        QTest::newRow("its last byte missing") << whole.chopped(1) << false;
        QTest::newRow("one bit of the last pixel changed") << flipped << false;
        QTest::newRow("a later version") << otherVersion << false;
        QTest::newRow("bytes after the frame") << whole + "x" << false;
    }
    void damagedAndForeignFilesAreNeverOffered() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, offered);
        QVERIFY(QDir().mkpath(folder()));
        const QString path = folder() + "/4242-1.copy";
        QVERIFY(writeFile(path, bytes));
        restart({Answer::Yes});
        QCOMPARE(rig.dialogs.questions.size(), offered ? 1 : 0);
        QCOMPARE(rig.title(), (offered ? QString("/hem/bild.bmp") : Document::kUntitled) +
                                  Document::kTitleSuffix);
        QCOMPARE(contents(path), bytes);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // A state folder that takes no copy leaves drawing as it was, without a
    // word; a copy already there stays whole.
    void aStateFolderThatTakesNoCopy_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("a file where the folder should be") << "file as folder";
        QTest::newRow("a file as the state home") << "file as home";
        QTest::newRow("a read-only file system") << "read-only";
        QTest::newRow("a full disk") << "full";
    }
    void aStateFolderThatTakesNoCopy() {
        QFETCH(QString, fault);
        Tmpfs tmpfs;
        QString home = dir->filePath("state");
        QVERIFY(QDir().mkpath(home));
        if (fault == "file as folder") {
            QVERIFY(writeFile(home + "/pensilo", "en fil"));
        } else if (fault == "file as home") {
            QVERIFY(QDir(home).removeRecursively());
            QVERIFY(writeFile(home, "en fil"));
        } else {
            if (!isRoot())
                QSKIP("mounting a file system of the test's own needs root");
            QVERIFY(tmpfs.mount("64k"));
            home = tmpfs.path();
        }
        qputenv("XDG_STATE_HOME", QFile::encodeName(home));
        const QString state = home + "/pensilo";
        QVERIFY(rig.show());
        // What a full disk leaves: the copy from while there was room.
        QImage keptBefore;
        if (fault == "full") {
            draw();
            keptBefore = rig.canvas();
            QVERIFY(fillDisk(home));
        } else if (fault == "read-only") {
            QVERIFY(run("mount", {"-o", "remount,ro", home}));
        }
        for (int i = 0; i < 4; ++i) {
            const QImage before = rig.canvas();
            draw();
            QVERIFY(rig.canvas() != before);
        }
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QCOMPARE(entries(state, "*.new"), QStringList());

        // With room again, the next start offers what was kept.
        QFile::remove(home + "/filler");
        restart({Answer::Yes});
        QCOMPARE(rig.dialogs.questions.size(), keptBefore.isNull() ? 0 : 1);
        QCOMPARE(rig.canvas(), keptBefore.isNull() ? whiteCanvas() : keptBefore);
        QVERIFY(rig.dialogs.warnings.isEmpty());
        rig.form.reset();
        if (fault == "file as folder")
            QCOMPARE(contents(home + "/pensilo"), QByteArray("en fil"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(QFileInfo(folder()).path()));
    }
};

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
