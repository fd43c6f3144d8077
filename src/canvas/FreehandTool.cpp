#include "canvas/FreehandTool.h"

#include "canvas/PictureBox.h"

namespace FreehandTool {

qint16 widthOf(qint16 tool) {
    // Pen 188 draws 11 pixels, one more than the sample on its button.
    switch (tool) {
    case 183:
        return 1;
    case 184:
        return 2;
    case 185:
        return 3;
    case 186:
        return 5;
    case 187:
        return 8;
    case 188:
        return 11;
    case ToolId::kBroadBrush:
        return 19;
    default:
        return 1;
    }
}

void press(PictureBox& canvas, DrawingState& state, float x, float y) {
    state.penDown = DrawingState::True;
    canvas.CurrentX = x;
    canvas.CurrentY = y;
}

void move(PictureBox& canvas, const DrawingState& state, float x, float y) {
    canvas.DrawWidth = widthOf(state.currentTool);
    if (state.penDown)
        canvas.LineTo(x, y);
}

} // namespace FreehandTool
