#include "pickers/PalettePanel.h"

#include "platform/Units.h"
#include "platform/widgets/PictureBoxControl.h"

namespace {

struct CellDesign {
    qint16 index;
    quint32 colour; // 0x00BBGGRR
};

// Two rows of 21 cells in screen order. The indexes do not follow the screen:
// each cell keeps the index the press handler receives.
constexpr CellDesign kRows[2][21] = {
    {{0, 0xFFFFFF},  {2, 0xE0E0E0},  {4, 0xC0C0C0},  {6, 0x808080},  {8, 0x404040},  {10, 0x000000},
     {12, 0xC0C0FF}, {14, 0x8080FF}, {16, 0x0000FF}, {18, 0x0000C0}, {24, 0x000080}, {23, 0x000040},
     {22, 0xC0E0FF}, {21, 0x80C0FF}, {20, 0x0080FF}, {31, 0x0040C0}, {30, 0x004080}, {1, 0xC0FFFF},
     {39, 0xFFC0FF}, {40, 0xFF80FF}, {38, 0x800080}},
    {{41, 0xFF00FF}, {42, 0xC000C0}, {3, 0x80FFFF},  {5, 0x00FFFF},  {7, 0x00C0C0},  {9, 0x008080},
     {11, 0xC0FFC0}, {13, 0x80FF80}, {15, 0x00FF00}, {17, 0x00C000}, {19, 0x008000}, {29, 0xFFFFC0},
     {28, 0xFFFF80}, {27, 0xFFFF00}, {26, 0xC0C000}, {25, 0xC0C000}, {32, 0x808000}, {34, 0xFFC0C0},
     {35, 0xFF8080}, {36, 0xFF0000}, {33, 0x800000}},
};

constexpr int kCellSize = 255;
constexpr int kFirstLeft = 840;
constexpr int kPitch = 240;
constexpr int kRowTop[2] = {120, 360};

} // namespace

PalettePanel::PalettePanel(PictureBoxControl* picture5) {
    // Stacking, top first: Picture6(42) down to Picture6(1), Picture7, then
    // Picture6(0). Qt stacks later siblings on top, so build from the bottom.
    auto makeCell = [&](int row, int column) {
        const CellDesign& design = kRows[row][column];
        auto* cell = new PictureBoxControl(picture5);
        cell->setObjectName(QStringLiteral("Picture6(%1)").arg(design.index));
        cell->setGeometry(
            twipsRect(kFirstLeft + kPitch * column, kRowTop[row], kCellSize, kCellSize));
        cell->setBackColor(bgrToRgb(design.colour));
        cell->setFlatBorder(true);
        const qint16 index = design.index;
        cell->onMouseDown = [this, index](const MouseArgs& args) {
            if (onCellMouseDown)
                onCellMouseDown(index, args);
        };
        cells_.at(static_cast<size_t>(index)) = cell;
    };
    makeCell(0, 0);

    Picture7 = new PictureBoxControl(picture5);
    Picture7->setObjectName(QStringLiteral("Picture7"));
    Picture7->setGeometry(twipsRect(120, 120, 615, 495));
    Picture7->setBackColor(bgrToRgb(0xE0E0E0));
    Picture8 = new PictureBoxControl(Picture7);
    Picture8->setObjectName(QStringLiteral("Picture8"));
    Picture8->setGeometry(twipsRect(120, 80, 250, 250));
    Picture8->setBackColor(bgrToRgb(0x000000));
    Picture8->setFlatBorder(true);
    Picture9 = new PictureBoxControl(Picture7);
    Picture9->setObjectName(QStringLiteral("Picture9"));
    Picture9->setGeometry(twipsRect(240, 180, 250, 250));
    Picture9->setBackColor(bgrToRgb(0xFFFFFF));
    Picture9->setFlatBorder(true);

    // Cells 1 to 42 rise in index order, so a higher index lies above its
    // neighbour where the two overlap by a pixel.
    std::array<std::pair<int, int>, kCellSlots> placeOf{};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 21; ++column)
            placeOf.at(static_cast<size_t>(kRows[row][column].index)) = {row, column};
    for (int index = 1; index < kCellSlots; ++index)
        if (index != 37)
            makeCell(placeOf.at(static_cast<size_t>(index)).first,
                     placeOf.at(static_cast<size_t>(index)).second);
}
