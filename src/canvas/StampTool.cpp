#include "canvas/StampTool.h"

#include "canvas/PictureBox.h"
#include "platform/Icon.h"

namespace StampTool {

Repaint press(ToolContext& context, const CanvasEvent& event) {
    if (!context.stampPicture)
        return Repaint::None;
    context.canvas.PaintPicture(context.stampPicture(context.state.currentTool), event.x - kOffsetX,
                                event.y - kOffsetY);
    return Repaint::Changed;
}

Repaint move(ToolContext&, const CanvasEvent&) {
    return Repaint::None;
}

Repaint release(ToolContext& context, const CanvasEvent&) {
    context.state.penDown = DrawingState::False;
    return Repaint::None;
}

} // namespace StampTool
