#pragma once

#include "compositing/Gdi.h"

#include <QImage>

// A memory context holding its own bitmap, released at the end of scope.
struct GdiSurface {
    gdi::HDC dc = 0;
    gdi::HBITMAP bitmap = 0;
    gdi::HGDIOBJ kept = 0;

    explicit GdiSurface(const QImage& image) : GdiSurface(gdi::createBitmapFromImage(image)) {}
    explicit GdiSurface(gdi::HBITMAP made) : dc(gdi::CreateCompatibleDC(0)), bitmap(made) {
        kept = gdi::SelectObject(dc, bitmap);
    }
    ~GdiSurface() {
        gdi::SelectObject(dc, kept);
        gdi::DeleteObject(bitmap);
        gdi::DeleteDC(dc);
    }
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;
    QImage image() const { return gdi::bitmapImage(bitmap); }
};

inline QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
