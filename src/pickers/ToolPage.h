#pragma once

#include "pickers/ControlArrays.h"

class LineControl;
class PictureBoxControl;
class ShapeControl;

// The tool page Picture2(0): twelve tool buttons Picture3(183..194) lying over
// the decorations that picture what each tool draws.
class ToolPage {
public:
    // Builds the decorations and buttons on `page`; the buttons are stored at
    // their indexes in `buttons` (Picture3).
    ToolPage(PictureBoxControl* page, ToolButtons& buttons);

    ShapeControl* Shape1 = nullptr;       // outlined rectangle
    ShapeControl* Shape2 = nullptr;       // filled rectangle
    ShapeControl* Shape3 = nullptr;       // outlined ellipse
    ShapeControl* Shape4 = nullptr;       // filled ellipse
    LineControl* Line1 = nullptr;         // the straight-line tool's slanting line
    std::array<LineControl*, 6> Line10{}; // pen-width samples
};
