#include "canvas/ShapeTool.h"

#include "canvas/PictureBox.h"
#include "platform/Units.h"

#include <cstdlib>

namespace {

struct ShapeDesign {
    qint16 kind;
    qint16 fillStyle;
};

ShapeDesign designOf(qint16 tool) {
    switch (tool) {
    case ToolId::kBox:
        return {1, 1};
    case ToolId::kFilledBox:
        return {1, 0};
    case ToolId::kStraightLine:
        return {4, 0};
    case ToolId::kEllipse:
        return {3, 1};
    default:
        return {3, 0}; // the filled ellipse
    }
}

// 16-bit sums and differences, clamped: a drag carried far off the canvas on a
// wide screen must not end the program.
qint16 sum16(qint16 a, qint16 b) {
    return roundToInt16(static_cast<double>(a) + b);
}
qint16 difference16(qint16 a, qint16 b) {
    return roundToInt16(static_cast<double>(a) - b);
}

} // namespace

namespace ShapeTool {

void press(PictureBox& canvas, DrawingState& state, Module1& points, float x, float y) {
    const ShapeDesign design = designOf(state.currentTool);
    state.shapeKind = design.kind;
    canvas.DrawWidth = 1;
    canvas.FillStyle = design.fillStyle;
    state.shapeDragging = DrawingState::True;
    points.shapeX1 = points.shapeX2 = roundToInt16(x);
    points.shapeY1 = points.shapeY2 = roundToInt16(y);
}

bool move(PictureBox& canvas, const DrawingState& state, Module1& points, float x, float y) {
    if (!state.shapeDragging)
        return false;
    points.shapeX2 = roundToInt16(x);
    points.shapeY2 = roundToInt16(y);
    DrawShapeFigure(canvas, state.shapeKind, points.shapeX1, points.shapeY1, points.shapeX2,
                    points.shapeY2);
    return true;
}

void DrawShapeFigure(PictureBox& canvas, qint16 shapeKind, qint16 x1, qint16 y1, qint16 x2,
                     qint16 y2) {
    canvas.Cls();
    const float fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
    if (shapeKind == 1)
        canvas.Line(fx1, fy1, fx2, fy2, true);
    if (shapeKind == 3)
        DrawEllipseInBox(canvas, x1, y1, x2, y2);
    if (shapeKind == 4)
        canvas.Line(fx1, fy1, fx2, fy2);
}

EllipseArguments ellipseArguments(qint16 x1, qint16 y1, qint16 x2, qint16 y2) {
    EllipseArguments e{};
    e.cx = static_cast<float>(sum16(x1, x2)) / 2;
    e.cy = roundToInt16(sum16(y1, y2) / 2.0);
    const qint16 w =
        static_cast<qint16>(std::min(std::abs(static_cast<int>(difference16(x2, x1))), 32767));
    const qint16 h =
        static_cast<qint16>(std::min(std::abs(static_cast<int>(difference16(y2, y1))), 32767));
    e.radius = roundToInt16((w < h ? h : w) / 2.0);
    e.aspect = w == 0 ? 10000.0f : static_cast<float>(static_cast<double>(h) / w);
    return e;
}

void DrawEllipseInBox(PictureBox& canvas, qint16 x1, qint16 y1, qint16 x2, qint16 y2) {
    const EllipseArguments e = ellipseArguments(x1, y1, x2, y2);
    canvas.Circle(e.cx, e.cy, e.radius, e.aspect);
}

} // namespace ShapeTool
