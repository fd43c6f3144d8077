#include "platform/wallpaper/CinnamonWallpaper.h"

#include "platform/wallpaper/GSettings.h"

Wallpaper::Result CinnamonWallpaper::set(const std::string& path, Style style) {
    return GSettings(QStringLiteral("org.cinnamon.desktop.background"))
        .write({{QStringLiteral("picture-uri"),
                 GSettings::quoted(GSettings::fileUri(QString::fromStdString(path)))},
                {QStringLiteral("picture-options"), style == Style::Tiled
                                                        ? QStringLiteral("'wallpaper'")
                                                        : QStringLiteral("'centered'")}});
}
