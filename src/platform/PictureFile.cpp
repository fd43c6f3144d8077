#include "platform/PictureFile.h"

#include "platform/ReplaceFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
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

bool needsTooMuchMemory(QSize size) {
    // Measured as the Format_RGB32 image the caller gets, whatever the file's
    // own depth. Sides up to 2^31 multiply without overflow in 64 bits; the
    // four bytes a pixel are divided out of the limit instead.
    return size.width() > 0 && size.height() > 0 &&
           qint64(size.width()) * size.height() >
               qint64(kAllocationLimitMegabytes) * 1024 * 1024 / 4;
}

// What a BMP header says. Read here because Qt's reader gives up on headers
// over 16384 x 16384 pixels without telling the size, and reads a file cut
// short without complaint, leaving what is missing as whatever the memory held.
struct BmpLayout {
    QSize size;
    // Both 0 when the pixel data is compressed or the size is refused anyway.
    qint64 minimumLength = 0; // the last row without its padding
    qint64 paddedLength = 0;  // every row whole, as Qt's reader wants it
    // Not a BMP at all: run lengths are stored bottom-up only. Qt reads them
    // anyway, then turns the picture over row by row, which for a file of a
    // few bytes claiming millions of rows takes seconds.
    bool topDownRunLength = false;
};

constexpr int kBmpHeaderPeek = 50;

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
    quint32 coloursUsed = 0;
    bool topDown = false;
    if (headerSize == 12) { // the old OS/2 header, with 16-bit sizes
        width = qFromLittleEndian<quint16>(bytes + 18);
        height = qFromLittleEndian<quint16>(bytes + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        width = qFromLittleEndian<qint32>(bytes + 18);
        height = qFromLittleEndian<qint32>(bytes + 22);
        bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
        compression = qFromLittleEndian<quint32>(bytes + 30);
        topDown = height < 0;
        height = qAbs(height);
        if (head.size() >= 50)
            coloursUsed = qFromLittleEndian<quint32>(bytes + 46);
    } else {
        return std::nullopt;
    }
    if (width <= 0 || height <= 0 || height > std::numeric_limits<int>::max())
        return std::nullopt;
    BmpLayout layout;
    layout.size = QSize(int(width), int(height));
    layout.topDownRunLength = topDown && (compression == 1 || compression == 2);
    if (needsTooMuchMemory(layout.size))
        return layout; // refused on its size alone, and its lengths could overflow
    const bool uncompressed = compression == 0 || compression == 3; // plain or bit fields
    if (uncompressed && bitsPerPixel > 0 && bitsPerPixel <= 32) {
        // The palette, or the masks after a short header, come before the
        // pixels whatever the pixel offset says; an offset further on is
        // followed.
        qint64 tables = 0;
        if (bitsPerPixel <= 8)
            tables = (headerSize == 12 ? 3 : 4) *
                     (coloursUsed ? qint64(coloursUsed) : qint64(1) << bitsPerPixel);
        else if (compression == 3 && headerSize < 108)
            tables = 12;
        const qint64 pixels = std::max(qint64(pixelOffset), 14 + qint64(headerSize) + tables);
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        layout.minimumLength = pixels + rowBytes * (height - 1) + (width * bitsPerPixel + 7) / 8;
        layout.paddedLength = pixels + rowBytes * height;
    }
    return layout;
}

// A picture cleared to zero by the system itself: a large one costs nothing
// until its rows are written, where filling it would touch every page.
QImage clearedImage(QSize size, QImage::Format format) {
    const qsizetype bytesPerLine =
        (qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    void* memory = std::calloc(size_t(bytesPerLine) * size_t(size.height()), 1);
    if (!memory)
        return QImage();
    return QImage(static_cast<uchar*>(memory), size.width(), size.height(), bytesPerLine, format,
                  std::free, memory);
}

// Qt gives a top-down BMP's height as negative.
QSize withoutSign(QSize size) {
    const auto side = [](int length) {
        return length == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                         : qAbs(length);
    };
    return QSize(side(size.width()), side(size.height()));
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
    PictureFile::LoadResult result;
    result.problem = problem;
    result.detail = detail;
    return result;
}

PictureFile::LoadResult tooLarge(QSize size) {
    return loadFailure(Problem::TooLarge,
                       QStringLiteral("%1 x %2 pixels").arg(size.width()).arg(size.height()));
}

} // namespace

namespace PictureFile {

bool tooLargeToHold(QSize size) {
    return needsTooMuchMemory(size);
}

namespace {

// Whole or not at all, like the synced save, but left to the file system's
// own time to reach the disk.
SaveResult saveUnsynced(const QByteArray& bytes, const QString& path) {
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!file.open()) {
        const int error = errno;
        return saveFailure(path, error, bytes.size(), file.errorString());
    }
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        return saveFailure(path, error, bytes.size(), file.errorString());
    }
    file.close();
    // ext4 writes a file out at once when a rename replaces another, to
    // protect programs that never sync: a millisecond or two each time.
    // With the old file gone first the rename replaces nothing; meanwhile a
    // reader finds no file or a whole one, never a part.
    QFile::remove(path);
    QString detail;
    if (!replaceFile(file.fileName(), path, detail))
        return saveFailure(path, errno, bytes.size(), detail);
    file.setAutoRemove(false);
    return {};
}

} // namespace

QImage decodePlainBmp(const QByteArray& file) {
    constexpr int kHeaderBytes = 54;
    if (file.size() < kHeaderBytes || !file.startsWith("BM"))
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    const quint32 offset = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    const qint32 width = qFromLittleEndian<qint32>(bytes + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 22);
    const quint16 bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 30);
    if (infoSize != 40 || bitsPerPixel != 24 || compression != 0 || width <= 0 || height <= 0 ||
        width > 4096 || height > 4096)
        return {};
    const qint64 stride = (qint64(width) * 3 + 3) & ~qint64(3);
    if (offset < kHeaderBytes || qint64(offset) + stride * height > file.size())
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        const uchar* source = bytes + offset + stride * (height - 1 - y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

LoadResult readBack(const QString& path) {
    QFile file(path);
    // A file of ours is a header and 606 KB of pixels; anything far larger
    // is not, and takes the careful road.
    constexpr qint64 kOurLargest = 54 + qint64(4096) * 3 * 4096;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kOurLargest) {
        const QImage plain = decodePlainBmp(file.readAll());
        if (!plain.isNull()) {
            LoadResult result;
            result.image = plain;
            result.format = "bmp";
            return result;
        }
    }
    return load(path);
}

SaveResult saveBmp(const QImage& image, const QString& path, Durability durability) {
    const QByteArray bytes = bmpBytes(image);
    if (durability == Durability::Unsynced)
        return saveUnsynced(bytes, path);
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

LoadResult load(const QString& path, QSize shown) {
    const QFileInfo info(path);
    if (info.isDir())
        return loadFailure(Problem::IsFolder, qt_error_string(EISDIR));
    if (!info.exists())
        return loadFailure(Problem::NotFound, qt_error_string(ENOENT));
    // Opening a named pipe waits until someone writes to it, and a device
    // can give bytes without end.
    if (!info.isFile())
        return loadFailure(Problem::NotAPicture, QStringLiteral("not a plain file"));
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        return loadFailure(openProblem(error), file.errorString());
    }

    return read(file, shown);
}

LoadResult read(QIODevice& device, QSize shown) {
    const std::optional<BmpLayout> bmp = bmpLayout(device.peek(kBmpHeaderPeek));
    if (bmp && needsTooMuchMemory(bmp->size))
        return tooLarge(bmp->size);
    if (bmp && bmp->topDownRunLength)
        return loadFailure(Problem::Damaged, QStringLiteral("run lengths in a top-down picture"));
    if (bmp && device.size() < bmp->minimumLength)
        return loadFailure(
            Problem::Damaged,
            QStringLiteral("%1 of %2 bytes").arg(device.size()).arg(bmp->minimumLength));
    // A last row without its padding is still a whole picture, but Qt's
    // reader drops a row it cannot read whole, so the padding is put back.
    QByteArray completedBytes;
    QBuffer completed(&completedBytes);
    QIODevice* source = &device;
    if (bmp && device.size() < bmp->paddedLength) {
        completedBytes = device.readAll();
        completedBytes.append(QByteArray(bmp->paddedLength - completedBytes.size(), '\0'));
        completed.open(QIODevice::ReadOnly);
        source = &completed;
    }

    // Qt tries the format a file's extension names first, then the content,
    // so a picture saved under the wrong extension still opens.
    QImageReader reader(source);
    reader.setAllocationLimit(kAllocationLimitMegabytes);
    // What Qt will allocate goes by its own reading of the header, which can
    // differ from ours when the header lies about its own size.
    const QSize allocated = withoutSign(reader.size());
    if (needsTooMuchMemory(allocated))
        return tooLarge(allocated);
    // Qt leaves the pixels a BMP does not give (skipped by a run-length jump,
    // or never reached) as whatever the memory held. Read into a cleared
    // picture of the size and format Qt would make, they take the first
    // palette colour, or black, on every reading alike.
    QImage image;
    const QImage::Format format = reader.imageFormat();
    // Asked before reading: once done, the reader no longer names it.
    const QByteArray fileFormat = reader.format();
    if (fileFormat == "bmp" && !allocated.isEmpty() && format != QImage::Format_Invalid)
        image = clearedImage(allocated, format);
    if (!reader.read(&image)) {
        switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            return loadFailure(Problem::NotAPicture, reader.errorString());
        case QImageReader::DeviceError:
            return loadFailure(Problem::Other, reader.errorString());
        default:
            return loadFailure(Problem::Damaged, reader.errorString());
        }
    }
    // Whatever size the reader settled on, the conversion stays within the limit.
    if (needsTooMuchMemory(image.size()))
        return tooLarge(image.size());
    LoadResult result;
    result.format = fileFormat;
    if (shown.isValid() && !QRect(QPoint(0, 0), shown).contains(image.rect())) {
        result.whole = image;
        image = image.copy(QRect(QPoint(0, 0), shown) & image.rect());
    }
    result.image = image.convertToFormat(QImage::Format_RGB32);
    if (result.image.isNull())
        return loadFailure(Problem::TooLarge, QStringLiteral("out of memory"));
    return result;
}

} // namespace PictureFile
