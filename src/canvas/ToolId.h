#pragma once

#include <QtGlobal>

// Tool identifiers: the indexes of the buttons Picture3 that choose them.
namespace ToolId {
inline constexpr qint16 kLastStamp = 182; // stamps are 0 to 182
inline constexpr qint16 kFirstPen = 183;  // the 1-pixel pen, in use at start
inline constexpr qint16 kLastPen = 188;
inline constexpr qint16 kBox = 189;
inline constexpr qint16 kFilledBox = 190;
inline constexpr qint16 kStraightLine = 191;
inline constexpr qint16 kEllipse = 192;
inline constexpr qint16 kFilledEllipse = 193;
inline constexpr qint16 kBroadBrush = 194;
// One button a tool.
inline constexpr int kCount = 195;

inline constexpr bool isPen(qint16 tool) {
    return tool >= kFirstPen && tool <= kLastPen;
}
inline constexpr bool isShape(qint16 tool) {
    return tool >= kBox && tool <= kFilledEllipse;
}
} // namespace ToolId

// How a tool answers the canvas's press, move and release.
enum class ToolKind { Freehand, Shape, Stamp };

// The brush is tested first, then the shapes, then the pens; anything else,
// a value outside 0 to 194 too, is a stamp.
inline constexpr ToolKind toolKind(qint16 tool) {
    if (tool == ToolId::kBroadBrush)
        return ToolKind::Freehand;
    if (ToolId::isShape(tool))
        return ToolKind::Shape;
    if (ToolId::isPen(tool))
        return ToolKind::Freehand;
    return ToolKind::Stamp;
}
