#include "HostileWriting.h"

#include <QtEndian>

namespace HostilePictures {

QByteArray le16(quint16 value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

namespace {

QByteArray infoHeader(const Bmp& bmp) {
    if (bmp.headerLength == 12)
        return le32(bmp.headerSize) + le16(quint16(bmp.width)) + le16(quint16(bmp.height)) +
               le16(bmp.planes) + le16(bmp.bits);
    QByteArray info = le32(bmp.headerSize) + le32(quint32(bmp.width)) + le32(quint32(bmp.height)) +
                      le16(bmp.planes) + le16(bmp.bits) + le32(bmp.compression) +
                      le32(bmp.imageSize.value_or(quint32(bmp.pixels.size()))) + le32(3780) +
                      le32(3780) + le32(bmp.coloursUsed) + le32(0);
    for (quint32 mask : bmp.masks)
        info += le32(mask);
    info += le32(0x73524742);       // "sRGB"
    info += QByteArray(36 + 12, 0); // colour end points and gammas, unused with sRGB
    info += le32(4) + le32(bmp.profileData) + le32(bmp.profileSize) + le32(0);
    info = info.left(bmp.headerLength);
    info += QByteArray(bmp.headerLength - info.size(), '\0');
    return info;
}

} // namespace

QByteArray dib(const Bmp& bmp) {
    return infoHeader(bmp) + bmp.table + bmp.pixels;
}

quint32 honestOffset(const Bmp& bmp) {
    return quint32(kFileHeader + bmp.headerLength + bmp.table.size());
}

quint32 honestLength(const Bmp& bmp) {
    return honestOffset(bmp) + quint32(bmp.pixels.size());
}

QByteArray bmpFile(const Bmp& bmp) {
    return bmp.magic + le32(bmp.fileSize.value_or(honestLength(bmp))) + le32(0) +
           le32(bmp.pixelOffset.value_or(honestOffset(bmp))) + dib(bmp);
}

int indexAt(int x, int y, int colours) {
    return (x + 2 * y) % colours;
}

QRgb colourAt(int x, int y) {
    return qRgb(40 * x + 30, 90 * y + 20, 255 - 40 * x);
}

QByteArray palette(int colours, int entryBytes) {
    QByteArray bytes;
    for (int i = 0; i < colours; ++i) {
        bytes += char(30 * i);
        bytes += char(255 - 60 * i);
        bytes += char(90 * i + 10);
        if (entryBytes == 4)
            bytes += '\0';
    }
    return bytes;
}

QByteArray padded(QByteArray row) {
    while (row.size() % 4)
        row += '\0';
    return row;
}

QByteArray rows(const std::function<QByteArray(int y)>& row, bool topDown) {
    QByteArray bytes;
    for (int i = 0; i < kHeight; ++i)
        bytes += padded(row(topDown ? i : kHeight - 1 - i));
    return bytes;
}

QByteArray indexRows(int bits, int colours) {
    return rows([&](int y) {
        QByteArray row((kWidth * bits + 7) / 8, '\0');
        for (int x = 0; x < kWidth; ++x) {
            const int shift = 8 - bits - (x * bits) % 8;
            row[x * bits / 8] = char(row[x * bits / 8] | indexAt(x, y, colours) << shift);
        }
        return row;
    });
}

QByteArray colourRows(int bytesPerPixel, bool topDown) {
    return rows(
        [&](int y) {
            QByteArray row;
            for (int x = 0; x < kWidth; ++x) {
                const QRgb c = colourAt(x, y);
                row += char(qBlue(c));
                row += char(qGreen(c));
                row += char(qRed(c));
                if (bytesPerPixel == 4)
                    row += char(0xff);
            }
            return row;
        },
        topDown);
}

QByteArray rows565() {
    return rows([](int y) {
        QByteArray row;
        for (int x = 0; x < kWidth; ++x) {
            const QRgb c = colourAt(x, y);
            row += le16(quint16((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3));
        }
        return row;
    });
}

QByteArray rows555() {
    return rows([](int y) {
        QByteArray row;
        for (int x = 0; x < kWidth; ++x) {
            const QRgb c = colourAt(x, y);
            row += le16(quint16((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3));
        }
        return row;
    });
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int value : values)
        bytes += char(value);
    return bytes;
}

QByteArray honestRle8() {
    return bytesOf({5, 1, 0, 0, 0, 5, 2, 0, 1, 2, 0, 0, 0, 0, 0, 3, 0, 1, 2, 2, 1, 0, 0, 1});
}

QByteArray honestRle4() {
    return bytesOf(
        {5, 0x12, 0, 0, 0, 5, 0x20, 0x12, 0x00, 0, 0, 0, 0, 5, 0x01, 0x20, 0x10, 0, 0, 0, 0, 1});
}

Bmp plain(int bits, QByteArray table, QByteArray pixels, quint32 compression) {
    Bmp bmp;
    bmp.width = kWidth;
    bmp.height = kHeight;
    bmp.bits = quint16(bits);
    bmp.compression = compression;
    bmp.table = std::move(table);
    bmp.pixels = std::move(pixels);
    return bmp;
}

Bmp withHeader(Bmp bmp, int length) {
    bmp.headerLength = length;
    bmp.headerSize = quint32(length);
    return bmp;
}

void setMasks(Bmp& bmp, quint32 red, quint32 green, quint32 blue, quint32 alpha) {
    if (bmp.headerLength >= 108) {
        bmp.masks[0] = red;
        bmp.masks[1] = green;
        bmp.masks[2] = blue;
        bmp.masks[3] = alpha;
    } else {
        bmp.table = le32(red) + le32(green) + le32(blue);
        if (bmp.compression == 6)
            bmp.table += le32(alpha);
    }
}

void add(std::vector<Sample>& out, const QString& name, const QByteArray& bytes) {
    out.push_back({name, bytes});
}

void addCuts(std::vector<Sample>& out, const QString& name, const QByteArray& bytes, int headersEnd,
             int tablesEnd, const QString& suffix) {
    std::vector<int> lengths;
    for (int length = 0; length <= headersEnd + 8 && length < bytes.size(); ++length)
        lengths.push_back(length);
    for (int length : {(headersEnd + tablesEnd) / 2, tablesEnd + 1, int(bytes.size()) - 1})
        if (length > lengths.back() && length < bytes.size())
            lengths.push_back(length);
    for (int length : lengths)
        add(out, QString("%1-cut-at-%2%3").arg(name).arg(length, 4, 10, QChar('0')).arg(suffix),
            bytes.left(length));
}

} // namespace HostilePictures
