#include "PrivateSessionBus.h"
#include "platform/wallpaper/XfceWallpaper.h"

#include <QtTest>

using Style = Wallpaper::Style;

namespace {

const QStringList kPlaces = {"/backdrop/screen0/monitorVirtual-1/workspace0/",
                             "/backdrop/screen0/monitorVirtual-1/workspace1/",
                             "/backdrop/screen0/monitorHDMI-2/workspace0/",
                             "/backdrop/screen0/monitorHDMI-2/workspace1/"};

QString xfconf(const QStringList& arguments) {
    QProcess process;
    process.start("xfconf-query", QStringList{"-c", "xfce4-desktop"} + arguments);
    process.waitForFinished();
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    if (text.endsWith('\n'))
        text.chop(1);
    return text;
}

} // namespace

// The XFCE adapter against the real xfconfd, started on a private bus with
// its settings in a temporary folder.
class TestXfceWallpaper : public QObject {
    Q_OBJECT

private:
    PrivateSessionBus bus;
    QString picture() const {
        return bus.filePath(QString::fromUtf8("Mina bilder/hus på ängen ö.bmp"));
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("xfconf-query").isEmpty())
            QSKIP("xfconf-query is not installed (Debian: xfconf, libxfconf-0-3)");
        if (!bus.start())
            QSKIP("no private session bus: dbus-daemon is not installed (Debian: dbus)");
    }

    void aDesktopThatNeverRanIsNotChanged() {
        const Wallpaper::Result result = XfceWallpaper().set(picture().toStdString(), Style::Tiled);
        QCOMPARE(result.problem, Wallpaper::Problem::NotApplied);
        QCOMPARE(xfconf({"-l"}), QString());
    }

    // Two monitors with two workspaces each, as xfdesktop leaves them.
    void everyMonitorAndWorkspaceGetsThePicture() {
        for (const QString& place : kPlaces) {
            xfconf({"-p", place + "last-image", "-n", "-t", "string", "-s", "/usr/share/bg.png"});
            xfconf({"-p", place + "image-style", "-n", "-t", "int", "-s", "5"});
        }
        xfconf({"-p", "/backdrop/single-workspace-mode", "-n", "-t", "bool", "-s", "true"});
        const QString listed = xfconf({"-l"});
        XfceWallpaper wallpaper;
        const std::string path = picture().toStdString();
        const std::pair<Style, QString> steps[] = {
            {Style::Tiled, "2"}, {Style::Centred, "1"}, {Style::Centred, "1"}};
        for (const auto& [style, number] : steps) {
            const Wallpaper::Result result = wallpaper.set(path, style);
            QVERIFY2(result.ok(), result.detail.c_str());
            for (const QString& place : kPlaces) {
                QCOMPARE(xfconf({"-p", place + "last-image"}), picture());
                QCOMPARE(xfconf({"-p", place + "image-style"}), number);
            }
            QCOMPARE(xfconf({"-l"}), listed);
        }
        QCOMPARE(xfconf({"-p", "/backdrop/single-workspace-mode"}), "true");
    }

    void withoutXfconfQueryTheToolIsNamed() {
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bus.filePath("config").toUtf8());
        const Wallpaper::Result result = XfceWallpaper().set(picture().toStdString(), Style::Tiled);
        qputenv("PATH", path);
        QCOMPARE(result.problem, Wallpaper::Problem::ServiceMissing);
        QCOMPARE(result.detail, std::string("xfconf-query"));
    }
};

QTEST_MAIN(TestXfceWallpaper)
#include "tst_xfcewallpaper.moc"
