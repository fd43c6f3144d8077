#pragma once

#include "platform/wallpaper/Wallpaper.h"

// Cinnamon: org.cinnamon.desktop.background, GNOME's keys under its own name.
class CinnamonWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
