// Rectangles, ellipses and straight lines drawn by the shape tools, checked
// pixel by pixel: every row and every column of each figure, not a few
// samples beside it.
#include "FormRig.h"
#include "canvas/FreehandTool.h"
#include "canvas/PictureBox.h"
#include "canvas/ShapeTool.h"
#include "pickers/PalettePanel.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"

#include <QtTest>

#include <cmath>

namespace {

constexpr float px = 15; // twips in a pixel
constexpr quint32 kLineColour = 0x000000, kFillColour = 0x0000FF;
const QRgb line = qRgb(0, 0, 0), fill = qRgb(255, 0, 0), grey = qRgb(128, 128, 128);

// A pixel of a canvas image (RGB32), read straight from its row: these
// checks read every pixel of the canvas many times.
QRgb colourAt(const QImage& image, int x, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

QString where(int x, int y) {
    return QString("(%1, %2)").arg(x).arg(y);
}

// The canvas on a grey background and a tool's own press and move steps,
// dragged with the left button: black outlines and lines, red fills. The
// shape press's snapshot is kept in memory here, as these tests make
// hundreds of figures; tst_canvas checks the snapshot file.
struct Rig {
    PictureBox canvas;
    DrawingState state;
    Module1 points;

    explicit Rig(qint16 tool) {
        QImage background(PictureBox::kWidth, PictureBox::kHeight, QImage::Format_RGB32);
        background.fill(grey);
        canvas.setPicture(background);
        state.currentTool = tool;
    }
    QImage drag(QPoint from, QPoint to) {
        canvas.ForeColor = kLineColour;
        canvas.FillColor = kFillColour;
        const QString noFolder;
        const std::function<const Icon&(qint16)> noStamps;
        ToolContext context{canvas, state, points, noFolder, noStamps};
        const CanvasEvent press{1, 0, from.x() * px, from.y() * px};
        const CanvasEvent move{1, 0, to.x() * px, to.y() * px};
        if (state.currentTool == ToolId::kFirstPen) {
            FreehandTool::press(context, press);
            FreehandTool::move(context, move);
        } else {
            ShapeTool::startDrag(context, press);
            canvas.setPicture(canvas.Image().copy());
            ShapeTool::move(context, move);
        }
        return canvas.Image();
    }
};

// The first pixel where `actual` differs from `expected`, or an empty string.
QString firstDifference(const QImage& actual, const QImage& expected) {
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (colourAt(actual, x, y) != colourAt(expected, x, y))
                return QString("pixel %1 is %2, expected %3")
                    .arg(where(x, y))
                    .arg(actual.pixel(x, y), 8, 16)
                    .arg(expected.pixel(x, y), 8, 16);
    return {};
}

// The four corners a drag can start from, for the same box.
QList<std::pair<QPoint, QPoint>> fourDirections(const QRect& box) {
    return {{box.topLeft(), box.bottomRight()},
            {box.bottomRight(), box.topLeft()},
            {box.topRight(), box.bottomLeft()},
            {box.bottomLeft(), box.topRight()}};
}

// Pixel sets of one figure on a grey canvas.
struct Figure {
    QImage image;
    bool isLine(int x, int y) const { return image.valid(x, y) && colourAt(image, x, y) == line; }
    bool isGrey(int x, int y) const { return !image.valid(x, y) || colourAt(image, x, y) == grey; }
    int outlineNeighbours(int x, int y) const {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                n += (dx || dy) && isLine(x + dx, y + dy);
        return n;
    }
    // The lengths of the runs of outline pixels along one row (or column).
    QList<int> runs(int fixed, bool row, int from, int to) const {
        QList<int> lengths;
        int length = 0;
        for (int i = from; i <= to + 1; ++i) {
            if (i <= to && (row ? isLine(i, fixed) : isLine(fixed, i))) {
                ++length;
            } else if (length) {
                lengths << length;
                length = 0;
            }
        }
        return lengths;
    }
};

// Everything an ellipse dragged over `box` must be; an empty string when it is.
QString ellipseFaults(const QImage& image, const QRect& box, bool filled) {
    const Figure f{image};
    // Nothing outside the box; the figure meets all four of its sides.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = colourAt(image, x, y);
            if (!box.contains(x, y) && c != grey)
                return "painted outside the box at " + where(x, y);
            if (c != grey && c != line && !(filled && c == fill))
                return "a foreign colour at " + where(x, y);
        }
    auto sideTouched = [&](int fixed, bool row) {
        for (int i = row ? box.left() : box.top(); i <= (row ? box.right() : box.bottom()); ++i)
            if (row ? f.isLine(i, fixed) : f.isLine(fixed, i))
                return true;
        return false;
    };
    if (!sideTouched(box.top(), true) || !sideTouched(box.bottom(), true) ||
        !sideTouched(box.left(), false) || !sideTouched(box.right(), false))
        return "the outline does not meet every side of the box";
    // Mirror symmetric about the box's middle, both ways.
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const int mx = box.left() + box.right() - x, my = box.top() + box.bottom() - y;
            if (colourAt(image, x, y) != colourAt(image, mx, y))
                return "not symmetric left to right at " + where(x, y);
            if (colourAt(image, x, y) != colourAt(image, x, my))
                return "not symmetric top to bottom at " + where(x, y);
        }
    // Every row and column: outline at its two ends (or one run), the inside
    // between them filled or untouched, nothing beyond them. `roomy`: every
    // row and column but the outermost has an inside.
    bool roomy = box.width() > 2 && box.height() > 2;
    for (bool row : {true, false}) {
        const int lines = row ? box.height() : box.width();
        const int length = row ? box.width() : box.height();
        for (int k = 0; k < lines; ++k) {
            auto at = [&](int i) {
                return row ? QPoint(box.left() + i, box.top() + k)
                           : QPoint(box.left() + k, box.top() + i);
            };
            int first = -1, last = -1;
            for (int i = 0; i < length; ++i)
                if (f.isLine(at(i).x(), at(i).y())) {
                    if (first < 0)
                        first = i;
                    last = i;
                }
            if (first < 0)
                return QString("no outline in %1 %2").arg(row ? "row" : "column").arg(k);
            bool inside = false;
            for (int i = 0; i < length; ++i) {
                const QPoint p = at(i);
                const QRgb c = colourAt(image, p.x(), p.y());
                if ((i < first || i > last) && c != grey)
                    return "painted beyond the outline at " + where(p.x(), p.y());
                if (i > first && i < last && c != line && c != (filled ? fill : grey))
                    return "wrong inside at " + where(p.x(), p.y());
                inside = inside || (i > first && i < last && c != line);
            }
            roomy = roomy && (inside || k == 0 || k == lines - 1);
        }
    }
    // The fill never touches the outside: the outline closes round it.
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (colourAt(image, x, y) == fill && (f.isGrey(x - 1, y) || f.isGrey(x + 1, y) ||
                                                  f.isGrey(x, y - 1) || f.isGrey(x, y + 1)))
                return "the fill reaches the outside at " + where(x, y);
    // Every outline pixel is the pixel nearest the true ellipse along its row
    // or its column, so there are no spikes and no stray pixels; and wherever
    // the true ellipse crosses a row or a column, the nearest pixel is there.
    const double cx = (box.left() + box.right()) / 2.0, cy = (box.top() + box.bottom()) / 2.0;
    const double a = (box.width() - 1) / 2.0, b = (box.height() - 1) / 2.0;
    auto halfChord = [](double semiAxis, double offset, double otherAxis) {
        const double t = otherAxis > 0 ? offset / otherAxis : 0;
        return semiAxis * std::sqrt(std::max(0.0, 1 - t * t));
    };
    for (int x = box.left(); x <= box.right(); ++x)
        for (double y : {cy - halfChord(b, x - cx, a), cy + halfChord(b, x - cx, a)})
            if (!f.isLine(x, int(std::floor(y + 0.5 + 1e-9))) &&
                !f.isLine(x, int(std::ceil(y - 0.5 - 1e-9))))
                return QString("column %1 misses the curve at %2").arg(x).arg(y);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (double x : {cx - halfChord(a, y - cy, b), cx + halfChord(a, y - cy, b)})
            if (!f.isLine(int(std::floor(x + 0.5 + 1e-9)), y) &&
                !f.isLine(int(std::ceil(x - 0.5 - 1e-9)), y))
                return QString("row %1 misses the curve at %2").arg(y).arg(x);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!f.isLine(x, y))
                continue;
            const double u = std::abs(x - cx), v = std::abs(y - cy);
            const double across = std::abs(u - halfChord(a, v, b));
            const double down = std::abs(v - halfChord(b, u, a));
            if (std::min(across, down) > 0.5 + 1e-9)
                return QString("outline pixel %1 is %2 pixels off the curve")
                    .arg(where(x, y))
                    .arg(std::min(across, down));
        }
    // No spike at the four extremes: the run on the outermost row or column
    // is at least as long as each run on the next one in.
    const QList<std::tuple<int, int, bool>> extremes{{box.top(), box.top() + 1, true},
                                                     {box.bottom(), box.bottom() - 1, true},
                                                     {box.left(), box.left() + 1, false},
                                                     {box.right(), box.right() - 1, false}};
    for (const auto& [outer, inner, row] : extremes) {
        const int from = row ? box.left() : box.top(), to = row ? box.right() : box.bottom();
        const QList<int> outerRuns = f.runs(outer, row, from, to);
        for (int run : f.runs(inner, row, from, to))
            if (outerRuns.size() != 1 || run > outerRuns.front())
                return QString("a spike at %1 %2: runs %3 then %4")
                    .arg(row ? "row" : "column")
                    .arg(outer)
                    .arg(outerRuns.value(0))
                    .arg(run);
    }
    // A closed curve one pixel wide: no loose ends, no two-by-two block, all
    // of it in one piece. (A corner of three pixels, as every small circle
    // has near 45 degrees, is one pixel wide.) Where the ellipse is narrower
    // than a pixel its two sides fall on the same pixels, so this holds only
    // when every row and column but the outermost has an inside.
    if (!roomy)
        return {};
    int count = 0;
    QPoint start;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (f.isLine(x, y)) {
                ++count;
                start = {x, y};
                if (f.outlineNeighbours(x, y) < 2)
                    return "a loose end at " + where(x, y);
                if (f.isLine(x + 1, y) && f.isLine(x, y + 1) && f.isLine(x + 1, y + 1))
                    return "the outline is two pixels wide at " + where(x, y);
            }
    QSet<quint64> seen;
    QList<QPoint> todo{start};
    auto key = [](QPoint p) { return quint64(quint32(p.x())) << 32 | quint32(p.y()); };
    seen.insert(key(start));
    while (!todo.isEmpty()) {
        const QPoint p = todo.takeLast();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint q = p + QPoint(dx, dy);
                if (f.isLine(q.x(), q.y()) && !seen.contains(key(q))) {
                    seen.insert(key(q));
                    todo << q;
                }
            }
    }
    if (seen.size() != count)
        return "the outline falls apart";
    return {};
}

// The pixels of a one-pixel line from `a` to `b`; an empty string when it is
// exactly one pixel per column (shallow) or per row (steep), each the pixel
// nearest the true line, connected, with both ends.
QString lineFaults(const QImage& image, QPoint a, QPoint b) {
    const Figure f{image};
    const QRect bounds(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                       QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!f.isGrey(x, y) && !(bounds.contains(x, y) && f.isLine(x, y)))
                return "painted outside the line's box at " + where(x, y);
    if (!f.isLine(a.x(), a.y()) || !f.isLine(b.x(), b.y()))
        return "an end is missing";
    const bool steep = std::abs(b.y() - a.y()) > std::abs(b.x() - a.x());
    auto along = [&](QPoint p) { return steep ? p.y() : p.x(); };
    auto across = [&](QPoint p) { return steep ? p.x() : p.y(); };
    const int from = std::min(along(a), along(b)), to = std::max(along(a), along(b));
    int previous = 0;
    for (int t = from; t <= to; ++t) {
        QList<int> hits;
        for (int s = 0; s < (steep ? image.width() : image.height()); ++s)
            if (steep ? f.isLine(s, t) : f.isLine(t, s))
                hits << s;
        const QString name = QString("%1 %2").arg(steep ? "row" : "column").arg(t);
        if (hits.size() != 1)
            return QString("%1 has %2 pixels").arg(name).arg(hits.size());
        const double ideal = along(a) == along(b)
                                 ? across(a)
                                 : across(a) + double(t - along(a)) * (across(b) - across(a)) /
                                                   (along(b) - along(a));
        if (std::abs(hits.front() - ideal) > 0.5 + 1e-9)
            return QString("%1: pixel %2 is off the line (%3)")
                .arg(name)
                .arg(hits.front())
                .arg(ideal);
        if (t > from && std::abs(hits.front() - previous) > 1)
            return name + " is not joined to the one before";
        previous = hits.front();
    }
    return {};
}

} // namespace

class TestFigures : public QObject {
    Q_OBJECT

private slots:
    // The rectangle: its outline exactly one pixel wide on all four sides, its
    // fill strictly inside, whichever corner the drag starts from.
    void boxes_data() {
        QTest::addColumn<QSize>("size"); // pixels between the corners
        QTest::addColumn<bool>("filled");
        const QList<QSize> sizes{{0, 0}, {0, 6}, {6, 0}, {1, 1},   {1, 7},   {7, 1},   {2, 2},
                                 {2, 9}, {3, 3}, {4, 9}, {40, 25}, {300, 3}, {3, 300}, {440, 400}};
        for (bool filled : {false, true})
            for (QSize size : sizes)
                QTest::addRow("%s %dx%d", filled ? "filled" : "outline", size.width(),
                              size.height())
                    << size << filled;
    }
    void boxes() {
        QFETCH(QSize, size);
        QFETCH(bool, filled);
        const QRect box(QPoint(15, 12), size + QSize(1, 1));
        QImage expected(PictureBox::kWidth, PictureBox::kHeight, QImage::Format_RGB32);
        expected.fill(grey);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const bool edge =
                    x == box.left() || x == box.right() || y == box.top() || y == box.bottom();
                if (edge || filled)
                    expected.setPixel(x, y, edge ? line : fill);
            }
        for (const auto& [from, to] : fourDirections(box)) {
            Rig rig(filled ? ToolId::kFilledBox : ToolId::kBox);
            const QString fault = firstDifference(rig.drag(from, to), expected);
            QVERIFY2(fault.isEmpty(), qPrintable(QString("drag %1 to %2: %3")
                                                     .arg(where(from.x(), from.y()))
                                                     .arg(where(to.x(), to.y()))
                                                     .arg(fault)));
        }
    }

    // The fault as the child saw it: a red outline and a green fill chosen in
    // the palette, dragged in the real window.
    void aFilledBoxInTheWindowKeepsItsFillInside() {
        FormRig rig;
        QVERIFY(rig.show());
        auto press = [](QWidget* widget, Qt::MouseButton button) {
            QTest::mousePress(widget, button, {}, QPoint(8, 8));
            QTest::mouseRelease(widget, button, {}, QPoint(8, 8));
        };
        press(rig.palette().cell(16), Qt::LeftButton);  // red line colour
        press(rig.palette().cell(15), Qt::RightButton); // green fill colour
        press(rig.button(ToolId::kFilledBox), Qt::LeftButton);
        const QRect box(QPoint(50, 60), QPoint(170, 130));
        for (const auto& [from, to] : fourDirections(box)) {
            QImage expected = rig.canvas();
            rig.drag({from, to});
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) {
                    const bool edge =
                        x == box.left() || x == box.right() || y == box.top() || y == box.bottom();
                    expected.setPixel(x, y, edge ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
                }
            const QString fault = firstDifference(rig.canvas(), expected);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
            QCOMPARE(rig.canvasWidget()->grab().toImage().pixel(box.right() + 1, box.bottom()),
                     qRgb(255, 255, 255));
        }
    }

    // Ellipses and circles: a closed one-pixel curve, no spikes at the four
    // extremes, symmetric, meeting the box on every side, fill strictly inside;
    // the same whichever corner the drag starts from.
    void ellipses_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("filled");
        const QList<QSize> sizes{{0, 0},     {0, 40},   {40, 0},  {1, 1},    {1, 30},
                                 {30, 1},    {2, 2},    {3, 3},   {4, 4},    {5, 5},
                                 {2, 30},    {3, 31},   {7, 7},   {10, 10},  {11, 11},
                                 {20, 21},   {50, 50},  {51, 51}, {100, 40}, {40, 100},
                                 {101, 100}, {301, 41}, {200, 3}, {3, 200},  {400, 400}};
        for (bool filled : {false, true})
            for (QSize size : sizes)
                QTest::addRow("%s %dx%d", filled ? "filled" : "outline", size.width(),
                              size.height())
                    << size << filled;
    }
    void ellipses() {
        QFETCH(QSize, size);
        QFETCH(bool, filled);
        const QRect box(QPoint(20, 15), size + QSize(1, 1));
        QImage first;
        for (const auto& [from, to] : fourDirections(box)) {
            Rig rig(filled ? ToolId::kFilledEllipse : ToolId::kEllipse);
            const QImage image = rig.drag(from, to);
            if (first.isNull()) {
                first = image;
                const QString fault = ellipseFaults(image, box, filled);
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            } else {
                QVERIFY2(image == first, qPrintable(firstDifference(image, first)));
            }
        }
        // The outline tool draws the filled tool's outline and leaves its inside.
        Rig other(filled ? ToolId::kEllipse : ToolId::kFilledEllipse);
        const QImage otherImage = other.drag(box.topLeft(), box.bottomRight());
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                QVERIFY2((first.pixel(x, y) == line) == (otherImage.pixel(x, y) == line),
                         qPrintable(where(x, y)));
    }

    // Every ellipse up to 32 pixels across, at two heights: the vertical
    // centre, rounded to whole twips, lies a little above the box's middle at
    // one and a little below at the other.
    void everySmallEllipse() {
        const int largest = 32 + qEnvironmentVariableIntValue("PENSILO_ELLIPSE_SWEEP");
        for (int top : {0, 1})
            for (int w = 0; w <= largest; ++w)
                for (int h = 0; h <= largest; ++h) {
                    PictureBox canvas;
                    const QRect box(3, top + 3, w + 1, h + 1);
                    const QRect area(0, 0, box.right() + 4, box.bottom() + 4);
                    QImage background(area.size(), QImage::Format_RGB32);
                    background.fill(grey);
                    canvas.setPicture(background);
                    canvas.ForeColor = kLineColour;
                    canvas.FillColor = kFillColour;
                    canvas.FillStyle = FillStyle::kSolid;
                    ShapeTool::DrawShapeFigure(canvas, ShapeKind::kEllipse, qint16(box.left() * px),
                                               qint16(box.top() * px), qint16(box.right() * px),
                                               qint16(box.bottom() * px));
                    const QString fault = ellipseFaults(canvas.Image().copy(area), box, true);
                    QVERIFY2(
                        fault.isEmpty(),
                        qPrintable(QString("%1x%2 at %3: %4").arg(w).arg(h).arg(top).arg(fault)));
                }
    }

    // A circle is the same turned a quarter: no edge of it is drawn differently.
    void circlesAreTheSameAcrossTheDiagonal() {
        for (int d : {4, 9, 17, 50, 51, 120}) {
            Rig rig(ToolId::kEllipse);
            const QImage image = rig.drag({30, 30}, {30 + d, 30 + d});
            for (int y = 30; y <= 30 + d; ++y)
                for (int x = 30; x <= 30 + d; ++x)
                    QVERIFY2(image.pixel(x, y) == image.pixel(y, x),
                             qPrintable(QString("%1 across: %2").arg(d).arg(where(x, y))));
        }
    }

    // One-pixel lines at every slope, in all eight octants and both ways: the
    // straight-line tool and the thinnest pen.
    void lines_data() {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<int>("tool");
        QList<QPoint> offsets{{0, 0}, {1, 0}, {1, 1}, {2, 1}, {3, 1}, {3, 2}, {5, 2}};
        for (QPoint p : QList<QPoint>{{120, 0},
                                      {120, 1},
                                      {120, 17},
                                      {120, 40},
                                      {120, 60},
                                      {120, 119},
                                      {120, 120},
                                      {119, 120},
                                      {60, 120},
                                      {40, 120},
                                      {17, 120},
                                      {1, 120},
                                      {0, 120},
                                      {97, 31}})
            for (int sx : {1, -1})
                for (int sy : {1, -1})
                    if (!offsets.contains(QPoint(p.x() * sx, p.y() * sy)))
                        offsets << QPoint(p.x() * sx, p.y() * sy);
        for (int tool : {ToolId::kStraightLine, ToolId::kFirstPen})
            for (QPoint p : offsets)
                QTest::addRow("%s %+d,%+d", tool == ToolId::kFirstPen ? "pen" : "line", p.x(),
                              p.y())
                    << p << tool;
    }
    void lines() {
        QFETCH(QPoint, offset);
        QFETCH(int, tool);
        const QPoint a(230, 210), b = a + offset;
        Rig forward{qint16(tool)}, backward{qint16(tool)};
        const QImage image = forward.drag(a, b);
        const QString fault = lineFaults(image, a, b);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        const QImage reversed = backward.drag(b, a);
        QVERIFY2(reversed == image,
                 qPrintable("drawn the other way: " + firstDifference(reversed, image)));
    }
};

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
