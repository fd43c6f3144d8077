#include "platform/SnapshotFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace SnapshotFolder {

QString withTrailingSeparator(const QString& folder, QChar separator) {
    if (folder.endsWith(separator))
        return folder;
    return folder + separator;
}

bool isSystemFolder(const QString& folder) {
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    for (const char* system : {"/usr", "/bin", "/sbin", "/opt"}) {
        const QString prefix = QString::fromLatin1(system);
        if (path == prefix || path.startsWith(prefix + QLatin1Char('/')))
            return true;
    }
    return false;
}

QString forProgramFolder(const QString& programFolder) {
    QString folder = programFolder;
    const QFileInfo info(folder);
    // Root can write anywhere, but an installed program must not leave files
    // among the system's, where removing the package would not find them.
    if (!info.isDir() || !info.isWritable() || isSystemFolder(folder)) {
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir().mkpath(folder);
    }
    return withTrailingSeparator(QDir::toNativeSeparators(folder), QDir::separator());
}

QString current() {
    return forProgramFolder(QCoreApplication::applicationDirPath());
}

} // namespace SnapshotFolder
