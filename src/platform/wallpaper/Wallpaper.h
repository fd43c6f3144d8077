#pragma once

#include <string>

// The desktop's wallpaper, set from a picture file. One adapter a desktop, chosen
// at run time on Linux; the Windows one is plain Win32, so this interface uses
// no Qt types: paths and details are UTF-8.
class Wallpaper {
public:
    enum class Style { Tiled, Centred };

    enum class Problem {
        None,
        // No adapter for this desktop; `detail` is the desktop's name, if any.
        UnknownDesktop,
        // Windows takes the path in its 8-bit code page, which cannot hold it.
        PathNotInCodePage,
        // The desktop's settings tool or service is not there; `detail` names it.
        ServiceMissing,
        // The desktop answered with an error; `detail` is its own words.
        Refused,
        // The desktop accepted, but reading the setting back gave something else.
        NotApplied,
    };

    struct Result {
        Problem problem = Problem::None;
        // In the desktop's or the tool's own terms, for the log; the user reads
        // the program's own words for `problem`, and at most a desktop's name.
        std::string detail;
        bool ok() const { return problem == Problem::None; }
    };

    virtual ~Wallpaper() = default;

    // Makes the file at the absolute `path` the wallpaper in `style`, and checks
    // that it took by reading the setting back.
    virtual Result set(const std::string& path, Style style) = 0;
};
