#include "FormRig.h"
#include "platform/wallpaper/SessionWallpaper.h"

#include <QMenu>
#include <QProcess>
#include <QStandardPaths>

using Style = Wallpaper::Style;

namespace {

// Minimal copies of the schemas a machine may lack, with the real keys' types.
const char* const kMissingSchemas = R"(<schemalist>
  <enum id="pensilo.test.BackgroundStyle">
    <value nick="none" value="0"/><value nick="wallpaper" value="1"/>
    <value nick="centered" value="2"/><value nick="scaled" value="3"/>
    <value nick="stretched" value="4"/><value nick="zoom" value="5"/>
    <value nick="spanned" value="6"/>
  </enum>
  <schema id="org.mate.background" path="/org/mate/desktop/background/">
    <key name="picture-filename" type="s"><default>''</default></key>
    <key name="picture-options" enum="pensilo.test.BackgroundStyle"><default>'zoom'</default></key>
  </schema>
  <schema id="org.cinnamon.desktop.background" path="/org/cinnamon/desktop/background/">
    <key name="picture-uri" type="s"><default>''</default></key>
    <key name="picture-options" enum="pensilo.test.BackgroundStyle"><default>'zoom'</default></key>
  </schema>
</schemalist>
)";

QString gsettings(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("gsettings"), arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A string printed by `gsettings get`, without its quotes and escapes.
QString unquoted(const QString& printed) {
    QString text;
    for (qsizetype i = 1; i + 1 < printed.size(); ++i) {
        if (printed.at(i) == QLatin1Char('\\'))
            ++i;
        text += printed.at(i);
    }
    return text;
}

} // namespace

// The GNOME, MATE and Cinnamon adapters against a private settings store: a
// key file in a temporary folder, read back with `gsettings` itself.
class TestGSettingsWallpaper : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;
    QString keyfile() const {
        return QString::fromUtf8(qgetenv("XDG_CONFIG_HOME")) + "/glib-2.0/settings/keyfile";
    }
    QString picture() const {
        return home.filePath(QString::fromUtf8("Mina bilder/hus på ängen, Örjans 'bästa'.bmp"));
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("gsettings").isEmpty())
            QSKIP("gsettings is not installed (Debian: libglib2.0-bin)");
        QVERIFY(home.isValid());
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        QVERIFY(QDir().mkpath(home.filePath("schemas")));
        QVERIFY(QDir().mkpath(home.filePath("Mina bilder")));
        QFile schemas(home.filePath("schemas/pensilo-test.gschema.xml"));
        QVERIFY(schemas.open(QIODevice::WriteOnly));
        schemas.write(kMissingSchemas);
        schemas.close();
        QCOMPARE(QProcess::execute("glib-compile-schemas", {home.filePath("schemas")}), 0);
        qputenv("GSETTINGS_SCHEMA_DIR", home.filePath("schemas").toUtf8());
        if (!gsettings({"list-schemas"}).split('\n').contains("org.gnome.desktop.background"))
            QSKIP("GNOME's schemas are not installed (Debian: gsettings-desktop-schemas)");
        QFile file(picture());
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void tiledThenCentredTwice_data() {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("schema");
        QTest::addColumn<QString>("pictureKey");
        QTest::addColumn<bool>("uri");
        QTest::newRow("GNOME") << "GNOME"
                               << "org.gnome.desktop.background"
                               << "picture-uri" << true;
        QTest::newRow("MATE") << "MATE"
                              << "org.mate.background"
                              << "picture-filename" << false;
        QTest::newRow("Cinnamon") << "X-Cinnamon"
                                  << "org.cinnamon.desktop.background"
                                  << "picture-uri" << true;
    }
    void tiledThenCentredTwice() {
        QFETCH(QString, desktop);
        QFETCH(QString, schema);
        QFETCH(QString, pictureKey);
        QFETCH(bool, uri);
        // A store of its own, so that the key file holds this desktop's keys alone.
        qputenv("XDG_CONFIG_HOME", home.filePath("config-" + schema).toUtf8());
        const std::unique_ptr<Wallpaper> wallpaper = wallpaperForDesktop(desktop.toStdString());
        const auto stored = [&](const QString& key) {
            const QString text = unquoted(gsettings({"get", schema, key}));
            return uri ? QUrl(text).toLocalFile() : text;
        };
        const std::string path = picture().toStdString();

        Wallpaper::Result result = wallpaper->set(path, Style::Tiled);
        QVERIFY2(result.ok(), result.detail.c_str());
        QCOMPARE(gsettings({"get", schema, "picture-options"}), "'wallpaper'");
        QCOMPARE(stored(pictureKey), picture());
        if (uri)
            QVERIFY(gsettings({"get", schema, pictureKey}).contains("%20"));

        for (int time = 0; time < 2; ++time) {
            result = wallpaper->set(path, Style::Centred);
            QVERIFY2(result.ok(), result.detail.c_str());
            QCOMPARE(gsettings({"get", schema, "picture-options"}), "'centered'");
            QCOMPARE(stored(pictureKey), picture());
        }
        QFile file(keyfile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\npicture-options="), 1);
    }

    // Both styles of GNOME show our picture, the dark one as well.
    void gnomeSetsTheDarkPictureToo() {
        QVERIFY(wallpaperForDesktop("GNOME")->set(picture().toStdString(), Style::Tiled).ok());
        const QString schema = "org.gnome.desktop.background";
        QCOMPARE(gsettings({"get", schema, "picture-uri-dark"}),
                 gsettings({"get", schema, "picture-uri"}));
    }

    // The whole road on GNOME: Save As, then the two commands from the menu.
    void theMenuSetsGnomesWallpaper() {
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        FormRig rig;
        QVERIFY(rig.show());
        const QString file = home.filePath(QString::fromUtf8("Mina bilder/sol å.bmp"));
        rig.dialogs.files.push_back(file);
        const auto menu = [&](char accessKey) {
            rig.key(Qt::Key_M, Qt::AltModifier);
            QTRY_VERIFY(rig.commandBar().menu()->isVisible());
            QTest::keyClick(rig.commandBar().menu(), Qt::Key(accessKey));
        };
        menu('P');
        const QString schema = "org.gnome.desktop.background";
        menu('I');
        QCOMPARE(gsettings({"get", schema, "picture-options"}), "'wallpaper'");
        QCOMPARE(QUrl(unquoted(gsettings({"get", schema, "picture-uri"}))).toLocalFile(), file);
        menu('C');
        QCOMPARE(gsettings({"get", schema, "picture-options"}), "'centered'");
        QVERIFY(rig.dialogs.warnings.isEmpty());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
};

QTEST_MAIN(TestGSettingsWallpaper)
#include "tst_gsettingswallpaper.moc"
