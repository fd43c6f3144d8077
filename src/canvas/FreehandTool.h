#pragma once

#include "canvas/DrawingState.h"

class PictureBox;

// The six pens and the broad brush: strokes that follow the pointer while a
// button is held, one segment per move, in ForeColor.
namespace FreehandTool {

// The stroke width of pen 183 to 188 or of the brush 194, in pixels.
qint16 widthOf(qint16 tool);

// Any button starts a stroke at the press point; nothing is drawn yet.
void press(PictureBox& canvas, DrawingState& state, float x, float y);

// Sets the tool's width, then draws a segment from the current point when a
// stroke is in progress.
void move(PictureBox& canvas, const DrawingState& state, float x, float y);

} // namespace FreehandTool
