#include "RealFaults.h"
#include "document/FileMessages.h"
#include "platform/PictureFile.h"

#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include <algorithm>
#include <set>

using PictureFile::Problem;

namespace PictureFile {
// Lets QCOMPARE name the problems when they differ.
char* toString(Problem problem) {
    static const char* const names[] = {"None",     "FolderMissing", "IsFolder", "DiskFull",
                                        "ReadOnly", "NoPermission",  "NotFound", "NotAPicture",
                                        "Damaged",  "TooLarge",      "Other"};
    return qstrdup(names[int(problem)]);
}
} // namespace PictureFile

namespace {

const QRgb ink = qRgb(0x12, 0x34, 0x56);
const QRgb paper = qRgb(0xfe, 0xdc, 0xba);
const QRgb leaf = qRgb(0x20, 0xa0, 0x40);

QByteArray le16(int value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(quint16(value), bytes.data());
    return bytes;
}

QByteArray le32(qint64 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(quint32(value), bytes.data());
    return bytes;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file and folder below `dir`, to see that a failed save left nothing behind.
QStringList listing(const QString& dir) {
    QStringList names;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(dir).relativeFilePath(it.next());
    names.sort();
    return names;
}

// A command run when the test ends, however it ends: a failing QVERIFY
// returns from the middle of the test.
class Afterwards {
public:
    Afterwards(const QString& program, const QStringList& arguments)
        : program_(program), arguments_(arguments) {}
    ~Afterwards() { run(program_, arguments_); }
    Afterwards(const Afterwards&) = delete;
    Afterwards& operator=(const Afterwards&) = delete;

private:
    QString program_;
    QStringList arguments_;
};

QImage picture(const QList<QList<QRgb>>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x]);
    return image;
}

QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 37 & 255, y * 59 & 255, (x + y) * 11 & 255));
    return image;
}

QImage pictureOfIndices(const QList<QList<int>>& rows, const QList<QRgb>& palette) {
    QList<QList<QRgb>> colours;
    for (const QList<int>& row : rows) {
        colours.append(QList<QRgb>());
        for (int index : row)
            colours.back().append(palette[index]);
    }
    return picture(colours);
}

// Palette entries as a BMP keeps them: blue, green, red and, except in the
// OS/2 header, a spare byte.
QByteArray paletteBytes(const QList<QRgb>& colours, int entryBytes = 4) {
    QByteArray bytes;
    for (QRgb colour : colours) {
        bytes += char(qBlue(colour));
        bytes += char(qGreen(colour));
        bytes += char(qRed(colour));
        if (entryBytes == 4)
            bytes += '\0';
    }
    return bytes;
}

// Rows padded to four bytes, bottom row first unless `topDown`.
QByteArray bmpRows(QList<QByteArray> rows, bool topDown = false) {
    if (!topDown)
        std::reverse(rows.begin(), rows.end());
    QByteArray bytes;
    for (QByteArray row : rows) {
        while (row.size() % 4)
            row += '\0';
        bytes += row;
    }
    return bytes;
}

QByteArray indexRows(const QList<QList<int>>& rows, int bits) {
    QList<QByteArray> packed;
    for (const QList<int>& row : rows) {
        QByteArray bytes((row.size() * bits + 7) / 8, '\0');
        for (int x = 0; x < row.size(); ++x) {
            const int shift = 8 - bits - (x * bits) % 8;
            bytes[x * bits / 8] = char(bytes[x * bits / 8] | row[x] << shift);
        }
        packed.append(bytes);
    }
    return bmpRows(packed);
}

QByteArray colourRows(const QList<QList<QRgb>>& rows, int bytesPerPixel, bool topDown = false) {
    QList<QByteArray> packed;
    for (const QList<QRgb>& row : rows) {
        QByteArray bytes;
        for (QRgb colour : row)
            bytes += paletteBytes({colour}, bytesPerPixel);
        packed.append(bytes);
    }
    return bmpRows(packed, topDown);
}

struct Bmp {
    int width = 0;
    int height = 0; // negative: top-down
    int bits = 24;
    quint32 compression = 0;
    QByteArray table; // palette or bit masks
    int colours = 0;
    QByteArray pixels;
    bool os2 = false;
};

QByteArray bmpFile(const Bmp& bmp) {
    QByteArray info;
    if (bmp.os2) {
        info = le32(12) + le16(bmp.width) + le16(bmp.height) + le16(1) + le16(bmp.bits);
    } else {
        info = le32(40) + le32(bmp.width) + le32(bmp.height) + le16(1) + le16(bmp.bits) +
               le32(bmp.compression) + le32(bmp.pixels.size()) + le32(3780) + le32(3780) +
               le32(bmp.colours) + le32(0);
    }
    const int offset = 14 + info.size() + bmp.table.size();
    return "BM" + le32(offset + bmp.pixels.size()) + le32(0) + le32(offset) + info + bmp.table +
           bmp.pixels;
}

// A GIF of at most four colours. A clear code before every pixel keeps each
// code three bits wide, so no real compression is needed.
QByteArray gifFile(const QList<QList<int>>& rows, QList<QRgb> palette) {
    const int width = int(rows[0].size());
    const int height = int(rows.size());
    while (palette.size() < 4)
        palette.append(qRgb(0, 0, 0));
    QByteArray gif = "GIF89a" + le16(width) + le16(height);
    gif += char(0x91); // a global palette of four entries
    gif += QByteArray(2, '\0');
    for (QRgb colour : palette) {
        gif += char(qRed(colour));
        gif += char(qGreen(colour));
        gif += char(qBlue(colour));
    }
    gif += ',' + le16(0) + le16(0) + le16(width) + le16(height) + '\0';
    gif += char(2); // smallest code size: codes 4 (clear) and 5 (end) follow the colours
    QByteArray codes;
    quint32 pending = 0;
    int pendingBits = 0;
    auto put = [&](int code) {
        pending |= quint32(code) << pendingBits;
        for (pendingBits += 3; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            codes += char(pending & 0xff);
    };
    for (const QList<int>& row : rows)
        for (int index : row) {
            put(4);
            put(index);
        }
    put(5);
    if (pendingBits)
        codes += char(pending);
    for (int i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        gif += char(block.size()) + block;
    }
    gif += '\0';
    gif += ';';
    return gif;
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffff;
    for (char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320 : crc >> 1;
    }
    return ~crc;
}

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// A real BMP or PNG whose header claims another size, its checksum mended.
QByteArray withClaimedSize(QByteArray file, int width, int height) {
    if (file.startsWith("BM")) {
        qToLittleEndian(qint32(width), file.data() + 18);
        qToLittleEndian(qint32(height), file.data() + 22);
    } else {
        qToBigEndian(quint32(width), file.data() + 16);
        qToBigEndian(quint32(height), file.data() + 20);
        qToBigEndian(crc32(file.mid(12, 17)), file.data() + 29);
    }
    return file;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                qAbs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

} // namespace

// Picture files: what is written is a plain 24-bit BMP, what Qt can read is read
// whatever the file is called, and every failure, real ones included, says
// what went wrong without harming the file that was there.
class TestPictureFile : public QObject {
    Q_OBJECT

private slots:
    void savedFileIsAPlainBottomUpBmp_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("one pixel") << 1 << 1;
        QTest::newRow("rows without padding") << 4 << 2;
        QTest::newRow("rows padded by one byte") << 5 << 3;
        QTest::newRow("the canvas") << 471 << 429;
    }
    void savedFileIsAPlainBottomUpBmp() {
        QFETCH(int, width);
        QFETCH(int, height);
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.bmp");
        const QImage image = pattern(width, height);
        const PictureFile::SaveResult saved = PictureFile::saveBmp(image, path);
        QVERIFY2(saved.ok(), qPrintable(saved.detail));
        const QByteArray bytes = readBytes(path);
        const int rowBytes = (width * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.size(), 54 + rowBytes * height);
        const QByteArray header = "BM" + le32(bytes.size()) + le32(0) + le32(54) + le32(40) +
                                  le32(width) + le32(height) + le16(1) + le16(24) + le32(0) +
                                  le32(rowBytes * height) + le32(3780) + le32(3780) + le32(0) +
                                  le32(0);
        QCOMPARE(bytes.left(54), header);
        for (int y = 0; y < height; ++y) {
            const char* row = bytes.constData() + 54 + (height - 1 - y) * rowBytes;
            for (int x = 0; x < width; ++x) {
                const QRgb expected = image.pixel(x, y);
                const QRgb found =
                    qRgb(uchar(row[x * 3 + 2]), uchar(row[x * 3 + 1]), uchar(row[x * 3]));
                if (found != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
            for (int pad = width * 3; pad < rowBytes; ++pad)
                QCOMPARE(row[pad], '\0');
        }
        QCOMPARE(PictureFile::load(path).image, image);
    }

    void saveFailuresLeaveTheOldFileAlone_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("existingFile");
        QTest::addColumn<QString>("existingFolder");
        QTest::addColumn<Problem>("problem");
        QTest::newRow("folder does not exist") << "nowhere/picture.bmp"
                                               << ""
                                               << "" << Problem::FolderMissing;
        QTest::newRow("folder is a file") << "notes.txt/picture.bmp"
                                          << "notes.txt"
                                          << "" << Problem::FolderMissing;
        QTest::newRow("below a file") << "notes.txt/more/picture.bmp"
                                      << "notes.txt"
                                      << "" << Problem::FolderMissing;
        QTest::newRow("name is a folder") << "picture.bmp"
                                          << "picture.bmp/inside.bmp"
                                          << "picture.bmp" << Problem::IsFolder;
    }
    void saveFailuresLeaveTheOldFileAlone() {
        QFETCH(QString, name);
        QFETCH(QString, existingFile);
        QFETCH(QString, existingFolder);
        QFETCH(Problem, problem);
        QTemporaryDir dir;
        if (!existingFolder.isEmpty())
            QVERIFY(QDir(dir.path()).mkpath(existingFolder));
        const QByteArray old = encoded(pattern(7, 5), "BMP");
        if (!existingFile.isEmpty())
            QVERIFY(writeBytes(dir.filePath(existingFile), old));
        const QStringList before = listing(dir.path());

        const QString path = dir.filePath(name);
        const PictureFile::SaveResult saved = PictureFile::saveBmp(pattern(40, 30), path);
        QCOMPARE(saved.problem, problem);
        QVERIFY(!saved.detail.isEmpty());
        QVERIFY(saveFailedMessage(path, saved.problem).contains(QDir::toNativeSeparators(path)));
        QCOMPARE(listing(dir.path()), before);
        if (!existingFile.isEmpty())
            QCOMPARE(readBytes(dir.filePath(existingFile)), old);
    }

    // A real full disk and a real read-only one: small file systems mounted
    // for the test, so it needs root.
    void saveToAFailingDisk_data() {
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("filled"); // the disk full before the save begins
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<Problem>("problem");
        const QSize canvas(471, 429);
        QTest::newRow("full, replacing") << true << false << false << canvas << Problem::DiskFull;
        QTest::newRow("full, new file") << false << false << false << canvas << Problem::DiskFull;
        // Small enough to sit in a write buffer until the file is closed:
        // there the failure must still be seen.
        QTest::newRow("full already, tiny picture")
            << true << true << false << QSize(2, 2) << Problem::DiskFull;
        QTest::newRow("read-only, replacing")
            << true << false << true << canvas << Problem::ReadOnly;
        QTest::newRow("read-only, new file")
            << false << false << true << canvas << Problem::ReadOnly;
    }
    void saveToAFailingDisk() {
        QFETCH(bool, oldFile);
        QFETCH(bool, filled);
        QFETCH(bool, readOnly);
        QFETCH(QSize, size);
        QFETCH(Problem, problem);
        if (!isRoot())
            QSKIP("mounting a file system needs root");
        QTemporaryDir dir;
        if (!run("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", dir.path()}))
            QSKIP("tmpfs could not be mounted");
        const Afterwards unmount("umount", {"-l", dir.path()});
        const QString path = dir.filePath("picture.bmp");
        const QImage old = pattern(100, 80);
        if (oldFile)
            QVERIFY(PictureFile::saveBmp(old, path).ok());
        const QByteArray oldBytes = readBytes(path);
        if (filled)
            QVERIFY(fillDisk(dir.path()));
        if (readOnly)
            QVERIFY(run("mount", {"-o", "remount,ro", dir.path()}));
        const QStringList before = listing(dir.path());

        const PictureFile::SaveResult saved =
            PictureFile::saveBmp(pattern(size.width(), size.height()), path);
        QCOMPARE(saved.problem, problem);
        QVERIFY(saveFailedMessage(path, saved.problem).contains(QDir::toNativeSeparators(path)));
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(readBytes(path), oldBytes);
        if (oldFile)
            QCOMPARE(PictureFile::load(path).image, old);
    }

    void saveWhereTheSystemRefuses_data() {
        QTest::addColumn<bool>("lockFolder");
        QTest::newRow("locked folder") << true;
        QTest::newRow("locked file") << false;
    }
    void saveWhereTheSystemRefuses() {
        QFETCH(bool, lockFolder);
        QTemporaryDir dir;
        const QString folder = dir.filePath("locked");
        const QString path = folder + "/picture.bmp";
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        const QByteArray old = encoded(pattern(9, 9), "BMP");
        QVERIFY(writeBytes(path, old));
        // Refused even to root, where permission bits refuse nothing.
        const QString locked = lockFolder ? folder : path;
        if (!run("chattr", {"+i", locked}))
            QSKIP("chattr +i needs root and a file system that has the attribute");
        const Afterwards unlock("chattr", {"-i", locked});

        const PictureFile::SaveResult saved = PictureFile::saveBmp(pattern(40, 30), path);
        QCOMPARE(saved.problem, Problem::NoPermission);
        QCOMPARE(listing(folder), QStringList{"picture.bmp"});
        QCOMPARE(readBytes(path), old);
    }

    // Killed at any moment, a save leaves either the old picture or the new
    // one, never a mixture or a file cut short.
    void aSaveKilledPartWayLeavesAWholePicture() {
        QTemporaryDir dir;
        const QString target = dir.filePath("picture.bmp");
        const QString first = dir.filePath("first.bmp");
        const QString second = dir.filePath("second.bmp");
        QByteArray pictures[2];
        for (int delay : {0, 3, 9, 17, 26, 38, 55}) {
            QProcess saver;
            saver.start(QStringLiteral(PICTUREFILE_SAVELOOP), {target, first, second});
            QVERIFY2(saver.waitForReadyRead(20000), saver.readAllStandardError().constData());
            QCOMPARE(saver.readAllStandardOutput(), QByteArray("ready\n"));
            if (pictures[0].isEmpty()) {
                pictures[0] = readBytes(first);
                pictures[1] = readBytes(second);
                QCOMPARE(pictures[0].size(), 54 + 1000 * 3 * 800);
                QCOMPARE(pictures[1].size(), pictures[0].size());
                QVERIFY(pictures[0] != pictures[1]);
            }
            QThread::msleep(delay);
            saver.kill();
            QVERIFY(saver.waitForFinished(10000));
            QCOMPARE(saver.exitStatus(), QProcess::CrashExit); // killed, not stopped by a failure
            const QByteArray left = readBytes(target);
            QVERIFY2(left == pictures[0] || left == pictures[1],
                     qPrintable(QStringLiteral("after %1 ms: %2 bytes, neither picture")
                                    .arg(delay)
                                    .arg(left.size())));
        }
    }

    // Every common kind of BMP, and the other formats Qt reads, recognised by
    // their content whatever the file is called.
    void readsPictures_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QImage>("expected");
        QTest::addColumn<int>("tolerance");
        const QList<QList<int>> indices = {{1, 0, 1, 2}, {0, 2, 2, 1}};
        const QList<QRgb> palette = {ink, paper, leaf};
        const QImage indexed = pictureOfIndices(indices, palette);
        const QList<QList<QRgb>> colours = {{ink, paper, leaf}, {leaf, ink, paper}};
        const QString bmp = QStringLiteral("picture.bmp");

        const QList<QList<int>> twoColours = {{1, 0, 1, 1, 0, 0, 0, 0, 1},
                                              {0, 1, 1, 0, 0, 1, 0, 1, 0}};
        QTest::newRow("BMP, 1 bit")
            << bmpFile({9, 2, 1, 0, paletteBytes({ink, paper}), 2, indexRows(twoColours, 1)}) << bmp
            << pictureOfIndices(twoColours, {ink, paper}) << 0;
        QTest::newRow("BMP, 4 bits")
            << bmpFile({4, 2, 4, 0, paletteBytes(palette), 3, indexRows(indices, 4)}) << bmp
            << indexed << 0;
        QTest::newRow("BMP, 8 bits")
            << bmpFile({4, 2, 8, 0, paletteBytes(palette), 3, indexRows(indices, 8)}) << bmp
            << indexed << 0;
        // Bottom row as one run of four, top row as four pixels written out.
        const QByteArray rle("\x04\x01\x00\x00"
                             "\x00\x04\x01\x00\x01\x02\x00\x00"
                             "\x00\x01",
                             14);
        QTest::newRow("BMP, 8 bits, run-length")
            << bmpFile({4, 2, 8, 1, paletteBytes(palette), 3, rle}) << bmp
            << pictureOfIndices({{1, 0, 1, 2}, {1, 1, 1, 1}}, palette) << 0;
        // Pixels the runs never reach take the first palette colour, the
        // same on every reading rather than whatever the memory held.
        const QByteArray rleBottomOnly("\x04\x01\x00\x01", 4);
        QTest::newRow("BMP, 8 bits, run-length ending early")
            << bmpFile({4, 2, 8, 1, paletteBytes(palette), 3, rleBottomOnly}) << bmp
            << pictureOfIndices({{0, 0, 0, 0}, {1, 1, 1, 1}}, palette) << 0;
        // The last row without its padding is still whole.
        QTest::newRow("BMP, 24 bits, last row unpadded")
            << bmpFile({3, 2, 24, 0, {}, 0, colourRows(colours, 3).chopped(3)}) << bmp
            << picture(colours) << 0;
        // Qt widens 5 and 6 bits by shifting, so full scale reads as 248 or 252.
        const QByteArray masks = le32(0xf800) + le32(0x07e0) + le32(0x001f);
        const QByteArray pixels16 = bmpRows(
            {le16(0xf800) + le16(0x07e0) + le16(0x001f), le16(0xffff) + le16(0) + le16(0x8410)});
        QTest::newRow("BMP, 16 bits, 5-6-5")
            << bmpFile({3, 2, 16, 3, masks, 0, pixels16}) << bmp
            << picture({{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                        {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(132, 130, 132)}})
            << 7;
        QTest::newRow("BMP, 24 bits") << bmpFile({3, 2, 24, 0, {}, 0, colourRows(colours, 3)})
                                      << bmp << picture(colours) << 0;
        QTest::newRow("BMP, 32 bits") << bmpFile({3, 2, 32, 0, {}, 0, colourRows(colours, 4)})
                                      << bmp << picture(colours) << 0;
        QTest::newRow("BMP, top-down")
            << bmpFile({3, -2, 24, 0, {}, 0, colourRows(colours, 3, true)}) << bmp
            << picture(colours) << 0;
        // The old header has no colour count: the palette is always full.
        QList<QRgb> fullPalette = palette;
        fullPalette.resize(256);
        QTest::newRow("BMP, OS/2 header")
            << bmpFile({4, 2, 8, 0, paletteBytes(fullPalette, 3), 0, indexRows(indices, 8), true})
            << bmp << indexed << 0;

        const QImage small = pattern(13, 7);
        QTest::newRow("PNG named .bmp") << encoded(small, "PNG") << bmp << small << 0;
        QTest::newRow("BMP named .jpg") << encoded(small, "BMP") << "picture.jpg" << small << 0;
        QTest::newRow("PNG named .gif.txt")
            << encoded(small, "PNG") << "picture.gif.txt" << small << 0;
        // One hue in two lightnesses: JPEG halves the resolution of colour but
        // not of lightness, so the edge between them stays sharp.
        QImage blocks(32, 16, QImage::Format_RGB32);
        blocks.fill(qRgb(136, 62, 27));
        for (int y = 0; y < 16; ++y)
            for (int x = 16; x < 32; ++x)
                blocks.setPixel(x, y, qRgb(226, 152, 117));
        QTest::newRow("JPEG named .png")
            << encoded(blocks, "JPEG", 95) << "picture.png" << blocks << 4;
        // Qt writes no GIF, so this one is made by hand.
        const QList<QList<int>> gifIndices = {{0, 1, 2, 3, 2}, {3, 3, 0, 1, 1}, {2, 0, 0, 0, 3}};
        const QList<QRgb> gifPalette = {ink, paper, leaf, qRgb(255, 255, 255)};
        QTest::newRow("GIF without extension") << gifFile(gifIndices, gifPalette) << "picture"
                                               << pictureOfIndices(gifIndices, gifPalette) << 0;
    }
    void readsPictures() {
        QFETCH(QByteArray, file);
        QFETCH(QString, name);
        QFETCH(QImage, expected);
        QFETCH(int, tolerance);
        QVERIFY(!file.isEmpty());
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath(name), file));
        const PictureFile::LoadResult loaded = PictureFile::load(dir.filePath(name));
        QVERIFY2(loaded.ok(), qPrintable(loaded.detail));
        QCOMPARE(loaded.image.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.image.size(), expected.size());
        const int difference = largestDifference(loaded.image, expected);
        QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
    }

    // Only the part a canvas shows is kept, nothing added where the picture ends.
    void keepsOnlyWhatIsShown_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("kept");
        QTest::newRow("wider, lower") << QSize(600, 100) << QSize(471, 100);
        QTest::newRow("narrower, higher") << QSize(40, 500) << QSize(40, 429);
        QTest::newRow("larger both ways") << QSize(900, 700) << QSize(471, 429);
        QTest::newRow("smaller") << QSize(13, 7) << QSize(13, 7);
    }
    void keepsOnlyWhatIsShown() {
        QFETCH(QSize, size);
        QFETCH(QSize, kept);
        QTemporaryDir dir;
        const QImage whole = pattern(size.width(), size.height());
        QVERIFY(writeBytes(dir.filePath("picture.bmp"), encoded(whole, "BMP")));
        const PictureFile::LoadResult loaded =
            PictureFile::load(dir.filePath("picture.bmp"), QSize(471, 429));
        QVERIFY2(loaded.ok(), qPrintable(loaded.detail));
        QCOMPARE(loaded.image.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.image, whole.copy(QRect(QPoint(0, 0), kept)));
    }

    void refusesWhatItCannotRead_data() {
        QTest::addColumn<QByteArray>("file"); // written as "picture.bmp" unless null
        QTest::addColumn<bool>("folder");
        QTest::addColumn<Problem>("problem");
        const QByteArray bmp = encoded(pattern(40, 30), "BMP");
        const QByteArray png = encoded(pattern(40, 30), "PNG");
        QTest::newRow("missing") << QByteArray() << false << Problem::NotFound;
        QTest::newRow("folder") << QByteArray() << true << Problem::IsFolder;
        QTest::newRow("zero bytes") << QByteArray("") << false << Problem::NotAPicture;
        QTest::newRow("text") << QByteArray("Inköpslista: mjölk, bröd, ägg.\n") << false
                              << Problem::NotAPicture;
        QTest::newRow("BMP cut short") << bmp.left(bmp.size() / 2) << false << Problem::Damaged;
        QTest::newRow("BMP missing its last byte")
            << bmp.left(bmp.size() - 1) << false << Problem::Damaged;
        QTest::newRow("BMP cut in its header") << bmp.left(30) << false << Problem::Damaged;
        QTest::newRow("PNG cut short") << png.left(png.size() / 2) << false << Problem::Damaged;
        // Qt's own limits refuse these as damaged data; the size comes first.
        QTest::newRow("BMP claiming 60000 x 60000")
            << withClaimedSize(bmp, 60000, 60000) << false << Problem::TooLarge;
        QTest::newRow("BMP claiming 10000 x 10000")
            << withClaimedSize(bmp, 10000, 10000) << false << Problem::TooLarge;
        QTest::newRow("top-down BMP claiming 60000 x 60000")
            << withClaimedSize(bmp, 60000, -60000) << false << Problem::TooLarge;
        QTest::newRow("PNG claiming 60000 x 60000")
            << withClaimedSize(png, 60000, 60000) << false << Problem::TooLarge;
    }
    void refusesWhatItCannotRead() {
        QFETCH(QByteArray, file);
        QFETCH(bool, folder);
        QFETCH(Problem, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath("picture.bmp");
        if (folder)
            QVERIFY(QDir(dir.path()).mkdir("picture.bmp"));
        else if (!file.isNull())
            QVERIFY(writeBytes(path, file));
        const PictureFile::LoadResult loaded = PictureFile::load(path);
        QCOMPARE(loaded.problem, problem);
        QVERIFY(loaded.image.isNull());
        QVERIFY(!loaded.detail.isEmpty());
        QVERIFY(openFailedMessage(path, loaded.problem).contains(QDir::toNativeSeparators(path)));
    }

    // Each problem a user can meet gets its own explanation, not the general one.
    void messagesTellTheProblemsApart() {
        const QString path = QDir::temp().filePath("Teckningar/huset.bmp");
        const QString shown = QDir::toNativeSeparators(path);
        std::set<QString> saving;
        for (Problem problem :
             {Problem::FolderMissing, Problem::IsFolder, Problem::DiskFull, Problem::ReadOnly,
              Problem::NoPermission, Problem::TooLarge, Problem::Other}) {
            const QString message = saveFailedMessage(path, problem);
            QVERIFY(message.contains(shown));
            saving.insert(message);
        }
        QCOMPARE(saving.size(), size_t(7));
        std::set<QString> opening;
        for (Problem problem :
             {Problem::NotFound, Problem::IsFolder, Problem::NotAPicture, Problem::Damaged,
              Problem::TooLarge, Problem::NoPermission, Problem::Other}) {
            const QString message = openFailedMessage(path, problem);
            QVERIFY(message.contains(shown));
            opening.insert(message);
        }
        QCOMPARE(opening.size(), size_t(7));
    }
};

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
