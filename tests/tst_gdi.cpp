#include "GdiSurface.h"
#include "compositing/Gdi.h"
#include "platform/Units.h"

#include <QtTest>

#include <climits>

using namespace gdi;

Q_DECLARE_METATYPE(gdi::DWORD)

namespace {

using Surface = GdiSurface;

HBITMAP monochrome(int width, int height, bool white) {
    const HBITMAP bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    if (white) {
        const HDC dc = CreateCompatibleDC(0);
        const HGDIOBJ kept = SelectObject(dc, bitmap);
        const HBRUSH brush = CreateSolidBrush(0x00FFFFFF);
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        SelectObject(dc, kept);
        DeleteDC(dc);
    }
    return bitmap;
}

// A pixel as a COLORREF, monochrome pixels as black or white.
COLORREF pixelAt(const Surface& surface, int x, int y) {
    const QImage image = surface.image();
    if (image.format() == QImage::Format_Grayscale8)
        return image.constScanLine(y)[x] ? 0x00FFFFFF : 0;
    return rgbToBgr(image.pixel(x, y));
}

} // namespace

// The device-context layer: the platform's colour conversions in block
// transfers, clipping, handles that go stale, icons and OLE colours.
class TestGdi : public QObject {
    Q_OBJECT

private slots:
    void blitConvertsAndCombines_data() {
        QTest::addColumn<bool>("sourceMono");
        QTest::addColumn<bool>("destMono");
        QTest::addColumn<DWORD>("rop");
        QTest::addColumn<uint>("source");   // COLORREF, or 0 / 1 for monochrome
        QTest::addColumn<uint>("dest");     // likewise
        QTest::addColumn<uint>("sourceBk"); // the source context's background colour
        QTest::addColumn<uint>("destText");
        QTest::addColumn<uint>("destBk");
        QTest::addColumn<uint>("expected"); // COLORREF, monochrome as black or white

        const uint red = 0x0000FF, blue = 0xFF0000, white = 0xFFFFFF, black = 0, grey = 0x808080;
        // clang-format off
        QTest::newRow("colour copy")      << false << false << SRCCOPY   << red  << blue  << white << black << white << red;
        QTest::newRow("colour and")       << false << false << SRCAND    << 0x00FF0Fu << 0x0F0FFFu << white << black << white << 0x000F0Fu;
        QTest::newRow("colour or")        << false << false << SRCPAINT  << red  << blue  << white << black << white << 0xFF00FFu;
        QTest::newRow("colour and not")   << false << false << DSna      << red  << 0x00FFFFu << white << black << white << 0x00FF00u;
        QTest::newRow("to mono, bk")      << false << true  << SRCCOPY   << red  << 0u    << red   << black << white << white;
        QTest::newRow("to mono, not bk")  << false << true  << SRCCOPY   << blue << 1u    << red   << black << white << black;
        QTest::newRow("to mono, high byte ignored") << false << true << SRCCOPY << red << 0u << (0x02000000u | red) << black << white << white;
        QTest::newRow("to mono, and")     << false << true  << SRCAND    << red  << 1u    << blue  << black << white << black;
        QTest::newRow("to mono, or")      << false << true  << SRCPAINT  << red  << 0u    << red   << black << white << white;
        QTest::newRow("to mono, and not") << false << true  << DSna      << red  << 1u    << red   << black << white << black;
        QTest::newRow("from mono 0 is text") << true << false << SRCCOPY << 0u   << blue  << white << red   << grey  << red;
        QTest::newRow("from mono 1 is bk")   << true << false << SRCCOPY << 1u   << blue  << white << red   << grey  << grey;
        QTest::newRow("from mono, and 1")    << true << false << SRCAND  << 1u   << blue  << white << black << white << blue;
        QTest::newRow("from mono, and 0")    << true << false << SRCAND  << 0u   << blue  << white << black << white << black;
        QTest::newRow("from mono, and not 1") << true << false << DSna   << 1u   << blue  << white << black << white << black;
        QTest::newRow("from mono, and not 0") << true << false << DSna   << 0u   << blue  << white << black << white << blue;
        QTest::newRow("from mono, or")    << true  << false << SRCPAINT  << 1u   << blue  << white << black << red   << 0xFF00FFu;
        QTest::newRow("mono copy")        << true  << true  << SRCCOPY   << 0u   << 1u    << white << black << white << black;
        QTest::newRow("mono and")         << true  << true  << SRCAND    << 1u   << 0u    << white << black << white << black;
        QTest::newRow("mono or")          << true  << true  << SRCPAINT  << 1u   << 0u    << white << black << white << white;
        QTest::newRow("mono and not")     << true  << true  << DSna      << 0u   << 1u    << white << black << white << white;
        // clang-format on
    }
    void blitConvertsAndCombines() {
        QFETCH(bool, sourceMono);
        QFETCH(bool, destMono);
        QFETCH(DWORD, rop);
        QFETCH(uint, source);
        QFETCH(uint, dest);
        QFETCH(uint, sourceBk);
        QFETCH(uint, destText);
        QFETCH(uint, destBk);
        QFETCH(uint, expected);

        Surface from(sourceMono ? monochrome(2, 2, source)
                                : createBitmapFromImage(filled(2, 2, bgrToRgb(source))));
        Surface to(destMono ? monochrome(2, 2, dest)
                            : createBitmapFromImage(filled(2, 2, bgrToRgb(dest))));
        SetBkColor(from.dc, sourceBk);
        SetTextColor(to.dc, destText);
        SetBkColor(to.dc, destBk);
        QVERIFY(BitBlt(to.dc, 0, 0, 2, 2, from.dc, 0, 0, rop));
        QCOMPARE(pixelAt(to, 1, 1), COLORREF(expected));
    }

    void blitIsClippedToBothBitmaps_data() {
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QRect>("painted"); // in the destination
        QTest::newRow("inside") << QPoint(1, 1) << QPoint(0, 0) << QRect(1, 1, 3, 3);
        QTest::newRow("past the destination") << QPoint(2, -1) << QPoint(0, 0) << QRect(2, 0, 2, 2);
        QTest::newRow("past the source") << QPoint(0, 0) << QPoint(-1, 2) << QRect(1, 0, 2, 1);
        QTest::newRow("far away") << QPoint(INT_MAX - 1, INT_MIN) << QPoint(0, 0) << QRect();
        QTest::newRow("source far away") << QPoint(0, 0) << QPoint(INT_MAX, 0) << QRect();
    }
    void blitIsClippedToBothBitmaps() {
        QFETCH(QPoint, to);
        QFETCH(QPoint, from);
        QFETCH(QRect, painted);
        Surface source(filled(3, 3, qRgb(255, 0, 0)));
        Surface dest(filled(4, 4, qRgb(0, 0, 255)));
        QVERIFY(BitBlt(dest.dc, to.x(), to.y(), 3, 3, source.dc, from.x(), from.y(), SRCCOPY));
        const QImage result = dest.image();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                QCOMPARE(result.pixel(x, y),
                         painted.contains(x, y) ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    }

    void blitWithinOneBitmapReadsTheOldPixels() {
        QImage image(4, 1, QImage::Format_RGB32);
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, 0, qRgb(x * 10, 0, 0));
        Surface surface(image);
        QVERIFY(BitBlt(surface.dc, 1, 0, 3, 1, surface.dc, 0, 0, SRCCOPY));
        const QImage result = surface.image();
        QCOMPARE(result.pixel(1, 0), qRgb(0, 0, 0));
        QCOMPARE(result.pixel(2, 0), qRgb(10, 0, 0));
        QCOMPARE(result.pixel(3, 0), qRgb(20, 0, 0));
    }

    void staleAndWrongHandlesDoNothing() {
        const int live = liveObjectCount();
        const HBITMAP bitmap = createBitmapFromImage(filled(2, 2, qRgb(1, 2, 3)));
        const HDC dc = CreateCompatibleDC(0);
        const HGDIOBJ stock = SelectObject(dc, bitmap);
        QVERIFY(stock != 0);

        // A bitmap lives in one context at a time and is not deleted while there.
        const HDC other = CreateCompatibleDC(0);
        QCOMPARE(SelectObject(other, bitmap), HGDIOBJ(0));
        QCOMPARE(DeleteObject(bitmap), BOOL(0));
        QCOMPARE(SelectObject(dc, stock), bitmap);
        QCOMPARE(SelectObject(other, bitmap), stock);
        QCOMPARE(DeleteDC(other), BOOL(1));

        // The screen's context is released, never deleted, and takes no bitmap.
        const HDC screen = GetDC(0);
        QCOMPARE(SelectObject(screen, bitmap), HGDIOBJ(0));
        QCOMPARE(DeleteDC(screen), BOOL(0));
        QCOMPARE(ReleaseDC(0, screen), 1);
        QCOMPARE(GetDC(1), HDC(0));

        QCOMPARE(DeleteObject(bitmap), BOOL(1));
        QCOMPARE(DeleteObject(bitmap), BOOL(0));
        QCOMPARE(SelectObject(dc, bitmap), HGDIOBJ(0));
        QCOMPARE(DeleteObject(dc), BOOL(0)); // a context is no object
        QCOMPARE(DeleteDC(dc), BOOL(1));
        QCOMPARE(SetBkColor(dc, 0x123456), CLR_INVALID);
        QCOMPARE(GetTextColor(dc), CLR_INVALID);
        QCOMPARE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY), BOOL(0));
        QCOMPARE(RealizePalette(dc), GDI_ERROR);
        QCOMPARE(CreateCompatibleBitmap(dc, 4, 4), HBITMAP(0));
        QCOMPARE(liveObjectCount(), live);
    }

    void selectedPalettesAndBrushesAreKeptUntilDeselected() {
        const HDC screen = GetDC(0);
        const HPALETTE palette = CreateHalftonePalette(screen);
        const HDC dc = CreateCompatibleDC(screen);
        const HPALETTE standard = SelectPalette(dc, palette, -1);
        QVERIFY(standard != 0);
        QCOMPARE(SelectObject(dc, palette), HGDIOBJ(0)); // palettes have their own call
        QCOMPARE(DeleteObject(palette), BOOL(0));
        QCOMPARE(SelectPalette(dc, standard, -1), palette);
        QCOMPARE(DeleteObject(palette), BOOL(1));
        DeleteDC(dc);
        ReleaseDC(0, screen);
    }

    void monochromeBitsAreReadWordAligned() {
        // 10 pixels a row take two 16-bit words; 1 is white.
        const uchar bits[] = {0b10100000, 0b01000000, 0xff, 0x40};
        Surface surface(CreateBitmap(10, 2, 1, 1, bits));
        QCOMPARE(pixelAt(surface, 0, 0), COLORREF(0xFFFFFF));
        QCOMPARE(pixelAt(surface, 1, 0), COLORREF(0));
        QCOMPARE(pixelAt(surface, 9, 0), COLORREF(0xFFFFFF));
        QCOMPARE(pixelAt(surface, 8, 0), COLORREF(0));
        QCOMPARE(pixelAt(surface, 9, 1), COLORREF(0xFFFFFF));
        QCOMPARE(CreateBitmap(2, 2, 1, 8, nullptr), HBITMAP(0));
    }

    void fillRectIsClipped() {
        Surface surface(filled(3, 3, qRgb(0, 0, 0)));
        const HBRUSH brush = CreateSolidBrush(0x0000FF);
        const RECT everything{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
        QCOMPARE(FillRect(surface.dc, &everything, brush), 1);
        QCOMPARE(surface.image(), filled(3, 3, qRgb(255, 0, 0)));
        const RECT inverted{2, 2, 1, 1};
        QCOMPARE(FillRect(surface.dc, &inverted, brush), 1);
        QCOMPARE(FillRect(surface.dc, nullptr, brush), 0);
        DeleteObject(brush);
        QCOMPARE(FillRect(surface.dc, &everything, brush), 0);
    }

    void iconsAreDrawnThroughTheirMasks() {
        // A 16 x 16 icon: left half see-through, its colour inverting where
        // set; right half opaque green.
        QImage colour(16, 16, QImage::Format_RGB32);
        QImage mask(16, 16, QImage::Format_Grayscale8);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                colour.setPixel(
                    x, y, x < 8 ? (y < 8 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) : qRgb(0, 255, 0));
                mask.setPixel(x, y, x < 8 ? 255 : 0);
            }
        const HICON icon = createIconHandle(Icon(colour, mask));
        Surface surface(filled(70, 70, qRgb(200, 0, 0)));

        // DrawIcon uses the system size, so this icon is drawn 32 x 32.
        QVERIFY(DrawIcon(surface.dc, 0, 0, icon));
        QImage result = surface.image();
        QCOMPARE(result.pixel(5, 5), qRgb(200, 0, 0));
        QCOMPARE(result.pixel(5, 20), qRgb(55, 255, 255));
        QCOMPARE(result.pixel(31, 31), qRgb(0, 255, 0));
        QCOMPARE(result.pixel(32, 32), qRgb(200, 0, 0));

        QVERIFY(DrawIconEx(surface.dc, 6, 6, icon, 64, 8, 0, 0, DI_NORMAL));
        result = surface.image();
        QCOMPARE(result.pixel(6 + 63, 6), qRgb(0, 255, 0));
        QCOMPARE(result.pixel(6 + 31, 6 + 7), qRgb(55, 255, 255));
        QCOMPARE(result.pixel(6 + 63, 6 + 8), qRgb(200, 0, 0));

        QCOMPARE(DeleteObject(icon), BOOL(0)); // icons are destroyed, not deleted
        QCOMPARE(DestroyIcon(icon), BOOL(1));
        QCOMPARE(DrawIcon(surface.dc, 0, 0, icon), BOOL(0));
    }

    void oleColoursAreTranslated_data() {
        QTest::addColumn<uint>("ole");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("expected");
        QTest::newRow("plain") << 0x00123456u << true << 0x00123456u;
        QTest::newRow("palette relative") << 0x02123456u << true << 0x02123456u;
        QTest::newRow("button face") << 0x8000000Fu << true << 0x00C0C0C0u;
        QTest::newRow("window") << 0x80000005u << true << 0x00FFFFFFu;
        QTest::newRow("tooltip") << 0x80000018u << true << 0x00E1FFFFu;
        QTest::newRow("menu bar, the last") << 0x8000001Eu << true << 0x00C0C0C0u;
        QTest::newRow("no such system colour") << 0x8000001Fu << false << 0u;
        QTest::newRow("the unused index") << 0x80000019u << false << 0u;
        QTest::newRow("system with extra bits") << 0x80000105u << false << 0u;
        QTest::newRow("palette index") << 0x01000005u << false << 0u;
        QTest::newRow("other high byte") << 0x40123456u << false << 0u;
    }
    void oleColoursAreTranslated() {
        QFETCH(uint, ole);
        QFETCH(bool, valid);
        QFETCH(uint, expected);
        COLORREF result = 0xDEADBEEF;
        QCOMPARE(OleTranslateColor(ole, 0, &result), valid ? S_OK : E_INVALIDARG);
        QCOMPARE(result, valid ? COLORREF(expected) : COLORREF(0xDEADBEEF));
        QCOMPARE(OleTranslateColor(ole, 0, nullptr), valid ? S_OK : E_INVALIDARG);
    }
};

QTEST_GUILESS_MAIN(TestGdi)
#include "tst_gdi.moc"
