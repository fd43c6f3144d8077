#include "platform/wallpaper/GnomeWallpaper.h"

#include "platform/wallpaper/GSettings.h"

Wallpaper::Result GnomeWallpaper::set(const std::string& path, Style style) {
    const QString uri = GSettings::quoted(GSettings::fileUri(QString::fromStdString(path)));
    // The dark style has its own picture since GNOME 42; without it, a user in
    // dark mode would see no change at all.
    return GSettings(QStringLiteral("org.gnome.desktop.background"))
        .write({{QStringLiteral("picture-uri"), uri},
                {QStringLiteral("picture-uri-dark"), uri, true},
                {QStringLiteral("picture-options"), style == Style::Tiled
                                                        ? QStringLiteral("'wallpaper'")
                                                        : QStringLiteral("'centered'")}});
}
