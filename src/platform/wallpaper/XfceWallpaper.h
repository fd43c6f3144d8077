#pragma once

#include "platform/wallpaper/Wallpaper.h"

// XFCE: xfconf's channel xfce4-desktop, through `xfconf-query`. XFCE keeps a
// picture for every monitor and workspace; each of them gets ours.
class XfceWallpaper : public Wallpaper {
public:
    Result set(const std::string& path, Style style) override;
};
