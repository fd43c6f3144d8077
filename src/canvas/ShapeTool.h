#pragma once

#include "canvas/DrawingState.h"

class PictureBox;

// Straight lines, rectangles and ellipses spanned by a drag. Every move clears
// the canvas back to the snapshot taken on the press and draws the figure
// anew, so the preview never leaves a trace.
namespace ShapeTool {

// Steps 1 to 4 of the press: kind, width, fill style, drag state and the
// start point. The caller then takes the snapshot.
void press(PictureBox& canvas, DrawingState& state, Module1& points, float x, float y);

// Follows the pointer with the figure; false when no drag is in progress.
bool move(PictureBox& canvas, const DrawingState& state, Module1& points, float x, float y);

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
