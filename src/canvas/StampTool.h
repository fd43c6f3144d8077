#pragma once

#include "canvas/Tool.h"

// A stamp is painted once per press, at the pointer, through its mask.
namespace StampTool {

// The pointer lies this far right of and below the stamp's top-left corner, in twips.
inline constexpr float kOffsetX = 220;
inline constexpr float kOffsetY = 250;

Repaint press(ToolContext& context, const CanvasEvent& event);
// Nothing follows the pointer.
Repaint move(ToolContext& context, const CanvasEvent& event);
// Ends any stroke, as every tool but the shapes does.
Repaint release(ToolContext& context, const CanvasEvent& event);

} // namespace StampTool
