#pragma once

#include "canvas/Tool.h"

// The six pens and the broad brush: strokes that follow the pointer while a
// button is held, one segment per move, in ForeColor.
namespace FreehandTool {

// The stroke width of pen 183 to 188 or of the brush 194, in pixels.
qint16 widthOf(qint16 tool);

// Any button starts a stroke at the press point; nothing is drawn yet.
Repaint press(ToolContext& context, const CanvasEvent& event);
// Sets the tool's width, then draws a segment from the current point when a
// stroke is in progress.
Repaint move(ToolContext& context, const CanvasEvent& event);
// Any button ends the stroke.
Repaint release(ToolContext& context, const CanvasEvent& event);

} // namespace FreehandTool
