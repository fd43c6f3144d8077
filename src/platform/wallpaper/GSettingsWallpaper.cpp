#include "platform/wallpaper/GSettingsWallpaper.h"

#include "platform/wallpaper/GSettings.h"

namespace {

using Form = GSettingsWallpaper::PictureForm;

const GSettingsWallpaper::Desktop kDesktops[] = {
    // Ubuntu, Budgie, Unity and Pantheon keep their wallpaper in GNOME's
    // settings. The dark style has its own picture since GNOME 42; without it,
    // a user in dark mode would see no change at all.
    {{"gnome", "ubuntu", "budgie", "unity", "pantheon"},
     "gnome-",
     "org.gnome.desktop.background",
     "picture-uri",
     "picture-uri-dark",
     Form::FileUri,
     "picture-options"},
    {{"mate"}, {}, "org.mate.background", "picture-filename", {}, Form::Path, "picture-options"},
    // GNOME's keys under Cinnamon's own name.
    {{"x-cinnamon", "cinnamon"},
     {},
     "org.cinnamon.desktop.background",
     "picture-uri",
     {},
     Form::FileUri,
     "picture-options"},
};

// The three schemas share GNOME's enumeration of styles.
const QString kTiled = QStringLiteral("'wallpaper'");
const QString kCentred = QStringLiteral("'centered'");

} // namespace

const GSettingsWallpaper::Desktop* GSettingsWallpaper::desktopNamed(const QString& name) {
    for (const Desktop& desktop : kDesktops) {
        if (desktop.names.contains(name) ||
            (!desktop.namePrefix.isEmpty() && name.startsWith(desktop.namePrefix)))
            return &desktop;
    }
    return nullptr;
}

Wallpaper::Result GSettingsWallpaper::set(const std::string& path, Style style) {
    const QString file = QString::fromStdString(path);
    const QString picture =
        GSettings::quoted(desktop_.pictureForm == Form::FileUri ? GSettings::fileUri(file) : file);
    // The style first, as Windows takes it: a desktop that follows each change
    // would otherwise show the new picture in the old style for a moment.
    std::vector<GSettings::Key> keys = {
        {desktop_.optionsKey, style == Style::Tiled ? kTiled : kCentred},
        {desktop_.pictureKey, picture}};
    if (!desktop_.darkPictureKey.isEmpty())
        keys.push_back({desktop_.darkPictureKey, picture, true});
    return GSettings(desktop_.schema).write(keys);
}
