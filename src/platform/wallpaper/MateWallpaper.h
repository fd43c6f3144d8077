#pragma once

#include "platform/wallpaper/Wallpaper.h"

// MATE: org.mate.background, which takes a plain path rather than a URI.
class MateWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
