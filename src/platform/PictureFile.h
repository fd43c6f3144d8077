#pragma once

#include <QImage>
#include <QString>

// Reading and writing picture files. Every failure comes back as a message;
// nothing here shows one.
namespace PictureFile {

struct LoadResult {
    QImage image; // Format_RGB32; null on failure
    QString error;
    bool ok() const { return !image.isNull(); }
};

// Writes `image` as a 24-bit Windows BMP, replacing any file of that name only
// once the whole file is written. Returns an empty string on success.
QString saveBmp(const QImage& image, const QString& path);

// Reads a picture file; files that would need absurd amounts of memory are
// refused rather than read.
LoadResult load(const QString& path);

} // namespace PictureFile
