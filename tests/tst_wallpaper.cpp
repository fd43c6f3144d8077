#include "FormRig.h"
#include "WallpaperRecorder.h"
#include "document/WallpaperCommands.h"
#include "platform/wallpaper/GSettingsWallpaper.h"
#include "platform/wallpaper/PlasmaWallpaper.h"
#include "platform/wallpaper/SessionWallpaper.h"
#include "platform/wallpaper/UnknownDesktopWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"

#include <QMenu>

using Style = Wallpaper::Style;
using Problem = Wallpaper::Problem;

namespace {

// gsettings and xfconf-query in one: keeps each value in a file named after
// its key, lists one picture, and logs each key it is told to set.
const char* const kScriptedSettingsTool = R"(#!/bin/sh
dir=${0%/*}
mkdir -p "$dir/values"
case "$1 $3" in
list-keys*) printf '%s\n' picture-options picture-uri picture-uri-dark picture-filename ;;
set*) echo "$3" >>"$dir/set.log"; printf '%s\n' "$4" >"$dir/values/$3" ;;
get*) cat "$dir/values/$3" ;;
"-c -l") echo /backdrop/screen0/monitor0/workspace0/last-image ;;
"-c -p") key=${4##*/}
  if [ "$5" = -n ]; then echo "$key" >>"$dir/set.log"; printf '%s\n' "$9" >"$dir/values/$key"
  else cat "$dir/values/$key"; fi ;;
esac
)";

} // namespace

// The two wallpaper commands from the menu, with a recorder in place of the
// desktop, and the choice of a desktop's adapter.
class TestWallpaper : public QObject {
    Q_OBJECT

private:
    FormRig rig;
    WallpaperRecorder recorder;
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString& name) const { return dir->filePath(name); }
    void menu(char accessKey) { rig.menu(accessKey); }
    void saveAs(const QString& file) { rig.saveAs(file); }
    QByteArray bytes(const QString& file) const {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(rig.show());
        recorder = WallpaperRecorder();
        rig.wallpaper().useWallpaper(recorder);
    }
    void cleanup() { rig.form.reset(); }

    // After start-up, whatever the menu shows, and after New answered No.
    void anUntitledPictureTouchesNothing_data() {
        QTest::addColumn<bool>("afterNew");
        QTest::newRow("after start-up") << false;
        QTest::newRow("after New answered No") << true;
    }
    void anUntitledPictureTouchesNothing() {
        QFETCH(bool, afterNew);
        if (afterNew) {
            saveAs(path("hus.bmp"));
            rig.dialogs.answers.push_back(Dialogs::Answer::No);
            rig.key(Qt::Key_N, Qt::ControlModifier);
        }
        menu('I');
        menu('C');
        QVERIFY(recorder.calls.empty());
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void tiledThenCentredSetTheSavedFile() {
        const QString file = path("Mina bilder/hus på ängen ö.bmp");
        QVERIFY(QDir().mkpath(path("Mina bilder")));
        saveAs(file);
        menu('I');
        menu('C');
        menu('C');
        const std::string expected = file.toStdString();
        QCOMPARE(recorder.calls.size(), size_t(3));
        QCOMPARE(recorder.calls[0], std::make_pair(expected, Style::Tiled));
        QCOMPARE(recorder.calls[1], std::make_pair(expected, Style::Centred));
        QCOMPARE(recorder.calls[2], std::make_pair(expected, Style::Centred));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The file as last saved: the canvas is not written, and no file is made.
    void drawingSinceTheSaveIsNotPartOfIt() {
        const QString file = path("hus.bmp");
        saveAs(file);
        const QByteArray saved = bytes(file);
        rig.drawSomething();
        menu('I');
        QCOMPARE(recorder.calls.size(), size_t(1));
        QCOMPARE(bytes(file), saved);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"hus.bmp"});
    }

    void aFileThatIsGoneIsNamedAndNotSet() {
        const QString file = path("borta.bmp");
        saveAs(file);
        QVERIFY(QFile::remove(file));
        menu('C');
        QVERIFY(recorder.calls.empty());
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.front().contains(QDir::toNativeSeparators(file)));
    }

    // Each failure names the file and says in Swedish what happened and what to
    // do; the desktop's own words, here as the adapters pass them on, go to the
    // log and never into the message.
    void aFailureIsToldInPlainSwedish_data() {
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("detail");
        QTest::newRow("desktop not known") << int(Problem::UnknownDesktop) << "";
        QTest::newRow("code page") << int(Problem::PathNotInCodePage) << "C:\\hus å.bmp";
        QTest::newRow("no gsettings") << int(Problem::ServiceMissing) << "gsettings";
        QTest::newRow("no plasmashell") << int(Problem::ServiceMissing) << "org.kde.plasmashell";
        QTest::newRow("MATE without its schema")
            << int(Problem::Refused) << QString::fromUtf8("No such schema “org.mate.background”");
        QTest::newRow("xfconf refuses")
            << int(Problem::Refused)
            << "Property \"/backdrop/screen0/monitor0/workspace0/last-image\" does not exist on "
               "channel \"xfce4-desktop\"";
        QTest::newRow("Windows refuses") << int(Problem::Refused) << "RegOpenKeyA: 5";
        QTest::newRow("read back differs")
            << int(Problem::NotApplied) << "org.mate.background picture-options = 'zoom'";
        QTest::newRow("xfdesktop never ran")
            << int(Problem::NotApplied) << "xfce4-desktop /backdrop";
    }
    void aFailureIsToldInPlainSwedish() {
        QFETCH(int, problem);
        QFETCH(QString, detail);
        const QString file = path("hus å.bmp");
        saveAs(file);
        recorder.answer = {Problem(problem), detail.toStdString()};
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(": " + QRegularExpression::escape(detail) + "$"));
        menu('I');
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QString message = rig.dialogs.warnings.front();
        QVERIFY2(
            message.startsWith(QString::fromUtf8("Bilden kunde inte bli skrivbordsunderlägg:\n") +
                               QDir::toNativeSeparators(file) + "\n\n"),
            qPrintable(message));
        message.remove(QDir::toNativeSeparators(file));
        const auto words = [](const QString& text) {
            const QStringList all =
                text.toLower().split(QRegularExpression("\\W+"), Qt::SkipEmptyParts);
            return QSet<QString>(all.begin(), all.end());
        };
        static const QSet<QString> kEnglish = {"the",   "not",    "no",     "such",
                                               "could", "cannot", "failed", "error",
                                               "does",  "exist",  "is",     "of"};
        const QSet<QString> foreign = words(message) & (words(detail) | kEnglish);
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.values().join(' ') + " in: " + message));
    }

    // A session on a desktop we do not know gets the message, not silence.
    void anUnknownDesktopGetsTheMessage() {
        rig.form.reset();
        qputenv("XDG_CURRENT_DESKTOP", "Enlightenment");
        QVERIFY(rig.show());
        const QString file = path("hus.bmp");
        saveAs(file);
        menu('C');
        qunsetenv("XDG_CURRENT_DESKTOP");
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.front().contains(QStringLiteral("\"Enlightenment\"")));
    }

    // The style before the picture, as on Windows, so that a desktop following
    // each change never shows the new picture in the old style.
    void theStyleIsSetBeforeThePicture_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("keysSet");
        QTest::newRow("GNOME") << "GNOME"
                               << QStringList{"picture-options", "picture-uri", "picture-uri-dark"};
        QTest::newRow("MATE") << "MATE" << QStringList{"picture-options", "picture-filename"};
        QTest::newRow("Cinnamon") << "X-Cinnamon" << QStringList{"picture-options", "picture-uri"};
        QTest::newRow("XFCE") << "XFCE" << QStringList{"image-style", "last-image"};
    }
    void theStyleIsSetBeforeThePicture() {
        QFETCH(QString, desktop);
        QFETCH(QStringList, keysSet);
        for (const char* tool : {"gsettings", "xfconf-query"}) {
            QFile script(path(tool));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(kScriptedSettingsTool);
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", dir->path().toUtf8() + ':' + searchPath);
        const Wallpaper::Result result = wallpaperForDesktop(desktop.toStdString())
                                             ->set(path("hus.bmp").toStdString(), Style::Tiled);
        qputenv("PATH", searchPath);
        QVERIFY2(result.ok(), result.detail.c_str());
        QCOMPARE(QString::fromUtf8(bytes(path("set.log"))).split('\n', Qt::SkipEmptyParts),
                 keysSet);
    }

    void theDesktopChoosesTheAdapter_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("adapter");
        QTest::newRow("GNOME") << "GNOME"
                               << "org.gnome.desktop.background";
        QTest::newRow("Ubuntu") << "ubuntu:GNOME"
                                << "org.gnome.desktop.background";
        QTest::newRow("GNOME Flashback") << "GNOME-Flashback:GNOME"
                                         << "org.gnome.desktop.background";
        QTest::newRow("Budgie") << "Budgie:GNOME"
                                << "org.gnome.desktop.background";
        QTest::newRow("Unity") << "Unity"
                               << "org.gnome.desktop.background";
        QTest::newRow("Pantheon") << "Pantheon"
                                  << "org.gnome.desktop.background";
        QTest::newRow("Plasma") << "KDE"
                                << "plasma";
        QTest::newRow("Plasma, as DESKTOP_SESSION names it") << "plasma"
                                                             << "plasma";
        QTest::newRow("XFCE") << "XFCE"
                              << "xfce";
        QTest::newRow("MATE") << "MATE"
                              << "org.mate.background";
        QTest::newRow("Cinnamon") << "X-Cinnamon"
                                  << "org.cinnamon.desktop.background";
        QTest::newRow("first known name wins") << "Sway:kde:GNOME"
                                               << "plasma";
        QTest::newRow("unknown") << "Enlightenment"
                                 << "unknown";
        QTest::newRow("not set") << ""
                                 << "unknown";
        QTest::newRow("only colons") << "::"
                                     << "unknown";
    }
    void theDesktopChoosesTheAdapter() {
        QFETCH(QString, desktop);
        QFETCH(QString, adapter);
        const std::unique_ptr<Wallpaper> chosen = wallpaperForDesktop(desktop.toStdString());
        Wallpaper* w = chosen.get();
        const auto* settings = dynamic_cast<GSettingsWallpaper*>(w);
        const QString kind = settings                            ? settings->desktop().schema
                             : dynamic_cast<PlasmaWallpaper*>(w) ? "plasma"
                             : dynamic_cast<XfceWallpaper*>(w)   ? "xfce"
                             : dynamic_cast<UnknownDesktopWallpaper*>(w) ? "unknown"
                                                                         : "none";
        QCOMPARE(kind, adapter);
    }
};

QTEST_MAIN(TestWallpaper)
#include "tst_wallpaper.moc"
