#include "FormRig.h"
#include "app/CommandLine.h"

// What the command line starts: a picture opened as Open does, or an answer.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("says");
        const int start = int(CommandLine::Action::Start);
        const int help = int(CommandLine::Action::Help);
        const int mistake = int(CommandLine::Action::Mistake);
        QTest::newRow("nothing") << QStringList{"/usr/bin/pensilo"} << start << ""
                                 << "";
        QTest::newRow("a picture") << QStringList{"pensilo", "hus å.bmp"} << start << "hus å.bmp"
                                   << "";
        QTest::newRow("a name like an option")
            << QStringList{"pensilo", "--", "-hus.bmp"} << start << "-hus.bmp"
            << "";
        QTest::newRow("help") << QStringList{"/usr/bin/pensilo", "x.bmp", "--help"} << help << ""
                              << "Användning: pensilo [BILD]";
        QTest::newRow("version") << QStringList{"pensilo", "-v"}
                                 << int(CommandLine::Action::Version) << ""
                                 << "Pensilo ";
        QTest::newRow("unknown option") << QStringList{"pensilo", "--färg"} << mistake << ""
                                        << "okänt val: --färg";
        QTest::newRow("two pictures") << QStringList{"pensilo", "a.bmp", "b.bmp"} << mistake << ""
                                      << "en bild i taget";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, file);
        QFETCH(QString, says);
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(int(line.action), action);
        QCOMPARE(line.file, file);
        QVERIFY2(line.message.contains(says), qPrintable(line.message));
    }

    // The title shows the full path; a file that cannot be read is named in
    // a message and leaves the white untitled picture.
    void openingAFileAtStart() {
        QTemporaryDir dir;
        QImage picture(50, 40, QImage::Format_RGB32);
        picture.fill(qRgb(200, 10, 10));
        QVERIFY(picture.save(dir.filePath("röd bild.bmp"), "BMP"));
        QFile broken(dir.filePath("trasig.bmp"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("BM inte riktigt");
        broken.close();
        QVERIFY(QDir::setCurrent(dir.path()));

        FormRig rig;
        QVERIFY(rig.show());
        rig.form->openFile("röd bild.bmp");
        QCOMPARE(rig.title(), dir.filePath("röd bild.bmp") + " - Pensilo");
        QCOMPARE(rig.canvas().pixel(49, 39), qRgb(200, 10, 10));
        QCOMPARE(rig.canvas().pixel(50, 40), qRgb(255, 255, 255));
        rig.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.dialogs.requests.back().fileName, dir.filePath("röd bild.bmp"));

        QVERIFY(rig.show());
        rig.form->openFile("trasig.bmp");
        QCOMPARE(rig.title(), QStringLiteral("[Namnlös] - Pensilo"));
        QCOMPARE(rig.canvas().pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.first().contains(dir.filePath("trasig.bmp")));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
