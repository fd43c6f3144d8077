#include "platform/wallpaper/SessionWallpaper.h"

#include "platform/wallpaper/GSettingsWallpaper.h"
#include "platform/wallpaper/PlasmaWallpaper.h"
#include "platform/wallpaper/UnknownDesktopWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"

#include <QString>
#include <QStringList>

#include <cstdlib>

std::unique_ptr<Wallpaper> wallpaperForDesktop(const std::string& xdgCurrentDesktop) {
    const QStringList names =
        QString::fromStdString(xdgCurrentDesktop).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        const QString desktop = name.trimmed().toLower();
        if (const GSettingsWallpaper::Desktop* settings = GSettingsWallpaper::desktopNamed(desktop))
            return std::make_unique<GSettingsWallpaper>(*settings);
        if (desktop == u"kde" || desktop == u"plasma")
            return std::make_unique<PlasmaWallpaper>();
        if (desktop == u"xfce")
            return std::make_unique<XfceWallpaper>();
    }
    return std::make_unique<UnknownDesktopWallpaper>(xdgCurrentDesktop);
}

// Older display managers name the session only in DESKTOP_SESSION.
std::unique_ptr<Wallpaper> sessionWallpaper() {
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
        const char* desktop = std::getenv(variable);
        if (desktop && *desktop)
            return wallpaperForDesktop(desktop);
    }
    return wallpaperForDesktop("");
}
