#include "GdiSurface.h"
#include "compositing/Gdi.h"
#include "compositing/PaintEffects.h"
#include "compositing/RuntimeError.h"
#include "platform/Units.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace gdi;

namespace {

constexpr QRgb kRed = 0xffff0000u, kGreen = 0xff00ff00u, kBlue = 0xff0000ffu;
constexpr QRgb kWhite = 0xffffffffu, kBlack = 0xff000000u, kGrey = 0xffc0c0c0u;

using Surface = GdiSurface;

// 6 x 6: a red frame one pixel wide around blue, with one red pixel inside.
QImage framedPicture() {
    QImage image = filled(6, 6, kRed);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 5; ++x)
            image.setPixel(x, y, kBlue);
    image.setPixel(3, 2, kRed);
    return image;
}

// 8 x 8: the left half see-through, the right half opaque green.
Icon halfIcon() {
    QImage colour = filled(8, 8, kGreen);
    QImage mask(8, 8, QImage::Format_Grayscale8);
    mask.fill(0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x) {
            colour.setPixel(x, y, kBlack);
            mask.setPixel(x, y, 255);
        }
    return Icon(colour, mask);
}

// What a transparent painting must give: the source pixel where it differs
// from the mask colour, the destination elsewhere, and the destination
// wherever the rectangle has no source pixel.
QImage expectedTransparent(const QImage& dest, const QImage& source, QRect rect, QPoint from,
                           QRgb mask) {
    QImage result = dest;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QPoint s = from + QPoint(x - rect.left(), y - rect.top());
            if (!dest.rect().contains(x, y) || !source.rect().contains(s))
                continue;
            if ((source.pixel(s) & 0xffffff) != (mask & 0xffffff))
                result.setPixel(x, y, source.pixel(s));
        }
    return result;
}

} // namespace

// The picture painter, judged by the destination's pixels.
class TestPaintEffects : public QObject {
    Q_OBJECT

private slots:
    void maskColouredPixelsLetTheDestinationThrough_data() {
        QTest::addColumn<uint>("mask");
        QTest::addColumn<QRgb>("frame");
        QTest::newRow("plain colour") << rgbToBgr(kRed) << kRed;
        // Button face is light grey in the classic scheme.
        QTest::newRow("system colour") << 0x8000000Fu << kGrey;
    }
    void maskColouredPixelsLetTheDestinationThrough() {
        QFETCH(uint, mask);
        QFETCH(QRgb, frame);
        PaintEffects effects;
        QImage picture = framedPicture();
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                if (picture.pixel(x, y) == kRed)
                    picture.setPixel(x, y, frame);
        Surface source(picture);
        Surface dest(filled(10, 10, kGreen));
        effects.PaintTransparentDC(dest.dc, 2, 3, 6, 6, source.dc, 0, 0, mask, 0);
        const QImage result = dest.image();
        QCOMPARE(result.pixel(2, 3), kGreen); // the frame
        QCOMPARE(result.pixel(7, 8), kGreen);
        QCOMPARE(result.pixel(3, 4), kBlue);  // inside it
        QCOMPARE(result.pixel(5, 5), kGreen); // the mask colour inside too
        QCOMPARE(result.pixel(6, 7), kBlue);
        QCOMPARE(result.pixel(8, 8), kGreen); // outside the rectangle
    }

    void aMonochromeSourceTakesItsContextsColours() {
        PaintEffects effects;
        const uchar bits[] = {0x80, 0}; // one row: white then black
        const HBITMAP bitmap = CreateBitmap(2, 1, 1, 1, bits);
        const HDC source = CreateCompatibleDC(0);
        const HGDIOBJ kept = SelectObject(source, bitmap);
        SetTextColor(source, rgbToBgr(kRed));
        SetBkColor(source, rgbToBgr(kBlue));
        Surface dest(filled(2, 1, kGreen));
        effects.PaintTransparentDC(dest.dc, 0, 0, 2, 1, source, 0, 0, rgbToBgr(kBlue), 0);
        QCOMPARE(dest.image().pixel(0, 0), kGreen);
        QCOMPARE(dest.image().pixel(1, 0), kRed);
        SelectObject(source, kept);
        DeleteObject(bitmap);
        DeleteDC(source);
    }

    void whatCannotBePaintedLeavesTheDestination_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("validSource");
        QTest::newRow("no source context") << 4 << 4 << false;
        QTest::newRow("too large to make") << 100000 << 100000 << true;
        QTest::newRow("negative") << -4 << 4 << true;
        QTest::newRow("empty") << 0 << 0 << true;
    }
    void whatCannotBePaintedLeavesTheDestination() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, validSource);
        PaintEffects effects;
        Surface source(filled(4, 4, kBlue));
        Surface dest(filled(6, 6, kGreen));
        const int live = liveObjectCount();
        effects.PaintTransparentDC(dest.dc, 1, 1, width, height, validSource ? source.dc : 0, 0, 0,
                                   rgbToBgr(kRed), 0);
        QCOMPARE(dest.image(), filled(6, 6, kGreen));
        QCOMPARE(liveObjectCount(), live);
    }

    void randomPaintingsShowSourceOrDestination() {
        // Few colours, so that source pixels equal the mask colour often.
        const QRgb colours[] = {kRed, kGreen, kBlue, kWhite, kBlack, 0xff123456u};
        QRandomGenerator random(20261209);
        PaintEffects effects;
        const auto pick = [&](int count) { return int(random.bounded(count)); };
        const auto randomImage = [&]() {
            QImage image(1 + pick(24), 1 + pick(24), QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    image.setPixel(x, y, colours[pick(6)]);
            return image;
        };
        for (int round = 0; round < 300; ++round) {
            const QImage sourceImage = randomImage();
            const QImage destImage = randomImage();
            const QRect rect(pick(34) - 5, pick(34) - 5, pick(30), pick(30));
            const QPoint from(pick(34) - 5, pick(34) - 5);
            const QRgb mask = colours[pick(6)];
            const QImage expected = expectedTransparent(destImage, sourceImage, rect, from, mask);
            for (const HPALETTE palette : {HPALETTE(0), effects.halftonePaletteHandle()}) {
                Surface source(sourceImage);
                Surface dest(destImage);
                effects.PaintTransparentDC(dest.dc, rect.x(), rect.y(), rect.width(), rect.height(),
                                           source.dc, from.x(), from.y(), rgbToBgr(mask), palette);
                if (dest.image() != expected)
                    QFAIL(
                        qPrintable(QStringLiteral("round %1, palette %2").arg(round).arg(palette)));
            }
        }
    }

    void bitmapPicturesArePaintedFromTheirOffset() {
        PaintEffects effects;
        const HBITMAP bitmap = createBitmapFromImage(framedPicture());
        const StdPicture picture{StdPicture::vbPicTypeBitmap, bitmap};
        Surface dest(filled(8, 8, kGreen));
        effects.PaintTransparentStdPic(dest.dc, 0, 0, 4, 4, &picture, 2, 2, rgbToBgr(kRed), 0);
        const QImage result = dest.image();
        QCOMPARE(result.pixel(0, 0), kBlue);
        QCOMPARE(result.pixel(1, 0), kGreen); // (3, 2) is red
        QCOMPARE(result.pixel(3, 3), kGreen); // the frame's corner
        QCOMPARE(result.pixel(4, 4), kGreen); // outside
        // The bitmap is free again afterwards.
        QCOMPARE(DeleteObject(bitmap), BOOL(1));
    }

    void iconPicturesIgnoreTheSourceOffset_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("from");
        QTest::newRow("icon size") << QSize(8, 8) << QPoint(0, 0);
        QTest::newRow("offset ignored") << QSize(8, 8) << QPoint(3, 5);
        QTest::newRow("larger than the icon") << QSize(40, 36) << QPoint(0, 0);
        QTest::newRow("smaller than the icon") << QSize(6, 5) << QPoint(1, 1);
    }
    void iconPicturesIgnoreTheSourceOffset() {
        QFETCH(QSize, size);
        QFETCH(QPoint, from);
        PaintEffects effects;
        const HICON icon = createIconHandle(halfIcon());
        const StdPicture picture{StdPicture::vbPicTypeIcon, icon};
        Surface dest(filled(50, 50, kWhite));
        effects.PaintTransparentStdPic(dest.dc, 1, 2, size.width(), size.height(), &picture,
                                       from.x(), from.y(), rgbToBgr(kRed), 0);
        // DrawIcon draws at the system size: the 8 x 8 icon covers 32 x 32,
        // its left half see-through.
        const QImage result = dest.image();
        const QRect painted(1, 2, std::min(size.width(), 32), std::min(size.height(), 32));
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const bool green = painted.contains(x, y) && x - 1 >= 16;
                QCOMPARE(result.pixel(x, y), green ? kGreen : kWhite);
            }
        DestroyIcon(icon);
    }

    void normalPaintingCopiesBitmapsAndStretchesIcons() {
        PaintEffects effects;
        const HBITMAP bitmap = createBitmapFromImage(framedPicture());
        const StdPicture bitmapPicture{StdPicture::vbPicTypeBitmap, bitmap};
        Surface dest(filled(40, 40, kWhite));
        effects.PaintNormalStdPic(dest.dc, 0, 0, 10, 10, &bitmapPicture, 1, 1, 0);
        QImage result = dest.image();
        QCOMPARE(result.pixel(0, 0), kBlue);
        QCOMPARE(result.pixel(2, 1), kRed); // (3, 2) of the picture
        QCOMPARE(result.pixel(3, 3), kBlue);
        QCOMPARE(result.pixel(4, 4), kRed);   // the frame, not stretched
        QCOMPARE(result.pixel(5, 5), kWhite); // beyond the picture
        DeleteObject(bitmap);

        const HICON icon = createIconHandle(halfIcon());
        const StdPicture iconPicture{StdPicture::vbPicTypeIcon, icon};
        effects.PaintNormalStdPic(dest.dc, 10, 10, 16, 24, &iconPicture, 5, 5, 0);
        result = dest.image();
        QCOMPARE(result.pixel(17, 33), kWhite); // see-through half
        QCOMPARE(result.pixel(18, 10), kGreen);
        QCOMPARE(result.pixel(25, 33), kGreen);
        QCOMPARE(result.pixel(26, 34), kWhite);
        DestroyIcon(icon);
    }

    void picturesThatAreNotBitmapsOrIcons_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("type");
        QTest::newRow("no picture object") << false << 0;
        QTest::newRow("empty picture") << true << int(StdPicture::vbPicTypeNone);
        QTest::newRow("metafile") << true << int(StdPicture::vbPicTypeMetafile);
        QTest::newRow("enhanced metafile") << true << int(StdPicture::vbPicTypeEMetafile);
    }
    void picturesThatAreNotBitmapsOrIcons() {
        QFETCH(bool, present);
        QFETCH(int, type);
        PaintEffects effects;
        const HBITMAP bitmap = createBitmapFromImage(framedPicture());
        const StdPicture picture{qint16(type), bitmap};
        const StdPicture* source = present ? &picture : nullptr;
        Surface dest(filled(8, 8, kGreen));
        effects.PaintTransparentStdPic(dest.dc, 0, 0, 6, 6, source, 0, 0, 0, 0);
        QCOMPARE(dest.image(), filled(8, 8, kGreen));
        try {
            effects.PaintNormalStdPic(dest.dc, 0, 0, 6, 6, source, 0, 0, 0);
            QFAIL("no error raised");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 481);
        }
        QCOMPARE(dest.image(), filled(8, 8, kGreen));
        DeleteObject(bitmap);
    }

    void onlyTheHalftonePaletteOutlivesACall() {
        const int before = liveObjectCount();
        {
            PaintEffects effects;
            QCOMPARE(liveObjectCount(), before + 1);
            const HBITMAP bitmap = createBitmapFromImage(framedPicture());
            const HICON icon = createIconHandle(halfIcon());
            const StdPicture bitmapPicture{StdPicture::vbPicTypeBitmap, bitmap};
            const StdPicture iconPicture{StdPicture::vbPicTypeIcon, icon};
            Surface dest(filled(8, 8, kGreen));
            const int ready = liveObjectCount();
            effects.PaintTransparentStdPic(dest.dc, 0, 0, 6, 6, &bitmapPicture, 0, 0, 0, 0);
            effects.PaintTransparentStdPic(dest.dc, 0, 0, 6, 6, &iconPicture, 0, 0, 0, 0);
            effects.PaintNormalStdPic(dest.dc, 0, 0, 6, 6, &bitmapPicture, 0, 0, 0);
            effects.PaintNormalStdPic(dest.dc, 0, 0, 6, 6, &iconPicture, 0, 0, 0);
            QCOMPARE(liveObjectCount(), ready);
            DeleteObject(bitmap);
            DestroyIcon(icon);
        }
        QCOMPARE(liveObjectCount(), before);
    }
};

QTEST_GUILESS_MAIN(TestPaintEffects)
#include "tst_painteffects.moc"
