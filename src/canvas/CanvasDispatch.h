#pragma once

#include "canvas/Tool.h"

#include <QRect>
#include <QString>

#include <functional>

class Icon;
class PictureBox;

// What the canvas's press, move and release do: the steps every event takes
// whatever the tool, then the step of the tool in use.
class CanvasDispatch {
public:
    CanvasDispatch(PictureBox& canvas, DrawingState& state, Module1& points);

    // The stamp picture for a ToolId below 183.
    std::function<const Icon&(qint16 tool)> stampPicture;
    // Repaint this pixel rectangle of the canvas soon.
    std::function<void(const QRect&)> update;
    // Repaint the window now, so a shape's preview shows at once.
    std::function<void()> Refresh;
    // A gesture, what a child sees as one action, begins before its press
    // changes the canvas and ends after its release (a stamp's with its press).
    std::function<void()> gestureBegins;
    std::function<void()> gestureEnds;

    // `snapshotFolder` ends in a separator; the shape tools keep temp.bmp there.
    void mouseDown(qint16 Button, qint16 Shift, float x, float y, const QString& snapshotFolder);
    // `lineColour` and `fillColour` are the swatches' colours, 0x00BBGGRR.
    void mouseMove(qint16 Button, qint16 Shift, float x, float y, quint32 lineColour,
                   quint32 fillColour);
    void mouseUp(qint16 Button, qint16 Shift, float x, float y);

private:
    using Step = Repaint (*Tool::*)(ToolContext&, const CanvasEvent&);
    // The step of the tool in use, its kind chosen once from currentTool.
    void run(Step step, const CanvasEvent& event, const QString& snapshotFolder = {});
    void show(Repaint repaint);

    PictureBox& canvas_;
    DrawingState& state_;
    Module1& points_;
};
