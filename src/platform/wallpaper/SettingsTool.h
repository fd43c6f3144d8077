#pragma once

#include <QString>
#include <QStringList>

// A desktop's command-line settings tool, run to its end on the spot: the
// commands are one click each, so a short wait on the UI thread is fine.
class SettingsTool {
public:
    struct Output {
        bool started = false;
        int exitCode = -1;
        QString text;
        QString errors;
        // What went wrong in the tool's own words, or how it ended.
        QString errorText() const;
    };

    static Output run(const QString& program, const QStringList& arguments);
};
