#include "platform/wallpaper/XfceWallpaper.h"

#include "platform/wallpaper/SettingsTool.h"

#include <QRegularExpression>

namespace {

const QString kTool = QStringLiteral("xfconf-query");
const QStringList kChannel = {QStringLiteral("-c"), QStringLiteral("xfce4-desktop")};
// xfdesktop's own numbers for its image styles.
const QString kTiled = QStringLiteral("2");
const QString kCentred = QStringLiteral("1");

SettingsTool::Output query(const QStringList& arguments) {
    return SettingsTool::run(kTool, kChannel + arguments);
}

Wallpaper::Result setAndCheck(const QString& property, const QString& type, const QString& value) {
    const SettingsTool::Output set =
        query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"), type,
               QStringLiteral("-s"), value});
    if (set.exitCode != 0)
        return {Wallpaper::Problem::Refused, set.errorText().toStdString()};
    const SettingsTool::Output got = query({QStringLiteral("-p"), property});
    QString stored = got.text;
    if (stored.endsWith(QLatin1Char('\n')))
        stored.chop(1);
    if (got.exitCode != 0 || stored != value)
        return {Wallpaper::Problem::NotApplied,
                (property + QStringLiteral(" = ") + stored).toStdString()};
    return {};
}

} // namespace

Wallpaper::Result XfceWallpaper::set(const std::string& path, Style style) {
    const SettingsTool::Output listed = query({QStringLiteral("-l")});
    if (!listed.started)
        return {Problem::ServiceMissing, kTool.toStdString()};
    if (listed.exitCode != 0)
        return {Problem::Refused, listed.errorText().toStdString()};

    static const QRegularExpression kPicture(
        QStringLiteral("^(/backdrop/screen\\d+/monitor[^/]+/workspace\\d+/)last-image$"));
    int pictures = 0;
    for (const QString& line : listed.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = kPicture.match(line.trimmed());
        if (!match.hasMatch())
            continue;
        const QString place = match.captured(1);
        // The style first, as Windows takes it: xfdesktop redraws on each
        // change, and would otherwise show the new picture in the old style.
        Result result = setAndCheck(place + QStringLiteral("image-style"), QStringLiteral("int"),
                                    style == Style::Tiled ? kTiled : kCentred);
        if (result.ok())
            result = setAndCheck(place + QStringLiteral("last-image"), QStringLiteral("string"),
                                 QString::fromStdString(path));
        if (!result.ok())
            return result;
        ++pictures;
    }
    // xfdesktop writes a picture for each monitor it shows; none means it has
    // not run in this session, and a setting nobody reads changes nothing.
    if (pictures == 0)
        return {Problem::NotApplied, "xfce4-desktop /backdrop"};
    return {};
}
