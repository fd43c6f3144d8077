#include "canvas/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double kEpsilon = 1e-9;

struct Span {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool empty() const { return lo > hi; }
    void join(double a, double b) {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
    }
};

// The image's pixels, looked up once per figure: QImage::scanLine checks for
// sharing on every call, which a filled ellipse would pay on every span.
struct Pixels {
    explicit Pixels(QImage& image)
        : bits(image.bits()), bytesPerLine(image.bytesPerLine()), width(image.width()),
          height(image.height()) {}
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPerLine); }
    uchar* bits;
    qsizetype bytesPerLine;
    int width;
    int height;
};

// The rectangle a figure touched, kept as plain bounds: a QRect union per
// span costs more than the span.
struct Bounds {
    int left = std::numeric_limits<int>::max();
    int top = std::numeric_limits<int>::max();
    int right = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::min();
    void add(int row, int first, int last) {
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, row);
        bottom = std::max(bottom, row);
    }
    QRect rect() const {
        return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }
};

void fillSpan(const Pixels& image, int row, int first, int last, QRgb colour, Bounds& touched) {
    first = std::max(first, 0);
    last = std::min(last, image.width - 1);
    if (row < 0 || row >= image.height || first > last)
        return;
    QRgb* line = image.row(row);
    // Long spans are copied from a row of the colour: the compiler does not
    // vectorise a plain fill at -O2, and a filled ellipse is a canvas of spans.
    // Two rows are kept, as a filled figure alternates its fill and outline.
    static std::vector<QRgb> colourRows[2];
    static int nextRow = 0;
    const int count = last - first + 1;
    if (count < 32) {
        std::fill(line + first, line + last + 1, colour);
    } else {
        std::vector<QRgb>* source = nullptr;
        for (auto& candidate : colourRows)
            if (candidate.size() >= static_cast<size_t>(count) && candidate.front() == colour)
                source = &candidate;
        if (!source) {
            source = &colourRows[nextRow];
            nextRow = 1 - nextRow;
            source->assign(std::max<size_t>(static_cast<size_t>(image.width), count), colour);
        }
        std::memcpy(line + first, source->data(), static_cast<size_t>(count) * sizeof(QRgb));
    }
    touched.add(row, first, last);
}

// Pixels whose centres lie in [lo, hi].
void pixelRange(double lo, double hi, int& first, int& last) {
    first = static_cast<int>(std::ceil(lo - 0.5 - kEpsilon));
    last = static_cast<int>(std::floor(hi - 0.5 + kEpsilon));
}

// Intersects `span` with the x values where lo <= k * (x - x0) + c <= hi.
void clipLinear(Span& span, double k, double x0, double c, double lo, double hi) {
    if (std::abs(k) < kEpsilon) {
        if (c < lo - kEpsilon || c > hi + kEpsilon)
            span = Span{};
        return;
    }
    double a = x0 + (lo - c) / k;
    double b = x0 + (hi - c) / k;
    if (a > b)
        std::swap(a, b);
    span.lo = std::max(span.lo, a);
    span.hi = std::min(span.hi, b);
}

// Clamps far-away coordinates so the arithmetic below stays finite and the
// loops stay short; the image is at most a few thousand pixels.
double clampCoordinate(double v) {
    return std::clamp(v, -100000.0, 100000.0);
}

} // namespace

namespace Raster {

QPointF snap(QPointF pixels, int width) {
    const double offset = (width % 2 == 1) ? 0.5 : 0.0;
    return QPointF(std::floor(clampCoordinate(pixels.x())) + offset,
                   std::floor(clampCoordinate(pixels.y())) + offset);
}

QRect segment(QImage& image, QPointF from, QPointF to, int width, QRgb colour) {
    Bounds touched;
    const Pixels pixels(image);
    const double r = std::max(width, 1) / 2.0;
    const QPointF a = snap(from, width);
    const QPointF b = snap(to, width);
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double length = std::hypot(dx, dy);
    const int top = std::max(0, static_cast<int>(std::floor(std::min(a.y(), b.y()) - r)));
    const int bottom =
        std::min(image.height() - 1, static_cast<int>(std::ceil(std::max(a.y(), b.y()) + r)));
    for (int row = top; row <= bottom; ++row) {
        const double y = row + 0.5;
        Span span;
        for (const QPointF& end : {a, b}) {
            const double dyEnd = y - end.y();
            if (std::abs(dyEnd) <= r + kEpsilon) {
                const double half = std::sqrt(std::max(0.0, r * r - dyEnd * dyEnd));
                span.join(end.x() - half, end.x() + half);
            }
        }
        if (length > kEpsilon) {
            // The band along the segment: perpendicular distance within r and
            // the projection between the two ends.
            Span band{-std::numeric_limits<double>::infinity(),
                      std::numeric_limits<double>::infinity()};
            clipLinear(band, dy, a.x(), -(y - a.y()) * dx, -r * length, r * length);
            clipLinear(band, dx, a.x(), (y - a.y()) * dy, 0, length * length);
            if (!band.empty())
                span.join(band.lo, band.hi);
        }
        if (span.empty())
            continue;
        int first = 0, last = -1;
        pixelRange(span.lo, span.hi, first, last);
        fillSpan(pixels, row, first, last, colour, touched);
    }
    return touched.rect();
}

QRect fillRect(QImage& image, QPoint a, QPoint b, QRgb colour) {
    Bounds touched;
    const Pixels pixels(image);
    const int top = std::max(std::min(a.y(), b.y()), 0);
    const int bottom = std::min(std::max(a.y(), b.y()), image.height() - 1);
    for (int row = top; row <= bottom; ++row)
        fillSpan(pixels, row, std::min(a.x(), b.x()), std::max(a.x(), b.x()), colour, touched);
    return touched.rect();
}

QRect ellipse(QImage& image, QPointF centre, double rx, double ry, bool fill, QRgb fillColour,
              bool outline, QRgb outlineColour) {
    Bounds touched;
    const Pixels pixels(image);
    const double cx = clampCoordinate(centre.x());
    const double cy = clampCoordinate(centre.y());
    rx = std::min(std::abs(rx), 100000.0);
    ry = std::min(std::abs(ry), 100000.0);
    int top = static_cast<int>(std::ceil(cy - ry - 0.5 - kEpsilon));
    int bottom = static_cast<int>(std::floor(cy + ry - 0.5 + kEpsilon));
    if (top > bottom) // thinner than a pixel row: the row under the centre
        top = bottom = static_cast<int>(std::floor(cy));
    // The pixels of one row, or false outside the ellipse. A row the ellipse
    // spans always gets the pixel under the centre, so a zero-width ellipse
    // is still a visible stroke.
    auto rowSpan = [&](int row, int& first, int& last) {
        if (row < top || row > bottom)
            return false;
        const double t = ry > 0 ? std::clamp((row + 0.5 - cy) / ry, -1.0, 1.0) : 0.0;
        const double half = rx * std::sqrt(1 - t * t);
        pixelRange(cx - half, cx + half, first, last);
        if (first > last)
            first = last = static_cast<int>(std::floor(cx));
        return true;
    };
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, image.height() - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        int first = 0, last = -1;
        rowSpan(row, first, last);
        if (fill)
            fillSpan(pixels, row, first, last, fillColour, touched);
        if (!outline)
            continue;
        // A pixel is inside, not outline, when all four neighbours are in the
        // ellipse: this keeps the outline closed along the flat top and bottom.
        int aboveFirst, aboveLast, belowFirst, belowLast;
        if (!rowSpan(row - 1, aboveFirst, aboveLast) || !rowSpan(row + 1, belowFirst, belowLast)) {
            fillSpan(pixels, row, first, last, outlineColour, touched);
            continue;
        }
        const int innerFirst = std::max({first + 1, aboveFirst, belowFirst});
        const int innerLast = std::min({last - 1, aboveLast, belowLast});
        if (innerFirst > innerLast) {
            fillSpan(pixels, row, first, last, outlineColour, touched);
            continue;
        }
        fillSpan(pixels, row, first, innerFirst - 1, outlineColour, touched);
        fillSpan(pixels, row, innerLast + 1, last, outlineColour, touched);
    }
    return touched.rect();
}

} // namespace Raster
