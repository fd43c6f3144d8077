#pragma once

#include "canvas/Tool.h"

#include <QString>

class PictureBox;

// Straight lines, rectangles and ellipses spanned by a drag. Every move clears
// the canvas back to the snapshot taken on the press and draws the figure
// anew, so the preview never leaves a trace.
namespace ShapeTool {

// startDrag, then the snapshot that every preview clears back to.
Repaint press(ToolContext& context, const CanvasEvent& event);
// Kind, width, fill style, drag state and the start point.
void startDrag(ToolContext& context, const CanvasEvent& event);
// Follows the pointer with the figure while a drag is in progress.
Repaint move(ToolContext& context, const CanvasEvent& event);
// Any button ends the drag; the last preview stays.
Repaint release(ToolContext& context, const CanvasEvent& event);

// Saves the canvas to temp.bmp in `snapshotFolder` and makes the file, read
// back, its background.
void SaveCanvasSnapshot(PictureBox& canvas, const QString& snapshotFolder);

// Clears the canvas to its background and draws one figure of `shapeKind`.
void DrawShapeFigure(PictureBox& canvas, qint16 shapeKind, qint16 x1, qint16 y1, qint16 x2,
                     qint16 y2);

// The ellipse that fits the rectangle with these corners.
void DrawEllipseInBox(PictureBox& canvas, qint16 x1, qint16 y1, qint16 x2, qint16 y2);

// The centre, radius and aspect DrawEllipseInBox hands to Circle.
struct EllipseArguments {
    float cx;
    qint16 cy;
    qint16 radius;
    float aspect;
};
EllipseArguments ellipseArguments(qint16 x1, qint16 y1, qint16 x2, qint16 y2);

} // namespace ShapeTool
