#include "PrivateSessionBus.h"
#include "platform/wallpaper/PlasmaWallpaper.h"

#include <QtTest>

using Style = Wallpaper::Style;
using Problem = Wallpaper::Problem;

// The Plasma adapter against a stand-in plasmashell on a private bus, which
// keeps the scripts it is sent.
class TestPlasmaWallpaper : public QObject {
    Q_OBJECT

private:
    PrivateSessionBus bus;
    QProcess shell;
    QString record() const { return bus.filePath("scripts.txt"); }
    QString picture() const {
        return bus.filePath(QString::fromUtf8("Mina bilder/hus på ängen ö.bmp"));
    }
    bool startShell(const QString& mode) {
        QFile::remove(record());
        shell.start(FAKE_PLASMASHELL, {record(), mode});
        return shell.waitForReadyRead(10000) && shell.readLine().trimmed() == "ready";
    }
    QStringList scripts() const {
        QFile in(record());
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(in.readAll()).split("\n----\n", Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase() {
        if (!bus.start())
            QSKIP("no private session bus: dbus-daemon is not installed (Debian: dbus)");
    }
    void cleanup() {
        shell.terminate();
        shell.waitForFinished();
    }

    void withoutPlasmaTheServiceIsNamed() {
        const Wallpaper::Result result =
            PlasmaWallpaper().set(picture().toStdString(), Style::Tiled);
        QCOMPARE(result.problem, Problem::ServiceMissing);
        QCOMPARE(result.detail, std::string("org.kde.plasmashell"));
    }

    // Plasma's fill modes are Qt Quick's: 3 tiles, 6 centres at the picture's size.
    void tiledThenCentredTwice() {
        QVERIFY(startShell("normal"));
        PlasmaWallpaper wallpaper;
        const std::string path = picture().toStdString();
        const std::pair<Style, QString> steps[] = {
            {Style::Tiled, "3"}, {Style::Centred, "6"}, {Style::Centred, "6"}};
        for (const auto& [style, fill] : steps) {
            const Wallpaper::Result result = wallpaper.set(path, style);
            QVERIFY2(result.ok(), result.detail.c_str());
            const QString script = scripts().constLast();
            QVERIFY(script.contains("d.wallpaperPlugin = \"org.kde.image\""));
            QVERIFY(script.contains("writeConfig(\"FillMode\", " + fill + ")"));
            const QRegularExpression image("writeConfig\\(\"Image\", \"([^\"]*)\"\\)");
            QCOMPARE(QUrl(image.match(script).captured(1)).toLocalFile(), picture());
        }
        QCOMPARE(scripts().size(), 3);
        QCOMPARE(scripts().at(1), scripts().at(2));
    }

    void aDesktopThatSaysNoIsTold_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("detail");
        QTest::newRow("widgets locked")
            << "locked" << int(Problem::Refused) << "Widgets are locked";
        QTest::newRow("old picture read back")
            << "stale" << int(Problem::NotApplied)
            << "org.kde.image file:///usr/share/wallpapers/Next 2";
    }
    void aDesktopThatSaysNoIsTold() {
        QFETCH(QString, mode);
        QFETCH(int, problem);
        QFETCH(QString, detail);
        QVERIFY(startShell(mode));
        const Wallpaper::Result result =
            PlasmaWallpaper().set(picture().toStdString(), Style::Tiled);
        QCOMPARE(int(result.problem), problem);
        QCOMPARE(QString::fromStdString(result.detail), detail);
    }
};

QTEST_MAIN(TestPlasmaWallpaper)
#include "tst_plasmawallpaper.moc"
