// A stand-in for plasmashell's scripting interface on the test's private bus.
// It keeps each script it is sent in a file and answers as Plasma would for
// two desktops, from the values the script writes.
// Usage: fake_plasmashell RECORD_FILE [normal|locked|stale]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

class PlasmaShell : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")

public:
    PlasmaShell(QString record, QString mode)
        : record_(std::move(record)), mode_(std::move(mode)) {}

public slots:
    QString evaluateScript(const QString& script) {
        QFile out(record_);
        if (out.open(QIODevice::Append))
            out.write(script.toUtf8() + "\n----\n");
        if (mode_ == "locked") {
            // What Plasma answers when the desktop's widgets are locked.
            sendErrorReply(QDBusError::Failed, "Widgets are locked");
            return {};
        }
        if (mode_ == "stale")
            return "org.kde.image file:///usr/share/wallpapers/Next 2\n";
        if (!script.contains("desktops()"))
            return {};
        const QString plugin = captured(script, "wallpaperPlugin = \"([^\"]*)\"");
        const QString image = captured(script, "writeConfig\\(\"Image\", \"([^\"]*)\"\\)");
        const QString fill = captured(script, "writeConfig\\(\"FillMode\", (\\d+)\\)");
        const QString line = plugin + " " + image + " " + fill + "\n";
        return line + line;
    }

private:
    static QString captured(const QString& text, const char* pattern) {
        return QRegularExpression(QString::fromUtf8(pattern)).match(text).captured(1);
    }

    QString record_;
    QString mode_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    PlasmaShell shell(args.at(1), args.value(2, "normal"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/PlasmaShell", &shell, QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.kde.plasmashell"))
        return 1;
    QTextStream(stdout) << "ready" << Qt::endl;
    return app.exec();
}

#include "fake_plasmashell.moc"
