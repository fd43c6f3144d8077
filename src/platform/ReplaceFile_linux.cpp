#include "platform/ReplaceFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool replaceFile(const QString& from, const QString& to, QString& detail) {
    // rename() replaces the target atomically; Qt's own rename refuses an
    // existing target.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    detail = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}
