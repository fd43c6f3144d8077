#pragma once

#include <QString>

// Puts the file `from` in the place of `to` in one step, replacing any file
// there: a reader sees the old file or the new one, never a part of either.
// Both lie in the same folder. Nothing is forced to disk. False, with the
// system's words in `detail`, when the system refused.
bool replaceFile(const QString& from, const QString& to, QString& detail);
