#include "platform/wallpaper/SettingsTool.h"

#include <QProcess>

namespace {

constexpr int kTimeoutMs = 10000;

} // namespace

QString SettingsTool::Output::errorText() const {
    QString said = errors.trimmed();
    if (!said.isEmpty())
        return said;
    return exitCode < 0 ? QStringLiteral("verktyget svarade inte")
                        : QStringLiteral("slutkod %1").arg(exitCode);
}

SettingsTool::Output SettingsTool::run(const QString& program, const QStringList& arguments) {
    Output output;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(kTimeoutMs))
        return output;
    output.started = true;
    process.closeWriteChannel();
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return output;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        output.exitCode = process.exitCode();
    output.text = QString::fromUtf8(process.readAllStandardOutput());
    output.errors = QString::fromUtf8(process.readAllStandardError());
    return output;
}
