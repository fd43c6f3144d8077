#pragma once

#include <QChar>
#include <QString>

// Where the shape tools keep temp.bmp: the program's folder when it is
// writable and not a system folder, otherwise (an installed program) the
// user's cache folder.
namespace SnapshotFolder {

// `folder` with exactly one trailing separator: a drive root such as "C:\"
// already ends in one.
QString withTrailingSeparator(const QString& folder, QChar separator);

// Whether `folder` is where a package installs programs (/usr/bin, /opt/...).
bool isSystemFolder(const QString& folder);

// The folder to use for a program in `programFolder`, ending in the
// platform's separator; the cache folder is created if needed.
QString forProgramFolder(const QString& programFolder);

// The folder to use for this program.
QString current();

} // namespace SnapshotFolder
