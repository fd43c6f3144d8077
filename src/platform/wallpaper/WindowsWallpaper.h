#pragma once

#include "platform/wallpaper/Wallpaper.h"

// Windows: the tile setting in the registry, then the system loads the
// picture. Plain Win32 with no Qt, built for Windows only.
class WindowsWallpaper : public Wallpaper {
public:
    // How WideCharToMultiByte narrows a path to the code page `codePage`: its
    // flags, and whether to ask it if a letter had to be replaced.
    struct Narrowing {
        unsigned long flags;
        bool askReplaced;
    };
    static Narrowing narrowingFor(unsigned codePage);

    Result set(const std::string& path, Style style) override;
};
