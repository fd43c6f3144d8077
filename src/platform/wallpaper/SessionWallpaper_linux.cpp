#include "platform/wallpaper/SessionWallpaper.h"

#include "platform/wallpaper/CinnamonWallpaper.h"
#include "platform/wallpaper/GnomeWallpaper.h"
#include "platform/wallpaper/MateWallpaper.h"
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
        // Ubuntu, Budgie, Unity and Pantheon keep their wallpaper in GNOME's settings.
        if (desktop == u"gnome" || desktop.startsWith(u"gnome-") || desktop == u"ubuntu" ||
            desktop == u"budgie" || desktop == u"unity" || desktop == u"pantheon")
            return std::make_unique<GnomeWallpaper>();
        if (desktop == u"kde" || desktop == u"plasma")
            return std::make_unique<PlasmaWallpaper>();
        if (desktop == u"xfce")
            return std::make_unique<XfceWallpaper>();
        if (desktop == u"mate")
            return std::make_unique<MateWallpaper>();
        if (desktop == u"x-cinnamon" || desktop == u"cinnamon")
            return std::make_unique<CinnamonWallpaper>();
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
