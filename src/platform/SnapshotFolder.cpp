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

QString forProgramFolder(const QString& programFolder) {
    QString folder = programFolder;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir().mkpath(folder);
    }
    return withTrailingSeparator(QDir::toNativeSeparators(folder), QDir::separator());
}

QString current() {
    return forProgramFolder(QCoreApplication::applicationDirPath());
}

} // namespace SnapshotFolder
