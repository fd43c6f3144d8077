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

QString current() {
    QString folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo(folder).isWritable()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QDir().mkpath(folder);
    }
    return withTrailingSeparator(QDir::toNativeSeparators(folder), QDir::separator());
}

} // namespace SnapshotFolder
