#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// The bytes of a recovery copy: a picture and its document name. A short
// header says what the file is; the rest is one LZ4 frame with a checksum
// over everything it holds, so a copy damaged on disk reads as nothing
// rather than as a wrong picture or a wrong name.
namespace RecoveryCopy {

struct Picture {
    QImage image; // Format_RGB32
    QString name;
};

QByteArray encode(const QImage& image, const QString& name);

// Nothing unless `bytes` are a whole copy this version of the program wrote.
std::optional<Picture> decode(const QByteArray& bytes);

} // namespace RecoveryCopy
