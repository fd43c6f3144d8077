#include "compositing/Gdi.h"
#include "compositing/GdiTable.h"

#include <cstring>

namespace gdi {

namespace {

// A bitmap larger than this fails to be made, as a real one would for want
// of memory: 256 MB of colour pixels.
constexpr qint64 kMaxBitmapPixels = qint64(1) << 26;
constexpr int kHalftoneEntries = 256;

GdiTable& table() {
    return GdiTable::instance();
}

HBITMAP addBitmap(QImage pixels) {
    if (pixels.isNull())
        return 0;
    GdiObject bitmap;
    bitmap.pixels = std::move(pixels);
    return table().addObject(std::move(bitmap));
}

HBITMAP newBitmap(int width, int height, bool colour) {
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxBitmapPixels)
        return 0;
    QImage pixels(width, height, colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    pixels.fill(colour ? 0xff000000u : 0u);
    return addBitmap(std::move(pixels));
}

void release(HGDIOBJ handle) {
    GdiObject* object = table().object(handle);
    if (!object)
        return;
    if (object->kind == ObjectKind::Bitmap)
        object->selectedInto = 0;
    else if (object->selections > 0)
        --object->selections;
}

void hold(HGDIOBJ handle, HDC hdc) {
    GdiObject* object = table().object(handle);
    if (!object)
        return;
    if (object->kind == ObjectKind::Bitmap) {
        if (!object->stock)
            object->selectedInto = hdc;
    } else {
        ++object->selections;
    }
}

} // namespace

HDC GetDC(HWND hWnd) {
    if (hWnd != 0)
        return 0;
    DeviceContext screen;
    screen.screen = true;
    screen.bitmap = table().screenBitmap();
    screen.brush = table().whiteBrush();
    screen.palette = table().defaultPalette();
    return table().addContext(screen);
}

int ReleaseDC(HWND hWnd, HDC hDC) {
    DeviceContext* dc = table().context(hDC);
    if (hWnd != 0 || !dc || !dc->screen)
        return 0;
    release(dc->palette);
    table().removeContext(hDC);
    return 1;
}

HDC CreateCompatibleDC(HDC hdc) {
    if (hdc != 0 && !table().context(hdc))
        return 0;
    DeviceContext memory;
    memory.bitmap = table().defaultBitmap();
    memory.brush = table().whiteBrush();
    memory.palette = table().defaultPalette();
    return table().addContext(memory);
}

BOOL DeleteDC(HDC hdc) {
    DeviceContext* dc = table().context(hdc);
    if (!dc || dc->screen)
        return 0;
    // What is still selected is set free, not deleted: the caller owns it.
    release(dc->bitmap);
    release(dc->brush);
    release(dc->palette);
    table().removeContext(hdc);
    return 1;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    const QImage* surface = table().surface(hdc);
    if (!surface || cx < 0 || cy < 0)
        return 0;
    if (cx == 0 || cy == 0)
        return newBitmap(1, 1, false);
    return newBitmap(cx, cy, surface->format() == QImage::Format_RGB32);
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void* lpBits) {
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32))
        return 0;
    const bool colour = nBitCount == 32;
    const HBITMAP handle = newBitmap(nWidth, nHeight, colour);
    if (!handle || !lpBits)
        return handle;
    QImage& pixels = table().object(handle)->pixels;
    const auto* bits = static_cast<const uchar*>(lpBits);
    const int stride = colour ? nWidth * 4 : (nWidth + 15) / 16 * 2;
    for (int y = 0; y < nHeight; ++y) {
        const uchar* row = bits + qint64(y) * stride;
        if (colour) {
            auto* out = reinterpret_cast<quint32*>(pixels.scanLine(y));
            std::memcpy(out, row, size_t(nWidth) * 4);
            for (int x = 0; x < nWidth; ++x)
                out[x] |= 0xff000000u;
        } else {
            uchar* out = pixels.scanLine(y);
            for (int x = 0; x < nWidth; ++x)
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
        }
    }
    return handle;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DeviceContext* dc = table().context(hdc);
    GdiObject* object = table().object(h);
    if (!dc || !object)
        return 0;
    HGDIOBJ* slot = nullptr;
    if (object->kind == ObjectKind::Bitmap) {
        if (dc->screen || (object->selectedInto != 0 && object->selectedInto != hdc))
            return 0;
        slot = &dc->bitmap;
    } else if (object->kind == ObjectKind::Brush) {
        slot = &dc->brush;
    } else {
        return 0; // palettes go through SelectPalette; icons are never selected
    }
    const HGDIOBJ previous = *slot;
    if (previous != h) {
        release(previous);
        hold(h, hdc);
        *slot = h;
    }
    return previous;
}

BOOL DeleteObject(HGDIOBJ ho) {
    GdiObject* object = table().object(ho);
    if (!object || object->kind == ObjectKind::Icon)
        return 0;
    if (object->stock)
        return 1;
    if (object->selectedInto != 0 || object->selections > 0)
        return 0;
    table().removeObject(ho);
    return 1;
}

HPALETTE CreateHalftonePalette(HDC hdc) {
    if (!table().context(hdc))
        return 0;
    GdiObject palette;
    palette.kind = ObjectKind::Palette;
    palette.paletteEntries = kHalftoneEntries;
    return table().addObject(palette);
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL /*bForceBkgd*/) {
    DeviceContext* dc = table().context(hdc);
    if (!dc || !table().object(hPal, ObjectKind::Palette))
        return 0;
    const HPALETTE previous = dc->palette;
    if (previous != hPal) {
        release(previous);
        hold(hPal, hdc);
        dc->palette = hPal;
    }
    return previous;
}

UINT RealizePalette(HDC hdc) {
    // A true-colour surface has no system palette to map entries into.
    return table().context(hdc) ? 0 : GDI_ERROR;
}

namespace {

// The background and text colours are read and set alike: the old colour
// back, CLR_INVALID for a handle that is no context.
COLORREF colourOf(HDC hdc, COLORREF DeviceContext::*colour) {
    const DeviceContext* dc = table().context(hdc);
    return dc ? dc->*colour : CLR_INVALID;
}

COLORREF exchangeColour(HDC hdc, COLORREF DeviceContext::*colour, COLORREF color) {
    DeviceContext* dc = table().context(hdc);
    if (!dc)
        return CLR_INVALID;
    const COLORREF previous = dc->*colour;
    dc->*colour = color;
    return previous;
}

} // namespace

COLORREF GetBkColor(HDC hdc) {
    return colourOf(hdc, &DeviceContext::bkColour);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return exchangeColour(hdc, &DeviceContext::bkColour, color);
}

COLORREF GetTextColor(HDC hdc) {
    return colourOf(hdc, &DeviceContext::textColour);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return exchangeColour(hdc, &DeviceContext::textColour, color);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiObject brush;
    brush.kind = ObjectKind::Brush;
    brush.colour = color;
    return table().addObject(brush);
}

HBITMAP createBitmapFromImage(const QImage& image) {
    if (image.isNull() || qint64(image.width()) * image.height() > kMaxBitmapPixels)
        return 0;
    return addBitmap(image.convertToFormat(QImage::Format_RGB32));
}

QImage bitmapImage(HBITMAP bitmap) {
    const GdiObject* object = table().object(bitmap, ObjectKind::Bitmap);
    return object ? object->pixels.copy() : QImage();
}

int liveObjectCount() {
    return table().liveCount();
}

} // namespace gdi
