#pragma once

#include "platform/wallpaper/Wallpaper.h"

// GNOME and the desktops built on its settings (Ubuntu, Budgie, Unity,
// Pantheon): org.gnome.desktop.background.
class GnomeWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
