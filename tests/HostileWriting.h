#pragma once

#include "HostilePictures.h"

#include <QByteArray>
#include <QRgb>

#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

// How the hostile pictures are written, shared by the BMPs
// (HostilePictures.cpp) and the icons (HostileIcons.cpp).
namespace HostilePictures {

constexpr qint32 kIntMax = std::numeric_limits<qint32>::max();
constexpr qint32 kIntMin = std::numeric_limits<qint32>::min();
constexpr int kFileHeader = 14;

// Everything a BMP says about itself. Each field is written as set, so it can
// lie; the header's length on disk (`headerLength`) is kept apart from the
// size it claims (`headerSize`).
struct Bmp {
    QByteArray magic = "BM";
    std::optional<quint32> fileSize;    // unset: the real length
    std::optional<quint32> pixelOffset; // unset: just after the table
    int headerLength = 40;              // 12 writes the old OS/2 header with 16-bit fields
    quint32 headerSize = 40;
    qint32 width = 0;
    qint32 height = 0; // negative: top-down
    quint16 planes = 1;
    quint16 bits = 24;
    quint32 compression = 0;
    std::optional<quint32> imageSize;
    quint32 coloursUsed = 0;
    quint32 masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha: in headers of 108 bytes and more
    quint32 profileData = 0;
    quint32 profileSize = 0;
    QByteArray table; // palette, or the masks after a 40-byte header
    QByteArray pixels;
};

// One lie, told by changing what a BMP says.
using BmpEdit = std::function<void(Bmp&)>;

QByteArray le16(quint16 value);
QByteArray le32(quint32 value);
QByteArray bytesOf(std::initializer_list<int> values);

// The bitmap as an icon keeps it: no file header.
QByteArray dib(const Bmp& bmp);
QByteArray bmpFile(const Bmp& bmp);
// Where the pixels and the end would be if nothing lied.
quint32 honestOffset(const Bmp& bmp);
quint32 honestLength(const Bmp& bmp);

// The honest pictures every lie starts from: five by three pixels, a column
// and row pattern so a misread shows.
constexpr int kWidth = 5;
constexpr int kHeight = 3;

QRgb colourAt(int x, int y);
// Palette entries of 4 bytes, or of 3 as the old OS/2 header keeps them.
QByteArray palette(int colours, int entryBytes = 4);
QByteArray padded(QByteArray row);
// Rows bottom-up unless `topDown`, each padded to four bytes.
QByteArray rows(const std::function<QByteArray(int y)>& row, bool topDown = false);
QByteArray indexRows(int bits, int colours);
QByteArray colourRows(int bytesPerPixel, bool topDown = false);
QByteArray rows565();
QByteArray rows555();
// Bottom row one run, the others written out, then end of bitmap.
QByteArray honestRle8();
QByteArray honestRle4();
Bmp plain(int bits, QByteArray table, QByteArray pixels, quint32 compression = 0);
Bmp withHeader(Bmp bmp, int length);
// Masks go into a header of 108 bytes or more, else after the header.
void setMasks(Bmp& bmp, quint32 red, quint32 green, quint32 blue, quint32 alpha);

void add(std::vector<Sample>& out, const QString& name, const QByteArray& bytes);
// Every length from nothing to a few bytes past the headers, so each header
// field is cut in turn, then one cut inside the tables and one just before
// the end.
void addCuts(std::vector<Sample>& out, const QString& name, const QByteArray& bytes, int headersEnd,
             int tablesEnd, const QString& suffix);

// The icon files, honest and lying (HostileIcons.cpp).
void addIcons(std::vector<Sample>& out);

} // namespace HostilePictures
