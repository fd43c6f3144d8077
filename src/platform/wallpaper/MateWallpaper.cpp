#include "platform/wallpaper/MateWallpaper.h"

#include "platform/wallpaper/GSettings.h"

Wallpaper::Result MateWallpaper::set(const std::string& path, Style style) {
    return GSettings(QStringLiteral("org.mate.background"))
        .write(
            {{QStringLiteral("picture-filename"), GSettings::quoted(QString::fromStdString(path))},
             {QStringLiteral("picture-options"), style == Style::Tiled
                                                     ? QStringLiteral("'wallpaper'")
                                                     : QStringLiteral("'centered'")}});
}
