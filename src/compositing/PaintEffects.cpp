#include "compositing/PaintEffects.h"

#include "compositing/Gdi.h"
#include "compositing/RuntimeError.h"

using namespace gdi;

namespace {

constexpr BOOL kBackground = -1;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0x00000000;

[[noreturn]] void raiseInvalidPicture() {
    throw RuntimeError(RuntimeError::kInvalidPicture, "Invalid picture");
}

} // namespace

void PaintEffects::Class_Initialize() {
    const HDC screen = GetDC(0);
    halftonePalette = CreateHalftonePalette(screen);
    ReleaseDC(0, screen);
}

void PaintEffects::Class_Terminate() {
    DeleteObject(halftonePalette);
}

void PaintEffects::PaintTransparentDC(HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                                      qint32 Height, HDC hdcSrc, qint32 XSrc, qint32 YSrc,
                                      OLE_COLOR clrMask, HPALETTE hPal) {
    const HDC screen = GetDC(0);
    if (hPal == 0)
        hPal = halftonePalette;
    // An untranslatable mask colour leaves m black, as the platform call
    // writes nothing on failure.
    COLORREF m = 0;
    OleTranslateColor(clrMask, hPal, &m);

    // A: the destination as it was, to be combined and copied back.
    const HDC dcA = CreateCompatibleDC(screen);
    const HBITMAP bitmapA = CreateCompatibleBitmap(screen, Width, Height);
    const HGDIOBJ keptBitmapA = SelectObject(dcA, bitmapA);
    const HPALETTE keptPaletteA = SelectPalette(dcA, hPal, kBackground);
    RealizePalette(dcA);
    BitBlt(dcA, 0, 0, Width, Height, hdcDest, xDest, yDest, SRCCOPY);

    // B: the source; M: the mask of its transparent pixels.
    const HBITMAP bitmapB = CreateCompatibleBitmap(screen, Width, Height);
    const HBITMAP bitmapM = CreateBitmap(Width, Height, 1, 1, nullptr);
    const HDC dcB = CreateCompatibleDC(screen);
    const HGDIOBJ keptBitmapB = SelectObject(dcB, bitmapB);
    const HPALETTE keptPaletteB = SelectPalette(dcB, hPal, kBackground);
    RealizePalette(dcB);
    SetBkColor(dcB, GetBkColor(hdcSrc));
    SetTextColor(dcB, GetTextColor(hdcSrc));
    // Where the rectangle reaches past the source bitmap there is no source
    // pixel, and a fresh bitmap is black: starting B in the mask colour makes
    // those pixels transparent instead of painting black over the destination.
    const HBRUSH maskBrush = CreateSolidBrush(m);
    const RECT whole{0, 0, Width, Height};
    FillRect(dcB, &whole, maskBrush);
    DeleteObject(maskBrush);
    BitBlt(dcB, 0, 0, Width, Height, hdcSrc, XSrc, YSrc, SRCCOPY);

    const HDC dcM = CreateCompatibleDC(screen);
    const HGDIOBJ keptBitmapM = SelectObject(dcM, bitmapM);

    SetBkColor(dcB, m);
    SetTextColor(dcB, kWhite);
    BitBlt(dcM, 0, 0, Width, Height, dcB, 0, 0, SRCCOPY);

    // M copied in as white where transparent and black elsewhere, so the
    // transparent pixels of B turn black and the others stay.
    SetTextColor(dcB, kBlack);
    SetBkColor(dcB, kWhite);
    BitBlt(dcB, 0, 0, Width, Height, dcM, 0, 0, DSna);

    // A keeps a new context's black text and white background, so the
    // destination survives only under the transparent pixels.
    BitBlt(dcA, 0, 0, Width, Height, dcM, 0, 0, SRCAND);
    BitBlt(dcA, 0, 0, Width, Height, dcB, 0, 0, SRCPAINT);
    // Without all three bitmaps the contexts still hold their 1 x 1 stock
    // bitmap, whose pixel must not reach the destination.
    if (bitmapA && bitmapB && bitmapM)
        BitBlt(hdcDest, xDest, yDest, Width, Height, dcA, 0, 0, SRCCOPY);

    SelectObject(dcB, keptBitmapB);
    DeleteObject(bitmapB);
    SelectPalette(dcB, keptPaletteB, kBackground);
    RealizePalette(dcB);
    DeleteDC(dcB);
    SelectObject(dcA, keptBitmapA);
    DeleteObject(bitmapA);
    SelectPalette(dcA, keptPaletteA, kBackground);
    RealizePalette(dcA);
    DeleteDC(dcA);
    SelectObject(dcM, keptBitmapM);
    DeleteObject(bitmapM);
    DeleteDC(dcM);
    ReleaseDC(0, screen);
}

void PaintEffects::PaintTransparentStdPic(HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                                          qint32 Height, const StdPicture* picSource, qint32 XSrc,
                                          qint32 YSrc, OLE_COLOR clrMask, HPALETTE hPal) {
    if (!picSource)
        return;
    const qint16 type = picSource->Type;
    if (type == StdPicture::vbPicTypeBitmap) {
        const HDC screen = GetDC(0);
        if (hPal == 0)
            hPal = halftonePalette;
        const HDC dc = CreateCompatibleDC(screen);
        const HGDIOBJ keptBitmap = SelectObject(dc, picSource->Handle);
        const HPALETTE keptPalette = SelectPalette(dc, hPal, kBackground);
        RealizePalette(dc);
        // A handle that is no free bitmap leaves the stock 1 x 1 bitmap in
        // the context, and that pixel is no part of the picture.
        if (keptBitmap)
            PaintTransparentDC(hdcDest, xDest, yDest, Width, Height, dc, XSrc, YSrc, clrMask, hPal);
        SelectObject(dc, keptBitmap);
        SelectPalette(dc, keptPalette, kBackground);
        RealizePalette(dc);
        DeleteDC(dc);
        ReleaseDC(0, screen);
    } else if (type == StdPicture::vbPicTypeIcon) {
        const HDC screen = GetDC(0);
        if (hPal == 0)
            hPal = halftonePalette;
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP canvas = CreateCompatibleBitmap(screen, Width, Height);
        const HGDIOBJ keptBitmap = SelectObject(dc, canvas);
        const HPALETTE keptPalette = SelectPalette(dc, hPal, kBackground);
        RealizePalette(dc);

        // The icon's own see-through area keeps the mask colour and so stays
        // transparent.
        COLORREF m = 0;
        OleTranslateColor(clrMask, 0, &m);
        const HBRUSH brush = CreateSolidBrush(m);
        const RECT whole{0, 0, Width, Height};
        FillRect(dc, &whole, brush);
        DeleteObject(brush);
        DrawIcon(dc, 0, 0, picSource->Handle);
        PaintTransparentDC(hdcDest, xDest, yDest, Width, Height, dc, 0, 0, m, hPal);

        SelectObject(dc, keptBitmap);
        DeleteObject(canvas);
        SelectPalette(dc, keptPalette, kBackground);
        RealizePalette(dc);
        DeleteDC(dc);
        ReleaseDC(0, screen);
    }
}

void PaintEffects::PaintNormalStdPic(HDC hdcDest, qint32 xDest, qint32 yDest, qint32 Width,
                                     qint32 Height, const StdPicture* picSource, qint32 XSrc,
                                     qint32 YSrc, HPALETTE hPal) {
    if (!picSource)
        raiseInvalidPicture();
    const qint16 type = picSource->Type;
    if (type == StdPicture::vbPicTypeBitmap) {
        if (hPal == 0)
            hPal = halftonePalette;
        const HDC screen = GetDC(0);
        const HDC dc = CreateCompatibleDC(screen);
        const HPALETTE keptPalette = SelectPalette(dc, hPal, kBackground);
        RealizePalette(dc);
        const HGDIOBJ keptBitmap = SelectObject(dc, picSource->Handle);
        if (keptBitmap)
            BitBlt(hdcDest, xDest, yDest, Width, Height, dc, XSrc, YSrc, SRCCOPY);
        SelectObject(dc, keptBitmap);
        SelectPalette(dc, keptPalette, kBackground);
        RealizePalette(dc);
        DeleteDC(dc);
        ReleaseDC(0, screen);
    } else if (type == StdPicture::vbPicTypeIcon) {
        DrawIconEx(hdcDest, xDest, yDest, picSource->Handle, Width, Height, 0, 0, DI_NORMAL);
    } else {
        raiseInvalidPicture();
    }
}
