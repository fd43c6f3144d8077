#pragma once

#include "canvas/ToolId.h"

#include <QtGlobal>

// How DrawShapeFigure draws the figure of a shape drag.
namespace ShapeKind {
inline constexpr qint16 kBox = 1;
inline constexpr qint16 kEllipse = 3;
inline constexpr qint16 kStraightLine = 4;
} // namespace ShapeKind

// The window's drawing state: 16-bit fields, True is -1 and False 0.
struct DrawingState {
    static constexpr qint16 True = -1;
    static constexpr qint16 False = 0;

    qint16 currentTool = 0; // the ToolId in use: the index of its button
    qint16 penDown = False; // a freehand stroke is in progress
    qint16 shapeDragging = False;
    qint16 shapeKind = 0; // a ShapeKind, 0 until the first shape press
};

// The shape points of the current (or last) shape drag, in twips.
struct Module1 {
    qint16 shapeX1 = 0;
    qint16 shapeY1 = 0;
    qint16 shapeX2 = 0;
    qint16 shapeY2 = 0;
};
