#pragma once

#include <QtGlobal>

// The window's drawing state: 16-bit fields, True is -1 and False 0.
struct DrawingState {
    static constexpr qint16 True = -1;
    static constexpr qint16 False = 0;

    qint16 currentTool = 0; // the ToolId in use: the index of its button
    qint16 penDown = False; // a freehand stroke is in progress
    qint16 shapeDragging = False;
    qint16 shapeKind = 0; // 1 box, 3 ellipse, 4 straight line
};

// The shape points of the current (or last) shape drag, in twips.
struct Module1 {
    qint16 shapeX1 = 0;
    qint16 shapeY1 = 0;
    qint16 shapeX2 = 0;
    qint16 shapeY2 = 0;
};

// Tool identifiers: the indexes of the buttons that choose them.
namespace ToolId {
inline constexpr qint16 kFirstPen = 183;
inline constexpr qint16 kLastPen = 188;
inline constexpr qint16 kBox = 189;
inline constexpr qint16 kFilledBox = 190;
inline constexpr qint16 kStraightLine = 191;
inline constexpr qint16 kEllipse = 192;
inline constexpr qint16 kFilledEllipse = 193;
inline constexpr qint16 kBroadBrush = 194;
} // namespace ToolId
