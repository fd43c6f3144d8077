#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// A session bus of the test's own, so that no test reaches the desktop of the
// person running it. Services it starts on demand (xfconfd) keep their
// settings in a temporary folder, and end with the bus.
class PrivateSessionBus {
public:
    // False when dbus-daemon is not installed or did not start.
    bool start() {
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty() || !home_.isValid())
            return false;
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(10000))
            return false;
        const QByteArray address = daemon_.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        return !address.isEmpty();
    }
    ~PrivateSessionBus() {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            daemon_.waitForFinished();
        }
    }
    QString filePath(const QString& name) const { return home_.filePath(name); }

private:
    QTemporaryDir home_;
    QProcess daemon_;
};
