#include "platform/IcoCodec.h"

#include <QtTest>

namespace {

Icon sampleIcon(int size) {
    QImage colour(size, size, QImage::Format_RGB32);
    QImage mask(size, size, QImage::Format_Grayscale8);
    const auto& palette = IcoCodec::windowsPalette();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool seeThrough = (x + y) % 5 == 0;
            colour.setPixel(x, y, seeThrough ? qRgb(0, 0, 0) : palette[(x * 3 + y) % 16]);
            mask.setPixel(x, y, seeThrough ? 255 : 0);
        }
    return Icon(colour, mask);
}

void put32(QByteArray& data, int offset, quint32 value) {
    qToLittleEndian(value, data.data() + offset);
}

} // namespace

// Our icon files: what is written reads back the same, what Windows would do
// with the mask is kept, and damaged files are refused with a reason.
class TestIcoCodec : public QObject {
    Q_OBJECT

private slots:
    void writtenIconsReadBackUnchanged() {
        const std::vector<Icon> icons = {sampleIcon(32), sampleIcon(16), sampleIcon(48)};
        const QByteArray bytes = IcoCodec::write(icons);
        QCOMPARE(IcoCodec::write(icons), bytes); // the same bytes every time
        const IcoCodec::ReadResult result = IcoCodec::read(bytes);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.images.size(), size_t(3));
        for (size_t i = 0; i < icons.size(); ++i) {
            QCOMPARE(result.images[i].colour(), icons[i].colour());
            QCOMPARE(result.images[i].mask(), icons[i].mask());
        }
        // One 32 x 32 image: header, palette, 4-bit colours and the mask.
        QCOMPARE(IcoCodec::write({sampleIcon(32)}).size(), 6 + 16 + 40 + 64 + 512 + 128);
    }

    void coloursOutsideThePaletteTakeTheNearest() {
        QImage colour(8, 8, QImage::Format_RGB32);
        colour.fill(qRgb(250, 10, 5));
        QImage mask(8, 8, QImage::Format_Grayscale8);
        mask.fill(0);
        const auto result = IcoCodec::read(IcoCodec::write({Icon(colour, mask)}));
        QVERIFY(result.ok());
        QCOMPARE(result.images[0].colourAt(3, 3), qRgb(255, 0, 0));
    }

    void otherDepthsAreRead_data() {
        QTest::addColumn<int>("bits");
        QTest::newRow("1") << 1;
        QTest::newRow("8") << 8;
        QTest::newRow("24") << 24;
        QTest::newRow("32") << 32;
    }
    void otherDepthsAreRead() {
        // A hand-made 8 x 8 icon: left half white, right half black, the top
        // row see-through.
        QFETCH(int, bits);
        const int palette = bits <= 8 ? (1 << bits) : 0;
        const int stride = ((8 * bits + 31) / 32) * 4;
        QByteArray image(40 + palette * 4 + stride * 8 + 4 * 8, '\0');
        put32(image, 0, 40);
        put32(image, 4, 8);
        put32(image, 8, 16);
        qToLittleEndian<quint16>(1, image.data() + 12);
        qToLittleEndian<quint16>(quint16(bits), image.data() + 14);
        if (palette)
            put32(image, 40 + 4, 0x00ffffff); // entry 1 white
        uchar* pixels = reinterpret_cast<uchar*>(image.data()) + 40 + palette * 4;
        for (int row = 0; row < 8; ++row)
            for (int x = 0; x < 4; ++x) { // white left half
                uchar* p = pixels + row * stride;
                if (bits == 1)
                    p[0] |= uchar(0x80 >> x);
                else if (bits == 8)
                    p[x] = 1;
                else
                    std::memset(p + x * (bits / 8), 0xff, bits / 8);
            }
        uchar* mask = pixels + stride * 8;
        mask[7 * 4] = 0xff; // bottom-up: the last mask row is the top row
        QByteArray file(6 + 16, '\0');
        qToLittleEndian<quint16>(1, file.data() + 2);
        qToLittleEndian<quint16>(1, file.data() + 4);
        file[6] = 8;
        file[7] = 8;
        put32(file, 6 + 8, quint32(image.size()));
        put32(file, 6 + 12, 22);
        file += image;
        const auto result = IcoCodec::read(file);
        QVERIFY2(result.ok(), qPrintable(result.error));
        const Icon& icon = result.images.at(0);
        QCOMPARE(icon.colourAt(1, 4) & 0xffffff, 0xffffffu);
        QCOMPARE(icon.colourAt(6, 4) & 0xffffff, 0u);
        QVERIFY(icon.maskBit(5, 0));
        QVERIFY(!icon.maskBit(5, 1));
    }

    void drawingCombinesThroughTheMask() {
        // Clear mask bit: the icon's colour. Set bit over black: unchanged.
        // Set bit over a colour: the destination exclusive-or that colour.
        QImage colour(2, 1, QImage::Format_RGB32);
        colour.setPixel(0, 0, qRgb(0, 0, 128));
        colour.setPixel(1, 0, qRgb(0, 0, 0));
        QImage mask(2, 1, QImage::Format_Grayscale8);
        mask.fill(255);
        const Icon icon = IcoCodec::read(IcoCodec::write({Icon(colour, mask)})).images.at(0);
        QImage canvas(4, 2, QImage::Format_RGB32);
        canvas.fill(qRgb(200, 100, 50));
        icon.drawOnto(canvas, {1, 1});
        QCOMPARE(canvas.pixel(1, 1), qRgb(200, 100, 50 ^ 128));
        QCOMPARE(canvas.pixel(2, 1), qRgb(200, 100, 50));
        icon.drawOnto(canvas, {1, 1});
        QCOMPARE(canvas.pixel(1, 1), qRgb(200, 100, 50));
        icon.drawOnto(canvas, {3, -5}); // wholly or partly outside: clipped, no crash
        icon.drawOnto(canvas, {-1, 1});
    }

    void damagedFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = IcoCodec::write({sampleIcon(32)});
        QByteArray badType = good;
        badType[2] = 2;
        QByteArray zeroImages = good;
        zeroImages[4] = 0;
        QByteArray manyImages = good;
        manyImages[4] = char(200);
        QByteArray offsetOut = good;
        put32(offsetOut, 6 + 12, 0x7ffffff0);
        QByteArray sizeOut = good;
        put32(sizeOut, 6 + 8, 0xffffff00);
        QByteArray huge = good;
        put32(huge, 22 + 4, 100000);
        QByteArray negative = good;
        put32(negative, 22 + 8, quint32(-64));
        QByteArray depth = good;
        qToLittleEndian<quint16>(7, depth.data() + 22 + 14);
        QByteArray palette = good;
        put32(palette, 22 + 32, 100000);
        QByteArray png = good;
        png.replace(22, 4, QByteArray("\x89PNG", 4));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not an icon") << QByteArray("BM this is a bitmap");
        QTest::newRow("cursor type") << badType;
        QTest::newRow("no images") << zeroImages;
        QTest::newRow("too many images") << manyImages;
        QTest::newRow("cut in the directory") << good.left(10);
        QTest::newRow("cut in the image") << good.left(good.size() - 200);
        QTest::newRow("offset outside") << offsetOut;
        QTest::newRow("size outside") << sizeOut;
        QTest::newRow("huge width") << huge;
        QTest::newRow("negative height") << negative;
        QTest::newRow("7 bits a pixel") << depth;
        QTest::newRow("huge palette") << palette;
        QTest::newRow("png image") << png;
    }
    void damagedFilesAreRefused() {
        QFETCH(QByteArray, data);
        const auto result = IcoCodec::read(data);
        QVERIFY(!result.ok());
        QVERIFY(!result.error.isEmpty());
        QVERIFY(result.images.empty());
    }

    void aShortPaletteReadsAsBlack() {
        // Found by fuzzing: one palette entry for a 4-bit image.
        QByteArray bytes = IcoCodec::write({sampleIcon(16)});
        put32(bytes, 22 + 32, 1);
        const auto result = IcoCodec::read(bytes);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.images.at(0).size(), QSize(16, 16));
    }

    void missingFileGivesAMessage() {
        const auto result = IcoCodec::readFile(QStringLiteral("/nonexistent/pensilo.ico"));
        QVERIFY(!result.ok());
        QVERIFY(!result.error.isEmpty());
    }
};

QTEST_MAIN(TestIcoCodec)
#include "tst_icocodec.moc"
