#pragma once

#include <QString>

#include <optional>

class QMimeData;

// The picture a drag brings: its one local file, when that is all it carries.
// Several files, a folder, a remote address or plain text are nothing to open.
std::optional<QString> droppedFile(const QMimeData* data);
