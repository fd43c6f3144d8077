#pragma once

#include "platform/PictureFile.h"

#include <QString>

// What to tell the user when a picture file could not be saved or opened: the
// file by its full path, what went wrong in plain Swedish and, where it helps,
// what to do about it.
QString saveFailedMessage(const QString& path, PictureFile::Problem problem);
QString openFailedMessage(const QString& path, PictureFile::Problem problem);
