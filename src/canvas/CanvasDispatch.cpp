#include "canvas/CanvasDispatch.h"

#include "canvas/PictureBox.h"
#include "platform/ControlCodes.h"

CanvasDispatch::CanvasDispatch(PictureBox& canvas, DrawingState& state, Module1& points)
    : canvas_(canvas), state_(state), points_(points) {}

void CanvasDispatch::mouseDown(qint16 Button, qint16 Shift, float x, float y,
                               const QString& snapshotFolder) {
    canvas_.FillStyle = FillStyle::kTransparent;
    if (gestureBegins)
        gestureBegins();
    run(&Tool::press, {Button, Shift, x, y}, snapshotFolder);
    if (toolOf(toolKind(state_.currentTool)).wholeOnPress && gestureEnds)
        gestureEnds();
}

void CanvasDispatch::mouseMove(qint16 Button, qint16 Shift, float x, float y, quint32 lineColour,
                               quint32 fillColour) {
    // The button held now, not the one pressed, decides the colours.
    if (Button == MouseButton::kLeft) {
        canvas_.ForeColor = lineColour;
        canvas_.FillColor = fillColour;
    } else if (Button == MouseButton::kRight) {
        canvas_.ForeColor = fillColour;
        canvas_.FillColor = lineColour;
    }
    run(&Tool::move, {Button, Shift, x, y});
}

void CanvasDispatch::mouseUp(qint16 Button, qint16 Shift, float x, float y) {
    run(&Tool::release, {Button, Shift, x, y});
    if (gestureEnds)
        gestureEnds();
}

void CanvasDispatch::run(Step step, const CanvasEvent& event, const QString& snapshotFolder) {
    ToolContext context{canvas_, state_, points_, snapshotFolder, stampPicture};
    const Tool& tool = toolOf(toolKind(state_.currentTool));
    show((tool.*step)(context, event));
}

void CanvasDispatch::show(Repaint repaint) {
    if (repaint == Repaint::None)
        return;
    const QRect changed = canvas_.takeChangedRect();
    if (repaint == Repaint::Now) {
        if (Refresh)
            Refresh();
    } else if (!changed.isEmpty() && update) {
        update(changed);
    }
}
