#include "platform/PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStorageInfo>
#include <QtEndian>

#include <cerrno>
#include <limits>
#include <optional>

namespace {

using PictureFile::Problem;

// Enough for any picture a screen can show; a damaged header asking for more
// is refused before anything is allocated.
constexpr int kAllocationLimitMegabytes = 256;

template <typename T> void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof(T));
}

// Written by hand so the file is always 24 bits, bottom-up, the way every
// Windows program reads it.
QByteArray bmpBytes(const QImage& source) {
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
    return out;
}

// The errno values that name a cause on their own, whichever call failed.
Problem problemOfErrno(int error) {
    switch (error) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Problem::DiskFull;
    case EROFS:
        return Problem::ReadOnly;
    case EACCES:
    case EPERM:
        return Problem::NoPermission;
    case ENOENT:
    case ENOTDIR:
        return Problem::FolderMissing;
    case EISDIR:
        return Problem::IsFolder;
    default:
        return Problem::Other;
    }
}

// errno can be stale when Qt refused before calling the system (a folder as
// the name), so what the file system shows now is asked first.
Problem diagnoseSave(const QString& path, int error, qint64 bytesNeeded) {
    const QFileInfo target(path);
    if (target.isDir())
        return Problem::IsFolder;
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return Problem::FolderMissing;
    const Problem fromErrno = problemOfErrno(error);
    if (fromErrno != Problem::Other)
        return fromErrno;
    const QStorageInfo storage(folder.absoluteFilePath());
    if (storage.isValid() && storage.isReadOnly())
        return Problem::ReadOnly;
    if (storage.isValid() && storage.bytesAvailable() >= 0 &&
        storage.bytesAvailable() < bytesNeeded)
        return Problem::DiskFull;
    if (!folder.isWritable() || (target.exists() && !target.isWritable()))
        return Problem::NoPermission;
    return Problem::Other;
}

PictureFile::SaveResult saveFailure(const QString& path, int error, qint64 bytesNeeded,
                                    const QString& detail) {
    return {diagnoseSave(path, error, bytesNeeded), detail};
}

// What a BMP header says. Read here because Qt's reader gives up on headers
// over 16384 x 16384 pixels without telling the size, and reads a file cut
// short without complaint, filling in what is missing.
struct BmpLayout {
    QSize size;
    qint64 minimumLength = 0; // 0 when the pixel data is compressed
};

constexpr int kBmpHeaderPeek = 34;

std::optional<BmpLayout> bmpLayout(const QByteArray& head) {
    if (head.size() < 26 || !head.startsWith("BM"))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
    const quint32 pixelOffset = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes + 14);
    qint64 width = 0;
    qint64 height = 0;
    int bitsPerPixel = 0;
    quint32 compression = 0;
    if (headerSize == 12) { // the old OS/2 header, with 16-bit sizes
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qAbs(qint64(qFromLittleEndian<qint32>(bytes + 22))); // negative: top-down
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
    } else {
        return std::nullopt;
    }
    if (width <= 0 || height <= 0 || height > std::numeric_limits<int>::max())
        return std::nullopt;
    BmpLayout layout;
    layout.size = QSize(int(width), int(height));
    const bool uncompressed = compression == 0 || compression == 3; // plain or bit fields
    if (uncompressed && bitsPerPixel > 0 && bitsPerPixel <= 32) {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        // A last row without its padding is still a whole picture.
        layout.minimumLength =
            pixelOffset + rowBytes * (height - 1) + (width * bitsPerPixel + 7) / 8;
    }
    return layout;
}

bool needsTooMuchMemory(QSize size) {
    // Measured as the Format_RGB32 image the caller gets, whatever the file's
    // own depth.
    return size.width() > 0 && size.height() > 0 &&
           qint64(size.width()) * size.height() * 4 >
               qint64(kAllocationLimitMegabytes) * 1024 * 1024;
}

// Why a file that exists could not be opened for reading.
Problem openProblem(int error) {
    switch (problemOfErrno(error)) {
    case Problem::NoPermission:
        return Problem::NoPermission;
    case Problem::IsFolder:
        return Problem::IsFolder;
    case Problem::FolderMissing: // removed since it was looked at
        return Problem::NotFound;
    default:
        return Problem::Other;
    }
}

PictureFile::LoadResult loadFailure(Problem problem, const QString& detail) {
    return {QImage(), problem, detail};
}

} // namespace

namespace PictureFile {

SaveResult saveBmp(const QImage& image, const QString& path) {
    const QByteArray bytes = bmpBytes(image);
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system inside write():
    // QSaveFile discards its file only when one of its writes failed, not when
    // the final flush does, and would put a file cut short in place.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        return saveFailure(path, error, bytes.size(), file.errorString());
    }
    errno = 0;
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const int error = errno;
        // A disk filling up part way gives a short count and no error from Qt.
        const QString detail =
            file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(error);
        file.cancelWriting();
        return saveFailure(path, error, bytes.size(), detail);
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        return saveFailure(path, error, bytes.size(), file.errorString());
    }
    return {};
}

LoadResult load(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return loadFailure(Problem::IsFolder, qt_error_string(EISDIR));
    if (!info.exists())
        return loadFailure(Problem::NotFound, qt_error_string(ENOENT));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        return loadFailure(openProblem(error), file.errorString());
    }

    const std::optional<BmpLayout> bmp = bmpLayout(file.peek(kBmpHeaderPeek));
    // Qt tries the format the extension names first, then the content, so a
    // picture saved under the wrong extension still opens.
    QImageReader reader(&file);
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    // Qt reports a top-down BMP's height as negative, so the BMP header is
    // read by hand.
    const QSize claimed = bmp ? bmp->size : reader.size();
    if (needsTooMuchMemory(claimed))
        return loadFailure(
            Problem::TooLarge,
            QStringLiteral("%1 x %2 pixels").arg(claimed.width()).arg(claimed.height()));
    if (bmp && file.size() < bmp->minimumLength)
        return loadFailure(
            Problem::Damaged,
            QStringLiteral("%1 of %2 bytes").arg(file.size()).arg(bmp->minimumLength));

    const QImage image = reader.read();
    if (image.isNull()) {
        switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            return loadFailure(Problem::NotAPicture, reader.errorString());
        case QImageReader::DeviceError:
            return loadFailure(Problem::Other, reader.errorString());
        default:
            return loadFailure(Problem::Damaged, reader.errorString());
        }
    }
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        return loadFailure(Problem::TooLarge, QStringLiteral("out of memory"));
    return {converted, Problem::None, QString()};
}

} // namespace PictureFile
