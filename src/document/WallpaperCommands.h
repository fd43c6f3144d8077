#pragma once

#include "platform/wallpaper/Wallpaper.h"

#include <memory>

class Dialogs;
class Document;

// `SidaVidSida` and `centrerat`: the picture's file on disk, named by the
// title, becomes the desktop wallpaper. The canvas is not written, so drawing
// since the last save is not part of it.
class WallpaperCommands {
public:
    WallpaperCommands(const Document& document, Dialogs& dialogs);
    ~WallpaperCommands();

    // Where the wallpaper is set; by default the desktop this program runs on,
    // found at the first command.
    void useWallpaper(Wallpaper& wallpaper) { wallpaper_ = &wallpaper; }

    void SidaVidSida();
    void centrerat();

private:
    void apply(Wallpaper::Style style);

    const Document& document_;
    Dialogs& dialogs_;
    std::unique_ptr<Wallpaper> sessionWallpaper_;
    Wallpaper* wallpaper_ = nullptr;
};
