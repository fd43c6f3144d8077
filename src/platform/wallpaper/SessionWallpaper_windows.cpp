#include "platform/wallpaper/SessionWallpaper.h"

#include "platform/wallpaper/WindowsWallpaper.h"

// Windows has one desktop, whatever a variable says.
std::unique_ptr<Wallpaper> wallpaperForDesktop(const std::string&) {
    return std::make_unique<WindowsWallpaper>();
}

std::unique_ptr<Wallpaper> sessionWallpaper() {
    return std::make_unique<WindowsWallpaper>();
}
