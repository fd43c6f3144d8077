#pragma once

#include "platform/wallpaper/Wallpaper.h"

#include <QString>
#include <QStringList>

// The desktops that keep their wallpaper in GSettings: GNOME (and those built
// on its settings), MATE and Cinnamon. They differ only in where the setting
// lives and how it names the picture, so one adapter serves them all, given
// its desktop's row of the table.
class GSettingsWallpaper : public Wallpaper {
public:
    enum class PictureForm { FileUri, Path };

    struct Desktop {
        // How XDG_CURRENT_DESKTOP names it, in lower case; `namePrefix`, where
        // set, takes in every variant (GNOME-Flashback, GNOME-Classic).
        QStringList names;
        QString namePrefix;
        QString schema;
        QString pictureKey;
        // A second picture for the dark style, set where the schema has it.
        QString darkPictureKey;
        PictureForm pictureForm;
        QString optionsKey;
    };

    // The desktop one name of XDG_CURRENT_DESKTOP stands for, lower case; null
    // when it keeps its wallpaper elsewhere.
    static const Desktop* desktopNamed(const QString& name);

    explicit GSettingsWallpaper(const Desktop& desktop) : desktop_(desktop) {}
    const Desktop& desktop() const { return desktop_; }

    Result set(const std::string& path, Style style) override;

private:
    Desktop desktop_;
};
