#include "FormRig.h"
#include "document/Document.h"
#include "document/FileMessages.h"
#include "platform/BuiltinPictures.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using Answer = Dialogs::Answer;

namespace {

QImage pattern(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 37 & 255, y * 59 & 255, (x + y) * 11 & 255));
    return image;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An 8-bit run-length BMP that ends at once: a picture of any size, all of
// its one palette colour, in a few bytes.
QByteArray emptyRunLengthBmp(qint32 width, qint32 height) {
    QByteArray bytes("BM");
    QDataStream out(&bytes, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(14 + 40 + 4 + 2) << quint32(0) << quint32(14 + 40 + 4) << quint32(40) << width
        << height << quint16(1) << quint16(8) << quint32(1) << quint32(2) << quint32(3780)
        << quint32(3780) << quint32(1) << quint32(0) << quint32(0x20a040) << quint16(0x100);
    return bytes;
}

// A GIF of one white pixel: Qt reads GIF but does not write it.
const QByteArray kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                      ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                      35);

} // namespace

// The picture kept, named and ended: New, Open, Save, Save As, Exit and the
// close question, driven by keys and the menu, with the files read back.
class TestDocument : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    std::unique_ptr<QTemporaryDir> dir;
    QString untitledQuestion = QStringLiteral("Vill du spara ändringarna i [Namnlös] ?");

    QString path(const QString& name) const { return dir->filePath(name); }
    void key(int key) { rig.key(key, Qt::ControlModifier); }
    void menu(char accessKey) { rig.menu(accessKey); }
    void saveAs(const QString& file) { rig.saveAs(file); }
    QString titled(const QString& file) const { return file + QStringLiteral(" - Pensilo"); }
    void closeWindow() { rig.form->close(); }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(QDir().mkpath(path("Mina bilder")));
        QVERIFY(rig.show());
    }
    void cleanup() { rig.form.reset(); }

    void theNameIsReadBackFromTheTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("untitled") << "[Namnlös] - Pensilo"
                                  << "[Namnlös]";
        QTest::newRow("blanks in the path") << "C:\\Mina bilder\\hus.bmp - Pensilo"
                                            << "C:\\Mina bilder\\hus.bmp";
        QTest::newRow("blanks trimmed") << "  /a/b.bmp   - Pensilo"
                                        << "/a/b.bmp";
        QTest::newRow("suffix only at the end") << "x - Pensilo.bmp - Pensilo"
                                                << "x - Pensilo.bmp";
        QTest::newRow("no suffix") << "hus.bmp"
                                   << "hus.bmp";
        QTest::newRow("only the suffix") << " - Pensilo"
                                         << "";
    }
    void theNameIsReadBackFromTheTitle() {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(Document::nameFromTitle(title), name);
    }

    void newAlwaysAsksEvenWhenNothingWasDrawn() {
        rig.dialogs.answers.push_back(Answer::Cancel);
        key(Qt::Key_N);
        QCOMPARE(rig.dialogs.questions, QStringList{untitledQuestion});
        QCOMPARE(rig.dialogs.questionTitles, QStringList{QStringLiteral("Pensilo")});
        QVERIFY(rig.dialogs.requests.empty());
    }

    void newAnsweredNoGivesAWhiteUntitledPicture() {
        saveAs(path("hus.bmp"));
        rig.form->Image2_MouseDown(2, MouseArgs{1, 0, 0, 0});
        rig.drawSomething();
        rig.dialogs.answers.push_back(Answer::No);
        key(Qt::Key_N);
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QImage white(471, 429, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(rig.canvas(), white);
        QCOMPARE(rig.pictureBox().Picture().size(), QSize(497, 467));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void newAnsweredYesWritesTheFileAndKeepsTheDrawing() {
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        const QString file = path("Mina bilder/hus å.bmp");
        rig.dialogs.answers.push_back(Answer::Yes);
        rig.dialogs.files.push_back(file);
        key(Qt::Key_N);
        QCOMPARE(rig.dialogs.requests.size(), size_t(1));
        const Dialogs::FileRequest& request = rig.dialogs.requests.front();
        QCOMPARE(request.mode, Dialogs::FileMode::Save);
        QCOMPARE(request.title, QStringLiteral("Spara"));
        QCOMPARE(request.fileName, QStringLiteral("[Namnlös]"));
        QCOMPARE(request.filter, QStringLiteral("Bmp (*.bmp)|*.bmp"));
        QVERIFY(request.confirmReplace);
        QVERIFY(!request.fileMustExist);
        QCOMPARE(readBack(file), drawn);
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(rig.title(), titled(file));
    }

    // Cancelling anywhere on the way changes nothing.
    void cancelledNewChangesNothing_data() {
        QTest::addColumn<QList<int>>("script");
        QTest::newRow("question cancelled") << QList<int>{int(Answer::Cancel)};
        QTest::newRow("yes, then the dialog cancelled") << QList<int>{int(Answer::Yes)};
    }
    void cancelledNewChangesNothing() {
        QFETCH(QList<int>, script);
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        for (int answer : script)
            rig.dialogs.answers.push_back(Answer(answer));
        rig.dialogs.files.push_back(std::nullopt);
        key(Qt::Key_N);
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QVERIFY(QDir(dir->path()).entryList(QDir::Files).isEmpty());
    }

    void saveOfAnUntitledPictureUsesTheNameAsTyped() {
        rig.drawSomething();
        const QString file = path("teckning");
        rig.dialogs.files.push_back(file);
        key(Qt::Key_S);
        QCOMPARE(rig.dialogs.requests.size(), size_t(1));
        QCOMPARE(rig.dialogs.requests.front().fileName, QStringLiteral("[Namnlös]"));
        QVERIFY(QFileInfo::exists(file));
        QVERIFY(!QFileInfo::exists(file + ".bmp"));
        QCOMPARE(readBack(file), rig.canvas());
        QCOMPARE(rig.title(), titled(file));
        QVERIFY(rig.dialogs.questions.isEmpty());
    }

    void saveOfANamedPictureWritesWithoutAsking() {
        const QString file = path("Mina bilder/hus å.bmp");
        saveAs(file);
        rig.drawSomething();
        key(Qt::Key_S);
        QCOMPARE(rig.dialogs.requests.size(), size_t(1));
        QCOMPARE(readBack(file), rig.canvas());
        QCOMPARE(rig.title(), titled(file));
        QVERIFY(rig.dialogs.questions.isEmpty());
    }

    void saveAsProposesTheCurrentNameAndOpenTheLastFile() {
        const QString first = path("ett.bmp");
        saveAs(first);
        saveAs(path("två.bmp"));
        QCOMPARE(rig.dialogs.requests.at(1).fileName, first);
        key(Qt::Key_O);
        const Dialogs::FileRequest& open = rig.dialogs.requests.at(2);
        QCOMPARE(open.mode, Dialogs::FileMode::Open);
        QCOMPARE(open.title, QStringLiteral("Öppna"));
        QCOMPARE(open.fileName, path("två.bmp"));
        QCOMPARE(open.filter, QStringLiteral("Bmp (*.bmp)|*.bmp"));
        QVERIFY(open.fileMustExist);
        QVERIFY(!open.confirmReplace);
    }

    void openShowsThePictureFromTheTopLeftWithoutAQuestion() {
        QImage picture(600, 100, QImage::Format_RGB32);
        picture.fill(qRgb(10, 200, 30));
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        const QString file = path("Mina bilder/bred bild.bmp");
        QVERIFY(picture.save(file, "BMP"));
        rig.drawSomething();
        rig.dialogs.files.push_back(file);
        key(Qt::Key_O);
        QVERIFY(rig.dialogs.questions.isEmpty());
        QCOMPARE(rig.title(), titled(file));
        QCOMPARE(rig.canvas().size(), QSize(471, 429));
        QCOMPARE(rig.canvas().pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(rig.canvas().pixel(470, 99), qRgb(10, 200, 30));
        QCOMPARE(rig.canvas().pixel(200, 300), qRgb(255, 255, 255));
        QCOMPARE(rig.canvasWidget()->grab().toImage().pixel(470, 99), qRgb(10, 200, 30));
    }

    // Cancelled, nothing is said; a file that is no picture is named in a message.
    void openThatFailsChangesNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("told");
        QTest::newRow("cancelled") << QString() << false;
        QTest::newRow("not a picture") << "anteckning.bmp" << true;
        QTest::newRow("missing") << "borta.bmp" << true;
    }
    void openThatFailsChangesNothing() {
        QFETCH(QString, file);
        QFETCH(bool, told);
        QFile note(path("anteckning.bmp"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write("inte en bild");
        note.close();
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        rig.dialogs.files.push_back(file.isEmpty() ? std::nullopt
                                                   : std::optional<QString>(path(file)));
        key(Qt::Key_O);
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(rig.dialogs.warnings.size(), told ? 1 : 0);
        if (told)
            QVERIFY(rig.dialogs.warnings.first().contains(QDir::toNativeSeparators(path(file))));
    }

    // Every write that fails says so, names the file, and leaves title and picture.
    void failedWritesChangeNothing_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("file");
        for (const char* road : {"save", "save as", "new yes", "exit yes", "close yes"}) {
            QTest::addRow("%s, missing folder", road) << road << "saknas/hus.bmp";
            QTest::addRow("%s, parent is a file", road) << road << "fil.txt/hus.bmp";
            QTest::addRow("%s, name is a folder", road) << road << "Mina bilder";
        }
    }
    void failedWritesChangeNothing() {
        QFETCH(QString, road);
        QFETCH(QString, file);
        QFile plain(path("fil.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString target = path(file);
        if (road == "save") {
            // Named after a file whose folder then turns out to be unusable.
            rig.form->setWindowTitle(titled(target));
        }
        const QString title = rig.title();
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        if (road != "save")
            rig.dialogs.files.push_back(target);
        if (road == "save") {
            key(Qt::Key_S);
        } else if (road == "save as") {
            menu('P');
        } else if (road == "new yes") {
            rig.dialogs.answers.push_back(Answer::Yes);
            key(Qt::Key_N);
        } else if (road == "exit yes") {
            rig.dialogs.answers.push_back(Answer::Yes);
            menu('A');
        } else {
            rig.dialogs.answers.push_back(Answer::Yes);
            closeWindow();
        }
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY2(rig.dialogs.warnings.first().contains(QDir::toNativeSeparators(target)),
                 qPrintable(rig.dialogs.warnings.first()));
        QCOMPARE(rig.title(), title);
        QCOMPARE(rig.canvas(), drawn);
        QVERIFY(!rig.form->stopped());
        QVERIFY(rig.form->isVisible());
    }

    void exitAndCloseAnswers_data() {
        QTest::addColumn<bool>("close");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("chooseFile");
        QTest::addColumn<bool>("stops");
        for (bool close : {false, true}) {
            const char* road = close ? "close" : "exit";
            QTest::addRow("%s, no", road) << close << int(Answer::No) << false << true;
            QTest::addRow("%s, cancel", road) << close << int(Answer::Cancel) << false << false;
            QTest::addRow("%s, yes and saved", road) << close << int(Answer::Yes) << true << true;
            // The child said yes: the picture is not thrown away.
            QTest::addRow("%s, yes, dialog cancelled", road)
                << close << int(Answer::Yes) << false << false;
        }
    }
    void exitAndCloseAnswers() {
        QFETCH(bool, close);
        QFETCH(int, answer);
        QFETCH(bool, chooseFile);
        QFETCH(bool, stops);
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        const QString file = path("slut.bmp");
        rig.dialogs.answers.push_back(Answer(answer));
        rig.dialogs.files.push_back(chooseFile ? std::optional<QString>(file) : std::nullopt);
        if (close)
            closeWindow();
        else
            menu('A');
        QCOMPARE(rig.dialogs.questions, QStringList{untitledQuestion});
        QCOMPARE(rig.form->stopped(), stops);
        QCOMPARE(rig.form->isVisible(), !stops);
        QCOMPARE(QFileInfo::exists(file), chooseFile);
        if (chooseFile)
            QCOMPARE(readBack(file), drawn);
        QCOMPARE(rig.canvas(), drawn);
        if (!stops)
            QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
    }

    void exitWithYesOnANamedPictureProposesItsOwnPath() {
        const QString file = path("Mina bilder/hus.bmp");
        saveAs(file);
        rig.drawSomething();
        rig.dialogs.answers.push_back(Answer::Yes);
        rig.dialogs.files.push_back(file);
        menu('A');
        QCOMPARE(rig.dialogs.questions,
                 QStringList{QStringLiteral("Vill du spara ändringarna i ") + file + " ?"});
        QCOMPARE(rig.dialogs.requests.back().fileName, file);
        QCOMPARE(rig.dialogs.requests.back().title, QStringLiteral("Spara"));
        QVERIFY(rig.dialogs.requests.back().confirmReplace);
        QCOMPARE(readBack(file), rig.canvas());
        QVERIFY(rig.form->stopped());
    }

    // After the stop nothing of the program runs: no second question on
    // close, no command from a key, nothing written.
    void theStopIsImmediate() {
        rig.dialogs.answers.push_back(Answer::No);
        menu('A');
        QVERIFY(rig.form->stopped());
        rig.dialogs.files.push_back(path("efter.bmp"));
        key(Qt::Key_S);
        QVERIFY(rig.form->close());
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QVERIFY(rig.dialogs.requests.empty());
        QCOMPARE(rig.dialogs.unscripted, 0);
        QVERIFY(!QFileInfo::exists(path("efter.bmp")));
    }

    // What lies beyond the canvas is kept, however the canvas was drawn on;
    // a scene or New ends it.
    void largerPicturesKeepWhatLiesBeyondTheCanvas_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("road");
        QTest::addColumn<QSize>("saved");
        QTest::newRow("800x600, Ctrl+S") << QSize(800, 600) << "spara" << QSize(800, 600);
        QTest::newRow("1000x300, Ctrl+S") << QSize(1000, 300) << "spara" << QSize(1000, 429);
        QTest::newRow("400x600, Ctrl+S") << QSize(400, 600) << "spara" << QSize(471, 600);
        QTest::newRow("1000x300, Save As") << QSize(1000, 300) << "spara som" << QSize(1000, 429);
        QTest::newRow("800x600, a scene, Ctrl+S") << QSize(800, 600) << "scen" << QSize(471, 429);
        QTest::newRow("800x600, New, Ctrl+S") << QSize(800, 600) << "nytt" << QSize(471, 429);
        QTest::newRow("300x200, Ctrl+S") << QSize(300, 200) << "spara" << QSize(471, 429);
    }
    void largerPicturesKeepWhatLiesBeyondTheCanvas() {
        QFETCH(QSize, size);
        QFETCH(QString, road);
        QFETCH(QSize, saved);
        const QImage picture = pattern(size);
        const QString opened = path("stor.bmp");
        QVERIFY(picture.save(opened, "BMP"));
        rig.dialogs.files.push_back(opened);
        key(Qt::Key_O);
        if (road == "scen") {
            rig.chooseScene(2);
        } else if (road == "nytt") {
            rig.dialogs.answers.push_back(Answer::No);
            key(Qt::Key_N);
        }
        // A shape press replaces the canvas's picture with its snapshot.
        rig.chooseTool(190);
        rig.drag({{400, 380}, {470, 428}});
        const QImage canvas = rig.canvas();
        const QString target = road == "spara som" || road == "nytt" ? path("ny.bmp") : opened;
        if (road == "spara som") {
            saveAs(target);
        } else {
            rig.dialogs.files.push_back(target);
            key(Qt::Key_S);
        }
        QImage expected(saved, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        if (saved != canvas.size())
            painter.drawImage(0, 0, picture);
        painter.drawImage(0, 0, canvas);
        painter.end();
        QCOMPARE(readBack(target), expected);
        QCOMPARE(rig.canvas(), canvas);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // At the size limit the whole picture cannot be made: said, and nothing lost.
    void aPictureTooLargeToSaveWholeIsSaidSo() {
        // Within the limit alone, over it once the canvas's height is added.
        const QString file = path("lång.bmp");
        QVERIFY(writeBytes(file, emptyRunLengthBmp(156500, 428)));
        rig.openNamed(file);
        QCOMPARE(rig.title(), titled(file));
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        key(Qt::Key_S);
        QCOMPARE(rig.dialogs.warnings,
                 QStringList{saveFailedMessage(file, PictureFile::Problem::TooLarge)});
        QCOMPARE(bytesOf(file), emptyRunLengthBmp(156500, 428));
        QCOMPARE(rig.title(), titled(file));
        QCOMPARE(rig.canvas(), drawn);
    }

    // Pensilo writes BMP only: a file read as another format is never
    // overwritten by a Save, and every save dialog proposes a .bmp name.
    void otherFormatsAreNotTurnedIntoBmp_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("proposed"); // empty: written in place, no dialog
        const struct {
            const char *tag, *format, *name, *road, *proposed;
        } rows[] = {
            {"PNG, Ctrl+S", "PNG", "bild.png", "spara", "bild.bmp"},
            {"JPEG, Ctrl+S", "JPEG", "foto.jpg", "spara", "foto.bmp"},
            {"GIF without extension, Ctrl+S", "GIF", "bild", "spara", "bild.bmp"},
            {"PNG, Save As", "PNG", "bild.png", "spara som", "bild.bmp"},
            {"PNG, New, Yes", "PNG", "bild.png", "nytt", "bild.bmp"},
            {"PNG, close, Yes", "PNG", "bild.png", "stäng", "bild.bmp"},
            {"BMP named .png, Ctrl+S", "BMP", "bild.png", "spara", ""},
        };
        for (const auto& row : rows)
            QTest::newRow(row.tag) << QByteArray(row.format) << QString(row.name)
                                   << QString(row.road) << QString(row.proposed);
    }
    void otherFormatsAreNotTurnedIntoBmp() {
        QFETCH(QByteArray, format);
        QFETCH(QString, name);
        QFETCH(QString, road);
        QFETCH(QString, proposed);
        const QString file = path(name);
        QVERIFY(format == "GIF" ? writeBytes(file, kGif)
                                : pattern(QSize(40, 30)).save(file, format.constData()));
        const QByteArray bytes = bytesOf(file);
        rig.dialogs.files.push_back(file);
        key(Qt::Key_O);
        QCOMPARE(rig.title(), titled(file));
        rig.drawSomething();
        rig.dialogs.files.push_back(std::nullopt);
        if (road == "spara") {
            key(Qt::Key_S);
        } else if (road == "spara som") {
            menu('P');
        } else {
            rig.dialogs.answers.push_back(Answer::Yes);
            if (road == "nytt")
                key(Qt::Key_N);
            else
                closeWindow();
        }
        if (proposed.isEmpty()) {
            QCOMPARE(rig.dialogs.requests.size(), size_t(1));
            QCOMPARE(readBack(file), rig.canvas());
        } else {
            QCOMPARE(rig.dialogs.requests.size(), size_t(2));
            QCOMPARE(rig.dialogs.requests.back().fileName, path(proposed));
            QCOMPARE(bytesOf(file), bytes);
        }
        QCOMPARE(rig.title(), titled(file));
    }

    // The title drops blanks at the ends of the name, so the file must too.
    void blanksAroundTheChosenNameAreDropped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("existing");
        QTest::newRow("trailing") << "bild.bmp " << false;
        QTest::newRow("both ends") << "  bild.bmp  " << false;
        // The dialog asked about "bild.bmp ", not about the file replaced.
        QTest::newRow("over a file of the trimmed name") << "bild.bmp " << true;
    }
    void blanksAroundTheChosenNameAreDropped() {
        QFETCH(QString, typed);
        QFETCH(bool, existing);
        const QString file = path("bild.bmp");
        if (existing)
            QVERIFY(writeBytes(file, "gammal"));
        rig.drawSomething();
        rig.dialogs.files.push_back(path(typed));
        rig.dialogs.files.push_back(std::nullopt);
        menu('P');
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"bild.bmp"});
        if (existing) {
            QCOMPARE(rig.dialogs.requests.size(), size_t(2));
            QCOMPARE(rig.dialogs.requests.back().fileName, file);
            QCOMPARE(bytesOf(file), QByteArray("gammal"));
            QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
            return;
        }
        QCOMPARE(rig.title(), titled(file));
        rig.drag({{10, 300}, {300, 400}});
        key(Qt::Key_S);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"bild.bmp"});
        QCOMPARE(readBack(file), rig.canvas());
    }

    // A named pipe is refused at once, never waited on for a writer.
    void aNamedPipeIsRefusedAtOnce_data() {
        QTest::addColumn<bool>("commandLine");
        QTest::newRow("Open") << false;
        QTest::newRow("command line") << true;
    }
    void aNamedPipeIsRefusedAtOnce() {
        QFETCH(bool, commandLine);
#ifdef Q_OS_UNIX
        const QString pipe = path("rör.bmp");
        QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        rig.drawSomething();
        const QImage drawn = rig.canvas();
        // Should the open wait for a writer, the system ends the test program.
        ::alarm(5);
        if (commandLine) {
            rig.openNamed(pipe);
        } else {
            rig.dialogs.files.push_back(pipe);
            key(Qt::Key_O);
        }
        ::alarm(0);
        QCOMPARE(rig.dialogs.warnings,
                 QStringList{openFailedMessage(pipe, PictureFile::Problem::NotAPicture)});
        QCOMPARE(rig.canvas(), drawn);
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
#else
        QSKIP("named pipes in the file system are Unix's");
#endif
    }

    void exitAfterASaveStillAsks() {
        saveAs(path("hus.bmp"));
        rig.dialogs.answers.push_back(Answer::Cancel);
        menu('A');
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QVERIFY(!rig.form->stopped());
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
