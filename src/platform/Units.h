#pragma once

#include <QRect>
#include <QRgb>
#include <QtGlobal>

#include <cmath>

// The layout and the canvas speak twips, as the window was designed on a
// 96-dots-per-inch screen: 15 twips to a pixel. This is the one place that
// converts.
inline constexpr int kTwipsPerPixel = 15;

// Layout values that are not whole pixels (250 twips is 16.67) go to the
// nearest pixel, as the window system placed them.
inline constexpr int twipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
// A control's place and size, given in twips, on the pixel grid.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
inline QPoint twipsPoint(int x, int y) {
    return QPoint(twipsToPixels(x), twipsToPixels(y));
}

inline constexpr double twipsToPixelsF(double twips) {
    return twips / kTwipsPerPixel;
}
inline constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Floats become 16-bit integers by rounding to the nearest, halves to the even
// neighbour. Values beyond the 16-bit range are clamped instead of failing: a
// drag carried far off the canvas on a wide screen must not end the program.
inline qint16 roundToInt16(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= -32768.0)
        return -32768;
    if (rounded >= 32767.0)
        return 32767;
    return static_cast<qint16>(rounded);
}

// Colours in the design are 0x00BBGGRR; Qt wants RGB.
inline constexpr QRgb bgrToRgb(quint32 bgr) {
    return 0xff000000u | ((bgr & 0xffu) << 16) | (bgr & 0xff00u) | ((bgr >> 16) & 0xffu);
}
inline constexpr quint32 rgbToBgr(QRgb rgb) {
    return ((rgb >> 16) & 0xffu) | (rgb & 0xff00u) | ((rgb & 0xffu) << 16);
}
