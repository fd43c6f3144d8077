#pragma once

#include "platform/wallpaper/Wallpaper.h"

// KDE Plasma: a script for plasmashell's scripting interface on the session
// bus, giving every desktop the image wallpaper with our picture.
class PlasmaWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
