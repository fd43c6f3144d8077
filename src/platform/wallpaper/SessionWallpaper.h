#pragma once

#include "platform/wallpaper/Wallpaper.h"

#include <memory>
#include <string>

// The adapter for the desktop this program runs on, named by
// XDG_CURRENT_DESKTOP or else by DESKTOP_SESSION.
std::unique_ptr<Wallpaper> sessionWallpaper();

// The adapter for a desktop named the way `XDG_CURRENT_DESKTOP` names it: a
// colon-separated list, most specific first. The first name we know decides.
std::unique_ptr<Wallpaper> wallpaperForDesktop(const std::string& xdgCurrentDesktop);
