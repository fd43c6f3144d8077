#include "canvas/ShapeTool.h"

#include "canvas/PictureBox.h"
#include "platform/ControlCodes.h"
#include "platform/PictureFile.h"
#include "platform/Units.h"

#include <cstdlib>
#include <iterator>

namespace {

struct ShapeDesign {
    qint16 tool;
    qint16 kind;
    qint16 fillStyle;
};

// The straight line sets a solid fill, which a line never shows.
constexpr ShapeDesign kShapes[] = {
    {ToolId::kBox, ShapeKind::kBox, FillStyle::kTransparent},
    {ToolId::kFilledBox, ShapeKind::kBox, FillStyle::kSolid},
    {ToolId::kStraightLine, ShapeKind::kStraightLine, FillStyle::kSolid},
    {ToolId::kEllipse, ShapeKind::kEllipse, FillStyle::kTransparent},
    {ToolId::kFilledEllipse, ShapeKind::kEllipse, FillStyle::kSolid},
};

const ShapeDesign& designOf(qint16 tool) {
    for (const ShapeDesign& design : kShapes)
        if (design.tool == tool)
            return design;
    return kShapes[std::size(kShapes) - 1];
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

Repaint press(ToolContext& context, const CanvasEvent& event) {
    startDrag(context, event);
    SaveCanvasSnapshot(context.canvas, context.snapshotFolder);
    return Repaint::None;
}

void startDrag(ToolContext& context, const CanvasEvent& event) {
    DrawingState& state = context.state;
    Module1& points = context.points;
    const ShapeDesign& design = designOf(state.currentTool);
    state.shapeKind = design.kind;
    context.canvas.DrawWidth = 1;
    context.canvas.FillStyle = design.fillStyle;
    state.shapeDragging = DrawingState::True;
    points.shapeX1 = points.shapeX2 = roundToInt16(event.x);
    points.shapeY1 = points.shapeY2 = roundToInt16(event.y);
}

Repaint move(ToolContext& context, const CanvasEvent& event) {
    const DrawingState& state = context.state;
    Module1& points = context.points;
    if (!state.shapeDragging)
        return Repaint::None;
    points.shapeX2 = roundToInt16(event.x);
    points.shapeY2 = roundToInt16(event.y);
    DrawShapeFigure(context.canvas, state.shapeKind, points.shapeX1, points.shapeY1, points.shapeX2,
                    points.shapeY2);
    return Repaint::Now;
}

Repaint release(ToolContext& context, const CanvasEvent&) {
    context.state.shapeDragging = DrawingState::False;
    return Repaint::None;
}

void SaveCanvasSnapshot(PictureBox& canvas, const QString& snapshotFolder) {
    const QString path = snapshotFolder + QStringLiteral("temp.bmp");
    PictureFile::LoadResult loaded;
    // temp.bmp is worth nothing after a crash: not worth waiting for the disk.
    if (PictureFile::saveBmp(canvas.Image(), path, PictureFile::Durability::Unsynced).ok())
        loaded = PictureFile::readBack(path);
    // The canvas in memory is the truth. Without the file (a full disk, a
    // folder in its place) the preview would clear back to an older
    // background, and a file that reads back as another picture (a second
    // Pensilo sharing the folder, saving between our write and our read)
    // would put that picture on this canvas: either way the drawing would be
    // lost. Nothing is said: the drawing goes on unharmed, and a full disk is
    // reported where it matters, when the picture is saved.
    canvas.setPicture(loaded.ok() && loaded.image == canvas.Image() ? loaded.image
                                                                    : canvas.Image().copy());
}

void DrawShapeFigure(PictureBox& canvas, qint16 shapeKind, qint16 x1, qint16 y1, qint16 x2,
                     qint16 y2) {
    canvas.Cls();
    const float fx1 = x1, fy1 = y1, fx2 = x2, fy2 = y2;
    if (shapeKind == ShapeKind::kBox)
        canvas.Line(fx1, fy1, fx2, fy2, true);
    if (shapeKind == ShapeKind::kEllipse)
        DrawEllipseInBox(canvas, x1, y1, x2, y2);
    if (shapeKind == ShapeKind::kStraightLine)
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
