#include "compositing/Gdi.h"
#include "compositing/GdiTable.h"
#include "platform/Units.h"

#include <algorithm>
#include <climits>

namespace gdi {

namespace {

// One icon pixel drawn over `d` (0x00RRGGBB): through both masks the AND
// mask keeps or clears and the colour image inverts; either mask alone is
// copied.
quint32 iconPixel(quint32 d, bool keep, quint32 image, bool useMask, bool useImage) {
    if (useMask && useImage)
        return (keep ? d : 0) ^ image;
    if (useMask)
        return keep ? 0x00ffffffu : 0;
    return image;
}

} // namespace

HICON createIconHandle(const Icon& icon) {
    if (icon.isNull())
        return 0;
    GdiObject object;
    object.kind = ObjectKind::Icon;
    object.icon = icon;
    return GdiTable::instance().addObject(std::move(object));
}

BOOL DestroyIcon(HICON hIcon) {
    GdiTable& table = GdiTable::instance();
    if (!table.object(hIcon, ObjectKind::Icon))
        return 0;
    table.removeObject(hIcon);
    return 1;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, 0, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                UINT /*istepIfAniCur*/, HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    GdiTable& table = GdiTable::instance();
    QImage* surface = table.surface(hdc);
    const GdiObject* object = table.object(hIcon, ObjectKind::Icon);
    if (!surface || !object || cxWidth < 0 || cyWidth < 0 || (diFlags & DI_NORMAL) == 0)
        return 0;
    const Icon& icon = object->icon;
    const bool systemSize = diFlags & DI_DEFAULTSIZE;
    const int width = cxWidth ? cxWidth : systemSize ? kSystemIconSize : icon.width();
    const int height = cyWidth ? cyWidth : systemSize ? kSystemIconSize : icon.height();

    if (hbrFlickerFreeDraw) {
        const RECT area{xLeft, yTop, int(std::min<qint64>(qint64(xLeft) + width, INT_MAX)),
                        int(std::min<qint64>(qint64(yTop) + height, INT_MAX))};
        FillRect(hdc, &area, hbrFlickerFreeDraw);
    }

    const bool useMask = diFlags & DI_MASK;
    const bool useImage = diFlags & DI_IMAGE;
    const bool colour = surface->format() == QImage::Format_RGB32;
    const qint64 x0 = std::max<qint64>(0, xLeft);
    const qint64 y0 = std::max<qint64>(0, yTop);
    const qint64 x1 = std::min<qint64>(surface->width(), qint64(xLeft) + width);
    const qint64 y1 = std::min<qint64>(surface->height(), qint64(yTop) + height);
    for (qint64 y = y0; y < y1; ++y) {
        // Stretching picks the nearest icon pixel, as the platform's icon
        // drawing does.
        const int iy = int((y - yTop) * icon.height() / height);
        uchar* row = surface->scanLine(int(y));
        for (qint64 x = x0; x < x1; ++x) {
            const int ix = int((x - xLeft) * icon.width() / width);
            const bool keep = icon.maskBit(ix, iy);
            const quint32 image = icon.colourAt(ix, iy) & 0x00ffffffu;
            if (colour) {
                quint32& d = reinterpret_cast<quint32*>(row)[x];
                d = iconPixel(d & 0x00ffffffu, keep, image, useMask, useImage) | 0xff000000u;
            } else {
                // On a monochrome bitmap the colour image counts as white or black.
                const quint32 bit = isLightColour(rgbToBgr(image)) ? 0x00ffffffu : 0;
                row[x] =
                    iconPixel(row[x] ? 0x00ffffffu : 0, keep, bit, useMask, useImage) ? 255 : 0;
            }
        }
    }
    return 1;
}

} // namespace gdi
