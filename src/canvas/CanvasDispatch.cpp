#include "canvas/CanvasDispatch.h"

#include "canvas/FreehandTool.h"
#include "canvas/PictureBox.h"
#include "canvas/ShapeTool.h"
#include "canvas/StampTool.h"
#include "platform/PictureFile.h"

namespace {

bool isShape(qint16 tool) {
    return tool >= ToolId::kBox && tool <= ToolId::kFilledEllipse;
}
bool isPen(qint16 tool) {
    return tool >= ToolId::kFirstPen && tool <= ToolId::kLastPen;
}

} // namespace

CanvasDispatch::CanvasDispatch(PictureBox& canvas, DrawingState& state, Module1& points)
    : canvas_(canvas), state_(state), points_(points) {}

void CanvasDispatch::mouseDown(qint16, qint16, float x, float y, const QString& snapshotFolder) {
    canvas_.FillStyle = 1;
    const qint16 tool = state_.currentTool;
    // The brush is tested first, then the shapes, then the pens; anything
    // else is a stamp.
    if (tool == ToolId::kBroadBrush || isPen(tool)) {
        FreehandTool::press(canvas_, state_, x, y);
    } else if (isShape(tool)) {
        ShapeTool::press(canvas_, state_, points_, x, y);
        SaveCanvasSnapshot(snapshotFolder);
    } else if (stampPicture) {
        StampTool::press(canvas_, stampPicture(tool), x, y);
        scheduleChangedRect();
    }
}

void CanvasDispatch::mouseMove(qint16 Button, qint16, float x, float y, quint32 lineColour,
                               quint32 fillColour) {
    // The button held now, not the one pressed, decides the colours.
    if (Button == 1) {
        canvas_.ForeColor = lineColour;
        canvas_.FillColor = fillColour;
    } else if (Button == 2) {
        canvas_.ForeColor = fillColour;
        canvas_.FillColor = lineColour;
    }
    const qint16 tool = state_.currentTool;
    if (isShape(tool)) {
        if (ShapeTool::move(canvas_, state_, points_, x, y)) {
            canvas_.takeChangedRect();
            if (Refresh)
                Refresh();
        }
    } else if (isPen(tool) || tool == ToolId::kBroadBrush) {
        FreehandTool::move(canvas_, state_, x, y);
        scheduleChangedRect();
    }
}

void CanvasDispatch::mouseUp(qint16, qint16, float, float) {
    if (isShape(state_.currentTool))
        state_.shapeDragging = DrawingState::False;
    else
        state_.penDown = DrawingState::False;
}

void CanvasDispatch::SaveCanvasSnapshot(const QString& snapshotFolder) {
    const QString path = snapshotFolder + QStringLiteral("temp.bmp");
    PictureFile::LoadResult loaded;
    if (PictureFile::saveBmp(canvas_.Image(), path).ok())
        loaded = PictureFile::load(path);
    // The canvas in memory is the truth. Without the file (a full disk, a
    // folder in its place) the preview would clear back to an older
    // background, and a file that reads back as another picture (a second
    // Pensilo sharing the folder, saving between our write and our read)
    // would put that picture on this canvas: either way the drawing would be
    // lost. Nothing is said: the drawing goes on unharmed, and a full disk is
    // reported where it matters, when the picture is saved.
    canvas_.setPicture(loaded.ok() && loaded.image == canvas_.Image() ? loaded.image
                                                                      : canvas_.Image().copy());
}

void CanvasDispatch::scheduleChangedRect() {
    const QRect changed = canvas_.takeChangedRect();
    if (!changed.isEmpty() && update)
        update(changed);
}
