#pragma once

#include "canvas/DrawingState.h"

#include <QString>

#include <functional>

class Icon;
class PictureBox;

// One press, move or release on the canvas: the button mask (on a move the
// buttons held), the Shift mask and the pointer in twips.
struct CanvasEvent {
    qint16 Button = 0;
    qint16 Shift = 0;
    float x = 0;
    float y = 0;
};

// What a tool's step works on: the canvas, the window's drawing state and
// the services a tool needs.
struct ToolContext {
    PictureBox& canvas;
    DrawingState& state;
    Module1& points;
    // Ends in a separator; a shape press keeps temp.bmp there.
    const QString& snapshotFolder;
    // The stamp picture for a ToolId below 183.
    const std::function<const Icon&(qint16 tool)>& stampPicture;
};

// How the window should show what a step drew.
enum class Repaint {
    None,
    Changed, // the changed rectangle, at the next idle moment
    Now,     // the canvas at once, so a shape's preview follows the pointer
};

// The three steps every kind of tool answers.
struct Tool {
    Repaint (*press)(ToolContext&, const CanvasEvent&);
    Repaint (*move)(ToolContext&, const CanvasEvent&);
    Repaint (*release)(ToolContext&, const CanvasEvent&);
    // A stamp is whole on its press; the other kinds end on the release.
    bool wholeOnPress;
};

// The tool of a kind: the one list that names them all.
const Tool& toolOf(ToolKind kind);
