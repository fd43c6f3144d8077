#pragma once

#include <QImage>
#include <QLine>
#include <QString>
#include <QWidget>

// Checks of the window's layout tables against what the window shows: the
// layout's units, and pixels seen on a grabbed control.

// The layout is given in twips, 15 to a pixel; values between two pixels go
// to the nearer one.
inline int px(int twips) {
    return qRound(twips / 15.0);
}
inline QRect pxRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}
inline QRgb fromBgr(quint32 bgr) {
    return qRgb(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kWhite = qRgb(255, 255, 255);
inline const QRgb kPageGrey = qRgb(192, 192, 192);

// Where two images differ first, for a message; empty when they are equal.
inline QString firstDifference(const QImage& seen, const QImage& expected) {
    if (seen.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(seen.width())
            .arg(seen.height())
            .arg(expected.width())
            .arg(expected.height());
    for (int y = 0; y < seen.height(); ++y)
        for (int x = 0; x < seen.width(); ++x)
            if (seen.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(seen.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'));
    return {};
}

inline QImage grabbed(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of `colour` run through `p` across a line: up and down
// for a line along x, left and right for one along y; 0 when `p` is not that
// colour.
inline int thickness(const QImage& image, QPoint p, bool lineAlongX, QRgb colour) {
    const QPoint step = lineAlongX ? QPoint(0, 1) : QPoint(1, 0);
    auto is = [&](QPoint q) { return image.valid(q) && image.pixel(q) == colour; };
    if (!is(p))
        return 0;
    int run = 1;
    for (QPoint q = p - step; is(q); q -= step)
        ++run;
    for (QPoint q = p + step; is(q); q += step)
        ++run;
    return run;
}

// Whether a black line `width` pixels wide is seen between two ends given in
// twips: every few pixels along it, a straight line is exactly that thick
// (on its pixel row or the one before, as the pen centres it), and a slanting
// one passes within a pixel of where it should. Empty when it is seen.
inline QString lineMissing(const QImage& seen, QLine twips, int width) {
    const QPoint from(px(twips.x1()), px(twips.y1())), to(px(twips.x2()), px(twips.y2()));
    const bool alongX = qAbs(to.x() - from.x()) >= qAbs(to.y() - from.y());
    const int a0 = alongX ? from.x() : from.y(), a1 = alongX ? to.x() : to.y();
    const int b0 = alongX ? from.y() : from.x(), b1 = alongX ? to.y() : to.x();
    auto point = [&](int a, int b) { return alongX ? QPoint(a, b) : QPoint(b, a); };
    const int step = a0 < a1 ? 1 : -1;
    for (int a = a0 + step; a != a1; a += step) {
        if ((a - a0) % 7 != 0)
            continue;
        const int b = b0 + qRound((b1 - b0) * double(a - a0) / (a1 - a0));
        const bool seenThere =
            b0 == b1 ? thickness(seen, point(a, b), alongX, kBlack) == width ||
                           thickness(seen, point(a, b - 1), alongX, kBlack) == width
                     : seen.pixel(point(a, b)) == kBlack || seen.pixel(point(a, b - 1)) == kBlack ||
                           seen.pixel(point(a, b + 1)) == kBlack;
        if (!seenThere)
            return QStringLiteral("not seen at %1,%2").arg(point(a, b).x()).arg(point(a, b).y());
    }
    return {};
}
