#pragma once

#include "platform/wallpaper/Wallpaper.h"

// A desktop we have no adapter for: nothing is touched, and the command says so.
class UnknownDesktopWallpaper : public Wallpaper {
public:
    explicit UnknownDesktopWallpaper(std::string desktop) : desktop_(std::move(desktop)) {}
    Result set(const std::string&, Style) override { return {Problem::UnknownDesktop, desktop_}; }

private:
    std::string desktop_;
};
