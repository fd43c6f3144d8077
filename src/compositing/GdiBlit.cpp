#include "compositing/Gdi.h"
#include "compositing/GdiTable.h"
#include "platform/Units.h"

#include <algorithm>
#include <cstring>

namespace gdi {

namespace {

enum class Rop { Copy, And, Paint, AndNot };

constexpr quint32 kOpaque = 0xff000000u;

bool isColour(const QImage& image) {
    return image.format() == QImage::Format_RGB32;
}

template <Rop rop, typename T> inline T combine(T d, T s) {
    if constexpr (rop == Rop::Copy)
        return s;
    else if constexpr (rop == Rop::And)
        return d & s;
    else if constexpr (rop == Rop::Paint)
        return d | s;
    else
        return T(d & ~s);
}

// Runs `f(destination, source)` over a row a block of pixels at a time, with
// no branch on a pixel and the rows declared apart, so the compiler turns each
// block into a few vector instructions even at -O2. That keeps a transfer
// near the cost of a plain copy.
template <typename Out, typename In, typename F>
inline void eachPixel(Out* __restrict d, const In* __restrict s, int n, F f) {
    constexpr int kBlock = 16;
    int i = 0;
    for (; i + kBlock <= n; i += kBlock)
        for (int k = 0; k < kBlock; ++k)
            d[i + k] = f(d[i + k], s[i + k]);
    for (; i < n; ++i)
        d[i] = f(d[i], s[i]);
}

template <Rop rop> void colourRow(quint32* d, const quint32* s, int n) {
    if constexpr (rop == Rop::Copy)
        std::memcpy(d, s, size_t(n) * 4);
    else
        eachPixel(d, s, n, [](quint32 dp, quint32 sp) { return combine<rop>(dp, sp) | kOpaque; });
}

template <Rop rop> void monoRow(uchar* d, const uchar* s, int n) {
    if constexpr (rop == Rop::Copy)
        std::memcpy(d, s, size_t(n));
    else
        eachPixel(d, s, n, [](uchar dp, uchar sp) { return combine<rop>(dp, sp); });
}

template <Rop rop> void colourToMonoRow(uchar* d, const quint32* s, int n, quint32 key) {
    eachPixel(d, s, n, [key](uchar dp, quint32 sp) {
        const uchar bit = (sp & 0x00ffffffu) == key ? 0xff : 0x00;
        return combine<rop>(dp, bit);
    });
}

template <Rop rop>
void monoToColourRow(quint32* d, const uchar* s, int n, quint32 zero, quint32 one) {
    eachPixel(d, s, n, [zero, one](quint32 dp, uchar sp) {
        // A set byte is all ones, so the colour is chosen without a branch.
        const quint32 mask = quint32(qint32(qint8(sp)));
        const quint32 colour = (one & mask) | (zero & ~mask);
        return combine<rop>(dp, colour) | kOpaque;
    });
}

struct Transfer {
    QImage* dest;
    const QImage* source;
    int dx, dy, sx, sy, width, height;
    quint32 sourceKey; // the source's background colour, as RGB
    quint32 destZero;  // the destination's text colour, as opaque RGB
    quint32 destOne;   // the destination's background colour, as opaque RGB
};

template <Rop rop> void transfer(const Transfer& t) {
    const bool colourIn = isColour(*t.source);
    const bool colourOut = isColour(*t.dest);
    for (int row = 0; row < t.height; ++row) {
        const uchar* in = t.source->constScanLine(t.sy + row);
        uchar* out = t.dest->scanLine(t.dy + row);
        if (colourIn && colourOut)
            colourRow<rop>(reinterpret_cast<quint32*>(out) + t.dx,
                           reinterpret_cast<const quint32*>(in) + t.sx, t.width);
        else if (colourIn)
            colourToMonoRow<rop>(out + t.dx, reinterpret_cast<const quint32*>(in) + t.sx, t.width,
                                 t.sourceKey);
        else if (colourOut)
            monoToColourRow<rop>(reinterpret_cast<quint32*>(out) + t.dx, in + t.sx, t.width,
                                 t.destZero, t.destOne);
        else
            monoRow<rop>(out + t.dx, in + t.sx, t.width);
    }
}

} // namespace

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    GdiTable& table = GdiTable::instance();
    const DeviceContext* destContext = table.context(hdc);
    const DeviceContext* sourceContext = table.context(hdcSrc);
    QImage* dest = table.surface(hdc);
    const QImage* source = table.surface(hdcSrc);
    if (!dest || !source)
        return 0;
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT && rop != DSna)
        return 0;
    if (cx <= 0 || cy <= 0)
        return 1;

    // Clip in 64 bits: a corner near the end of the 32-bit range plus a size
    // must not wrap around.
    const qint64 left = std::max<qint64>({0, -qint64(x), -qint64(x1)});
    const qint64 top = std::max<qint64>({0, -qint64(y), -qint64(y1)});
    const qint64 right =
        std::min<qint64>({qint64(cx), qint64(dest->width()) - x, qint64(source->width()) - x1});
    const qint64 bottom =
        std::min<qint64>({qint64(cy), qint64(dest->height()) - y, qint64(source->height()) - y1});
    if (left >= right || top >= bottom)
        return 1;

    Transfer t{dest,
               source,
               int(x + left),
               int(y + top),
               int(x1 + left),
               int(y1 + top),
               int(right - left),
               int(bottom - top),
               bgrToRgb(sourceContext->bkColour) & 0x00ffffffu,
               bgrToRgb(destContext->textColour),
               bgrToRgb(destContext->bkColour)};

    // A transfer within one bitmap reads from a copy, so overlapping
    // rectangles see the source as it was.
    QImage sourceCopy;
    if (source == dest) {
        sourceCopy = source->copy(t.sx, t.sy, t.width, t.height);
        t.source = &sourceCopy;
        t.sx = 0;
        t.sy = 0;
    }

    switch (rop) {
    case SRCCOPY:
        transfer<Rop::Copy>(t);
        break;
    case SRCAND:
        transfer<Rop::And>(t);
        break;
    case SRCPAINT:
        transfer<Rop::Paint>(t);
        break;
    default:
        transfer<Rop::AndNot>(t);
        break;
    }
    return 1;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    GdiTable& table = GdiTable::instance();
    QImage* surface = table.surface(hDC);
    const GdiObject* brush = table.object(hbr, ObjectKind::Brush);
    if (!surface || !brush || !lprc)
        return 0;
    const qint64 left = std::max<qint64>(0, lprc->left);
    const qint64 top = std::max<qint64>(0, lprc->top);
    const qint64 right = std::min<qint64>(surface->width(), lprc->right);
    const qint64 bottom = std::min<qint64>(surface->height(), lprc->bottom);
    if (left >= right || top >= bottom)
        return 1;
    const QRect area(int(left), int(top), int(right - left), int(bottom - top));
    if (isColour(*surface)) {
        const quint32 colour = bgrToRgb(brush->colour);
        auto* first = reinterpret_cast<quint32*>(surface->scanLine(area.top())) + area.left();
        std::fill(first, first + area.width(), colour);
        for (int row = area.top() + 1; row <= area.bottom(); ++row)
            std::memcpy(reinterpret_cast<quint32*>(surface->scanLine(row)) + area.left(), first,
                        size_t(area.width()) * 4);
    } else {
        const uchar bit = isLightColour(brush->colour) ? 0xff : 0x00;
        for (int row = area.top(); row <= area.bottom(); ++row)
            std::memset(surface->scanLine(row) + area.left(), bit, size_t(area.width()));
    }
    return 1;
}

} // namespace gdi
