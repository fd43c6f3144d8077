#include "canvas/FreehandTool.h"

#include "canvas/PictureBox.h"

#include <iterator>

namespace {

// From the first pen on. Pen 188 draws 11 pixels, one more than the sample
// on its button.
constexpr qint16 kPenWidths[] = {1, 2, 3, 5, 8, 11};
static_assert(std::size(kPenWidths) == ToolId::kLastPen - ToolId::kFirstPen + 1);
constexpr qint16 kBroadBrushWidth = 19;

} // namespace

namespace FreehandTool {

qint16 widthOf(qint16 tool) {
    if (tool == ToolId::kBroadBrush)
        return kBroadBrushWidth;
    return ToolId::isPen(tool) ? kPenWidths[tool - ToolId::kFirstPen] : kPenWidths[0];
}

Repaint press(ToolContext& context, const CanvasEvent& event) {
    context.state.penDown = DrawingState::True;
    context.canvas.CurrentX = event.x;
    context.canvas.CurrentY = event.y;
    return Repaint::None;
}

Repaint move(ToolContext& context, const CanvasEvent& event) {
    context.canvas.DrawWidth = widthOf(context.state.currentTool);
    if (context.state.penDown)
        context.canvas.LineTo(event.x, event.y);
    return Repaint::Changed;
}

Repaint release(ToolContext& context, const CanvasEvent&) {
    context.state.penDown = DrawingState::False;
    return Repaint::None;
}

} // namespace FreehandTool
