#include "platform/wallpaper/GSettings.h"

#include "platform/wallpaper/SettingsTool.h"

#include <QStringList>
#include <QUrl>

namespace {

const QString kTool = QStringLiteral("gsettings");

} // namespace

Wallpaper::Result GSettings::write(const std::vector<Key>& keys) const {
    const SettingsTool::Output listed =
        SettingsTool::run(kTool, {QStringLiteral("list-keys"), schema_});
    if (!listed.started)
        return {Wallpaper::Problem::ServiceMissing, kTool.toStdString()};
    if (listed.exitCode != 0)
        return {Wallpaper::Problem::Refused, listed.errorText().toStdString()};
    const QStringList present = listed.text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    // Every key is looked for before any is set, so a schema without one is
    // left as it was rather than half changed.
    std::vector<const Key*> toSet;
    for (const Key& key : keys) {
        if (present.contains(key.name))
            toSet.push_back(&key);
        else if (!key.optional)
            return {Wallpaper::Problem::Refused,
                    (schema_ + QStringLiteral(" saknar ") + key.name).toStdString()};
    }
    for (const Key* key : toSet) {
        const SettingsTool::Output set =
            SettingsTool::run(kTool, {QStringLiteral("set"), schema_, key->name, key->value});
        if (set.exitCode != 0)
            return {Wallpaper::Problem::Refused, set.errorText().toStdString()};
    }
    for (const Key* key : toSet) {
        const SettingsTool::Output got =
            SettingsTool::run(kTool, {QStringLiteral("get"), schema_, key->name});
        if (got.exitCode != 0 || got.text.trimmed() != key->value)
            return {Wallpaper::Problem::NotApplied, (schema_ + QLatin1Char(' ') + key->name +
                                                     QStringLiteral(" = ") + got.text.trimmed())
                                                        .toStdString()};
    }
    return {};
}

// The way GLib prints a string, so that what `gsettings get` prints back can be
// compared as text: double quotes when the text holds a single one.
QString GSettings::quoted(const QString& text) {
    const QChar quote = text.contains(QLatin1Char('\'')) ? QLatin1Char('"') : QLatin1Char('\'');
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(quote, QStringLiteral("\\") + quote);
    return quote + escaped + quote;
}

QString GSettings::fileUri(const QString& path) {
    return QStringLiteral("file://") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
}
