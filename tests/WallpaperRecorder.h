#pragma once

#include "platform/wallpaper/Wallpaper.h"

#include <utility>
#include <vector>

// Records each wallpaper the window asks for and answers with `answer`; the
// desktops' own adapters are tested against private copies of their settings.
class WallpaperRecorder : public Wallpaper {
public:
    std::vector<std::pair<std::string, Style>> calls;
    Result answer;

    Result set(const std::string& path, Style style) override {
        calls.emplace_back(path, style);
        return answer;
    }
};
