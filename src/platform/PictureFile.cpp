#include "platform/PictureFile.h"

#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

namespace {

// Enough for any picture a screen can show; a damaged header asking for more
// is refused before anything is allocated.
constexpr int kAllocationLimitMegabytes = 256;

template <typename T> void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof(T));
}

} // namespace

namespace PictureFile {

QString saveBmp(const QImage& source, const QString& path) {
    // Written by hand so the file is always 24 bits, bottom-up, the way every
    // Windows program reads it.
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const int rowBytes = (width * 3 + 3) & ~3;
    const quint32 pixelBytes = static_cast<quint32>(rowBytes) * static_cast<quint32>(height);
    QByteArray out;
    out.reserve(54 + static_cast<int>(pixelBytes));
    out.append("BM", 2);
    put<quint32>(out, 54 + pixelBytes);
    put<quint32>(out, 0);
    put<quint32>(out, 54);
    put<quint32>(out, 40);
    put<qint32>(out, width);
    put<qint32>(out, height);
    put<quint16>(out, 1);
    put<quint16>(out, 24);
    put<quint32>(out, 0); // no compression
    put<quint32>(out, pixelBytes);
    put<qint32>(out, 3780); // 96 dots per inch
    put<qint32>(out, 3780);
    put<quint32>(out, 0);
    put<quint32>(out, 0);
    QByteArray row(rowBytes, '\0');
    for (int y = height - 1; y >= 0; --y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* p = row.data();
        for (int x = 0; x < width; ++x) {
            *p++ = static_cast<char>(qBlue(pixels[x]));
            *p++ = static_cast<char>(qGreen(pixels[x]));
            *p++ = static_cast<char>(qRed(pixels[x]));
        }
        out.append(row);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(out) != out.size())
        return file.errorString();
    if (!file.commit())
        return file.errorString();
    return QString();
}

LoadResult load(const QString& path) {
    QImageReader reader(path);
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    QImage image = reader.read();
    if (image.isNull())
        return {QImage(), reader.errorString()};
    return {image.convertToFormat(QImage::Format_RGB32), QString()};
}

} // namespace PictureFile
