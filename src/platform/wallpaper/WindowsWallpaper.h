#pragma once

#include "platform/wallpaper/Wallpaper.h"

// Windows: the tile setting in the registry, then the system loads the
// picture. Plain Win32 with no Qt, built for Windows only.
class WindowsWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
