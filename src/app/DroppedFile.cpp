#include "app/DroppedFile.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

std::optional<QString> droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1)
        return std::nullopt;
    // A remote address has no local path, and so is no file here.
    const QString path = urls.first().toLocalFile();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}
