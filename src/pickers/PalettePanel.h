#pragma once

#include "platform/widgets/MouseArgs.h"

#include <functional>

#include <array>

class PictureBoxControl;

// The palette along the bottom of the window: 42 colour cells and the swatch
// holder with the line-colour and fill-colour swatches. The swatches are the
// only store of the two colours.
class PalettePanel {
public:
    static constexpr int kCellSlots = 43; // indexes 0 to 42; there is no 37

    // Builds the cells and swatches on the panel Picture5.
    explicit PalettePanel(PictureBoxControl* picture5);

    // Picture6(index), or nullptr for the missing index 37.
    PictureBoxControl* cell(int index) const { return cells_.at(static_cast<size_t>(index)); }
    PictureBoxControl* Picture7 = nullptr;
    PictureBoxControl* Picture8 = nullptr; // line colour
    PictureBoxControl* Picture9 = nullptr; // fill colour

    // Raised for a press on any cell, with the cell's index.
    std::function<void(qint16 index, const MouseArgs&)> onCellMouseDown;

private:
    std::array<PictureBoxControl*, kCellSlots> cells_{};
};
