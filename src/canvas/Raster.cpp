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

// n / d to the nearest integer, halves towards zero; d > 0.
qint64 roundHalfTowardsZero(qint64 n, qint64 d) {
    const qint64 q = (2 * std::abs(n) + d - 1) / (2 * d);
    return n < 0 ? -q : q;
}

// A line one pixel thick between two pixels, both included: one pixel per
// column when it is shallow (45 degrees included), one per row when steep,
// each the pixel nearest the true line. The ends are put in order first, so
// the line is the same drawn either way, and a tie goes towards the nearer
// end, so its two halves mirror each other.
void thinLine(const Pixels& image, QPoint a, QPoint b, QRgb colour, Bounds& touched) {
    const bool steep = std::abs(b.y() - a.y()) > std::abs(b.x() - a.x());
    auto along = [steep](QPoint p) { return steep ? p.y() : p.x(); };
    auto across = [steep](QPoint p) { return steep ? p.x() : p.y(); };
    if (along(a) > along(b))
        std::swap(a, b);
    const qint64 length = along(b) - along(a);
    const qint64 rise = across(b) - across(a);
    const int first = std::max(along(a), 0);
    const int last = std::min(along(b), (steep ? image.height : image.width) - 1);
    // A shallow line is drawn as runs along its rows.
    int runRow = 0, runFirst = 0, runLast = -1;
    for (int t = first; t <= last; ++t) {
        const qint64 k = t - along(a);
        const qint64 s = length == 0 ? across(a)
                         : 2 * k <= length
                             ? across(a) + roundHalfTowardsZero(k * rise, length)
                             : across(b) - roundHalfTowardsZero((length - k) * rise, length);
        if (steep) {
            fillSpan(image, t, static_cast<int>(s), static_cast<int>(s), colour, touched);
        } else if (s == runRow && t == runLast + 1) {
            runLast = t;
        } else {
            fillSpan(image, runRow, runFirst, runLast, colour, touched);
            runRow = static_cast<int>(s);
            runFirst = runLast = t;
        }
    }
    if (!steep)
        fillSpan(image, runRow, runFirst, runLast, colour, touched);
}

// The point of the lattice {parity, parity + 2, ...} nearest to t >= 0, halves
// outwards. Ellipses are worked out in half pixels from their centre, where a
// pixel's offset is even or odd as the figure is an odd or even number of
// pixels across.
qint64 nearestOffset(double t, qint64 parity) {
    return parity + 2 * static_cast<qint64>(std::floor((t - parity) / 2 + 0.5));
}

} // namespace

namespace Raster {

QPointF snap(QPointF pixels, int width) {
    const double offset = (width % 2 == 1) ? 0.5 : 0.0;
    return QPointF(std::floor(clampCoordinate(pixels.x())) + offset,
                   std::floor(clampCoordinate(pixels.y())) + offset);
}

QPoint pixelAt(QPointF pixels) {
    return QPoint(static_cast<int>(std::floor(clampCoordinate(pixels.x()))),
                  static_cast<int>(std::floor(clampCoordinate(pixels.y()))));
}

QRect segment(QImage& image, QPointF from, QPointF to, int width, QRgb colour) {
    Bounds touched;
    const Pixels pixels(image);
    if (width <= 1) {
        thinLine(pixels, pixelAt(from), pixelAt(to), colour, touched);
        return touched.rect();
    }
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
    // The figure spans the whole pixels nearest its four extremes, so it meets
    // the box it was dragged in on every side and is symmetric in it.
    const int left = static_cast<int>(std::floor(cx - rx));
    const int right = static_cast<int>(std::floor(cx + rx));
    const int top = static_cast<int>(std::floor(cy - ry));
    const int bottom = static_cast<int>(std::floor(cy + ry));
    // From here on in half pixels from the centre: a and b are the semi-axes,
    // a row's offset has the parity of b and a column's that of a.
    const qint64 a = right - left, b = bottom - top;
    const qint64 columnParity = a % 2, rowParity = b % 2;
    // Where the curve turns steeper than 45 degrees, and half a pixel beyond,
    // so that the pixels nearest that point belong to both parts.
    const double diagonal = std::hypot(double(a), double(b));
    const double flatColumns = (diagonal > 0 ? a * a / diagonal : 0) + 1;
    const double steepRows = (diagonal > 0 ? b * b / diagonal : 0) + 1;
    // reach[i]: how far the row at offset rowParity + 2i reaches either side of
    // the centre. Along the flat top and bottom every column gets the row
    // nearest the curve, along the steep sides every row gets the nearest
    // column: so the extremes get runs as long as the curve stays within half
    // a pixel of them, not a lone pixel.
    const qint64 rows = (b - rowParity) / 2 + 1;
    std::vector<qint64> reach(static_cast<size_t>(rows), columnParity);
    reach[0] = a; // the row through the centre reaches both extremes
    for (qint64 i = 0; i < rows; ++i) {
        const qint64 y = rowParity + 2 * i;
        if (y <= steepRows)
            reach[i] = std::max(
                reach[i],
                b > 0 ? nearestOffset(a * std::sqrt(double(b * b - y * y)) / b, columnParity) : a);
    }
    qint64 highest = -1; // the highest row a flat column has reached so far
    for (qint64 x =
             columnParity + 2 * static_cast<qint64>(std::floor((flatColumns - columnParity) / 2));
         x >= columnParity; x -= 2) {
        const qint64 y =
            a > 0 ? nearestOffset(b * std::sqrt(double(a * a - x * x)) / a, rowParity) : b;
        for (qint64 i = highest + 1; i <= (y - rowParity) / 2 && i < rows; ++i)
            reach[i] = std::max(reach[i], x);
        highest = std::max(highest, (y - rowParity) / 2);
    }
    // Reach of the row at offset y, or -1 beyond the figure.
    auto reachAt = [&](qint64 y) {
        y = std::abs(y);
        return y > b ? qint64(-1) : reach[static_cast<size_t>((y - rowParity) / 2)];
    };
    const qint64 middle = qint64(left) + right;
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, image.height() - 1);
    for (int row = firstRow; row <= lastRow; ++row) {
        const qint64 y = 2 * qint64(row) - (qint64(top) + bottom);
        const qint64 x = reachAt(y);
        // Inside, not outline, are the pixels whose four neighbours are all in
        // the figure: the outline closes round the fill, one pixel wide.
        const qint64 inner = outline ? std::min({x - 2, reachAt(y - 2), reachAt(y + 2)}) : x;
        const int first = static_cast<int>((middle - x) / 2);
        const int last = static_cast<int>((middle + x) / 2);
        if (inner < columnParity) { // no inside: the whole row is outline
            fillSpan(pixels, row, first, last, outlineColour, touched);
            continue;
        }
        const int innerFirst = static_cast<int>((middle - inner) / 2);
        const int innerLast = static_cast<int>((middle + inner) / 2);
        if (fill)
            fillSpan(pixels, row, innerFirst, innerLast, fillColour, touched);
        if (outline) {
            fillSpan(pixels, row, first, innerFirst - 1, outlineColour, touched);
            fillSpan(pixels, row, innerLast + 1, last, outlineColour, touched);
        }
    }
    return touched.rect();
}

} // namespace Raster
