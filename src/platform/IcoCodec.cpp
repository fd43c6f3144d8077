#include "platform/IcoCodec.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace {

constexpr int kMaxImages = 64;
constexpr int kMaxSide = 256;
constexpr qint64 kMaxFileSize = qint64(4) * 1024 * 1024;

// Reads little-endian values with bounds checks; any read past the end marks
// the reader failed and returns 0.
class Reader {
public:
    Reader(const QByteArray& data, qint64 offset = 0) : data_(data), position_(offset) {}
    template <typename T> T take() {
        if (position_ < 0 || position_ + qint64(sizeof(T)) > data_.size()) {
            failed_ = true;
            return 0;
        }
        T value;
        std::memcpy(&value, data_.constData() + position_, sizeof(T));
        position_ += sizeof(T);
        return qFromLittleEndian(value);
    }
    bool failed() const { return failed_; }

private:
    const QByteArray& data_;
    qint64 position_;
    bool failed_ = false;
};

struct Entry {
    int width;
    int height;
    quint32 size;
    quint32 offset;
};

QString readBitmapImage(const QByteArray& data, const Entry& entry, Icon& out) {
    Reader header(data, entry.offset);
    const quint32 headerSize = header.take<quint32>();
    const qint32 width = header.take<qint32>();
    const qint32 doubledHeight = header.take<qint32>();
    const quint16 planes = header.take<quint16>();
    const quint16 bitCount = header.take<quint16>();
    const quint32 compression = header.take<quint32>();
    header.take<quint32>(); // image size
    header.take<qint32>();
    header.take<qint32>();
    const quint32 coloursUsed = header.take<quint32>();
    if (header.failed() || headerSize < 40 || headerSize > 1024)
        return QStringLiteral("an icon image has a damaged header");
    if (width <= 0 || width > kMaxSide || doubledHeight <= 0 || doubledHeight % 2 != 0 ||
        doubledHeight / 2 > kMaxSide)
        return QStringLiteral("an icon image has an impossible size");
    if (planes != 1 || compression != 0)
        return QStringLiteral("an icon image is compressed or has several planes");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return QStringLiteral("an icon image has %1 bits a pixel").arg(bitCount);
    const int height = doubledHeight / 2;
    const qint64 paletteSize =
        bitCount <= 8 ? (coloursUsed ? qint64(coloursUsed) : (qint64(1) << bitCount)) : 0;
    if (paletteSize > 256)
        return QStringLiteral("an icon image has a damaged palette");
    const qint64 colourStride = ((qint64(width) * bitCount + 31) / 32) * 4;
    const qint64 maskStride = ((qint64(width) + 31) / 32) * 4;
    const qint64 paletteOffset = qint64(entry.offset) + headerSize;
    const qint64 colourOffset = paletteOffset + paletteSize * 4;
    const qint64 maskOffset = colourOffset + colourStride * height;
    const qint64 end = maskOffset + maskStride * height;
    // 32-bit images may leave the mask out and rely on alpha alone.
    const bool hasMask = end <= data.size();
    if (maskOffset > data.size() || (!hasMask && bitCount != 32))
        return QStringLiteral("an icon image is cut short");

    std::vector<QRgb> palette(static_cast<size_t>(paletteSize));
    for (qint64 i = 0; i < paletteSize; ++i) {
        const auto* p = reinterpret_cast<const uchar*>(data.constData() + paletteOffset + i * 4);
        palette[static_cast<size_t>(i)] = qRgb(p[2], p[1], p[0]);
    }
    // A short palette leaves some indexes without a colour: they read as black.
    auto paletteColour = [&palette](int index) {
        return index < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(index)]
                                                        : qRgb(0, 0, 0);
    };
    QImage colour(width, height, QImage::Format_RGB32);
    QImage mask(width, height, QImage::Format_Grayscale8);
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < height; ++y) {
        const uchar* row = bytes + colourOffset + colourStride * (height - 1 - y);
        const uchar* maskRow =
            hasMask ? bytes + maskOffset + maskStride * (height - 1 - y) : nullptr;
        auto* out = reinterpret_cast<QRgb*>(colour.scanLine(y));
        uchar* maskOut = mask.scanLine(y);
        for (int x = 0; x < width; ++x) {
            QRgb value = 0;
            bool transparentByAlpha = false;
            switch (bitCount) {
            case 1:
                value = paletteColour((row[x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                value = paletteColour((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xf);
                break;
            case 8:
                value = paletteColour(row[x]);
                break;
            case 24: {
                const uchar* pixel = row + qsizetype(x) * 3;
                value = qRgb(pixel[2], pixel[1], pixel[0]);
                break;
            }
            default: {
                const uchar* pixel = row + qsizetype(x) * 4;
                value = qRgb(pixel[2], pixel[1], pixel[0]);
                transparentByAlpha = pixel[3] == 0;
            }
            }
            const bool maskBit = maskRow ? (maskRow[x / 8] >> (7 - x % 8)) & 1 : transparentByAlpha;
            out[x] = value | 0xff000000u;
            maskOut[x] = maskBit ? 255 : 0;
        }
    }
    out = Icon(colour, mask);
    return QString();
}

QRgb nearest(QRgb colour, int& index) {
    const auto& palette = IcoCodec::windowsPalette();
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 16; ++i) {
        const int dr = qRed(colour) - qRed(palette[i]);
        const int dg = qGreen(colour) - qGreen(palette[i]);
        const int db = qBlue(colour) - qBlue(palette[i]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    index = best;
    return palette[best];
}

template <typename T> void put(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof(T));
}

} // namespace

namespace IcoCodec {

const std::array<QRgb, 16>& windowsPalette() {
    static const std::array<QRgb, 16> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return palette;
}

ReadResult read(const QByteArray& data) {
    if (data.size() > kMaxFileSize)
        return {{}, QStringLiteral("the icon file is too large")};
    Reader directory(data);
    const quint16 reserved = directory.take<quint16>();
    const quint16 type = directory.take<quint16>();
    const quint16 count = directory.take<quint16>();
    if (directory.failed() || reserved != 0 || type != 1)
        return {{}, QStringLiteral("this is not an icon file")};
    if (count == 0 || count > kMaxImages)
        return {{}, QStringLiteral("the icon file holds %1 images").arg(count)};
    ReadResult result;
    for (int i = 0; i < count; ++i) {
        Entry entry{};
        entry.width = directory.take<quint8>();
        entry.height = directory.take<quint8>();
        directory.take<quint8>();  // colour count
        directory.take<quint8>();  // reserved
        directory.take<quint16>(); // planes
        directory.take<quint16>(); // bits a pixel
        entry.size = directory.take<quint32>();
        entry.offset = directory.take<quint32>();
        if (directory.failed())
            return {{}, QStringLiteral("the icon file's directory is cut short")};
        if (qint64(entry.offset) + entry.size > data.size() || entry.size < 40)
            return {{}, QStringLiteral("an icon image lies outside the file")};
        if (data.mid(entry.offset, 4) == QByteArray("\x89PNG", 4))
            return {{}, QStringLiteral("icon images stored as PNG are not supported")};
        Icon icon;
        if (const QString error = readBitmapImage(data, entry, icon); !error.isEmpty())
            return {{}, error};
        result.images.push_back(icon);
    }
    return result;
}

ReadResult readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    if (file.size() > kMaxFileSize)
        return {{}, QStringLiteral("the icon file is too large")};
    return read(file.readAll());
}

QByteArray write(const std::vector<Icon>& images) {
    QByteArray out;
    put<quint16>(out, 0);
    put<quint16>(out, 1);
    put<quint16>(out, static_cast<quint16>(images.size()));
    std::vector<QByteArray> bodies;
    for (const Icon& icon : images) {
        const int width = icon.width();
        const int height = icon.height();
        const int colourStride = ((width * 4 + 31) / 32) * 4;
        const int maskStride = ((width + 31) / 32) * 4;
        QByteArray body;
        put<quint32>(body, 40);
        put<qint32>(body, width);
        put<qint32>(body, height * 2);
        put<quint16>(body, 1);
        put<quint16>(body, 4);
        put<quint32>(body, 0);
        put<quint32>(body, static_cast<quint32>((colourStride + maskStride) * height));
        put<qint32>(body, 0);
        put<qint32>(body, 0);
        put<quint32>(body, 0);
        put<quint32>(body, 0);
        for (QRgb colour : windowsPalette()) {
            body.append(static_cast<char>(qBlue(colour)));
            body.append(static_cast<char>(qGreen(colour)));
            body.append(static_cast<char>(qRed(colour)));
            body.append('\0');
        }
        for (int y = height - 1; y >= 0; --y) {
            QByteArray row(colourStride, '\0');
            for (int x = 0; x < width; ++x) {
                int index = 0;
                nearest(icon.colourAt(x, y), index);
                row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 ? index : index << 4));
            }
            body.append(row);
        }
        for (int y = height - 1; y >= 0; --y) {
            QByteArray row(maskStride, '\0');
            for (int x = 0; x < width; ++x)
                if (icon.maskBit(x, y))
                    row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            body.append(row);
        }
        bodies.push_back(body);
    }
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.append(static_cast<char>(images[i].width() >= 256 ? 0 : images[i].width()));
        out.append(static_cast<char>(images[i].height() >= 256 ? 0 : images[i].height()));
        out.append(static_cast<char>(16));
        out.append('\0');
        put<quint16>(out, 1);
        put<quint16>(out, 4);
        put<quint32>(out, static_cast<quint32>(bodies[i].size()));
        put<quint32>(out, offset);
        offset += static_cast<quint32>(bodies[i].size());
    }
    for (const QByteArray& body : bodies)
        out.append(body);
    return out;
}

QString writeFile(const QString& path, const std::vector<Icon>& images) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QByteArray bytes = write(images);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return QString();
}

} // namespace IcoCodec
