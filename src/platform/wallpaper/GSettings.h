#pragma once

#include "platform/wallpaper/Wallpaper.h"

#include <QString>

#include <vector>

// Desktop settings written with the `gsettings` tool, which writes wherever the
// session's settings live (dconf, or a key file when GSETTINGS_BACKEND says so).
class GSettings {
public:
    struct Key {
        QString name;
        // In GVariant text form, as `gsettings get` prints it: 'wallpaper'.
        QString value;
        // Set only where the schema has it (older schemas lack some keys).
        bool optional = false;
    };

    explicit GSettings(QString schema) : schema_(std::move(schema)) {}

    // Sets every key in the order given, then reads each back: an exit code
    // alone is no proof.
    Wallpaper::Result write(const std::vector<Key>& keys) const;

    // A string as GVariant text.
    static QString quoted(const QString& text);
    // `path` as a file URI with blanks and letters outside ASCII
    // percent-encoded, so it needs no escaping as GVariant text.
    static QString fileUri(const QString& path);

private:
    QString schema_;
};
