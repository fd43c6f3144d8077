#include "platform/wallpaper/PlasmaWallpaper.h"

#include "platform/wallpaper/GSettings.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>

namespace {

const QString kService = QStringLiteral("org.kde.plasmashell");
const QString kPlugin = QStringLiteral("org.kde.image");
constexpr int kTimeoutMs = 10000;

// Qt Quick's Image.fillMode, which Plasma's image wallpaper stores as is.
int fillMode(Wallpaper::Style style) {
    constexpr int kTile = 3;
    constexpr int kPad = 6;
    return style == Wallpaper::Style::Tiled ? kTile : kPad;
}

QString uriOf(const std::string& path) {
    return GSettings::fileUri(QString::fromStdString(path));
}

// The script prints one line a desktop: the wallpaper plugin, the picture's
// URI and the fill mode, as read back after writing them.
QString script(const std::string& path, Wallpaper::Style style) {
    // The URI is percent-encoded, so it needs no escaping inside the quotes.
    return QStringLiteral(R"(var all = desktops();
for (var i = 0; i < all.length; ++i) {
    var d = all[i];
    d.wallpaperPlugin = "%1";
    d.currentConfigGroup = ["Wallpaper", "%1", "General"];
    d.writeConfig("Image", "%2");
    d.writeConfig("FillMode", %3);
    print(d.wallpaperPlugin + " " + d.readConfig("Image") + " " + d.readConfig("FillMode") + "\n");
}
)")
        .arg(kPlugin, uriOf(path))
        .arg(fillMode(style));
}

QString expectedLine(const std::string& path, Wallpaper::Style style) {
    return QStringLiteral("%1 %2 %3").arg(kPlugin, uriOf(path)).arg(fillMode(style));
}

} // namespace

Wallpaper::Result PlasmaWallpaper::set(const std::string& path, Style style) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {Problem::ServiceMissing, kService.toStdString()};
    QDBusMessage call = QDBusMessage::createMethodCall(kService, QStringLiteral("/PlasmaShell"),
                                                       QStringLiteral("org.kde.PlasmaShell"),
                                                       QStringLiteral("evaluateScript"));
    call << script(path, style);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown))
            return {Problem::ServiceMissing, kService.toStdString()};
        return {Problem::Refused, reply.errorMessage().toStdString()};
    }
    const QString printed = reply.arguments().value(0).toString();
    const QStringList lines = printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString expected = expectedLine(path, style);
    if (lines.isEmpty())
        return {Problem::NotApplied, "desktops()"};
    for (const QString& line : lines) {
        if (line != expected)
            return {Problem::NotApplied, line.toStdString()};
    }
    return {};
}
