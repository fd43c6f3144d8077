#include "pickers/StampPages.h"

#include "platform/BuiltinPictures.h"
#include "platform/ControlCodes.h"
#include "platform/Units.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/PictureBoxControl.h"

namespace {

constexpr int kStampSize = 480; // twips: the icons' own 32 pixels
constexpr int kRowTop[4] = {120, 720, 1320, 1920};
constexpr int kColumnLeft[4] = {120, 885, 1605, 2400};
constexpr int kNone = -1;

// The stamps of each page in reading order: four rows of up to four.
constexpr int kGrid[12][4][4] = {
    {{31, 30, 29, 28}, {24, 25, 26, 27}, {20, 21, 22, 23}, {16, 17, 18, 19}},
    {{32, 33, 34, 35}, {39, 38, 37, 36}, {43, 42, 41, 40}, {47, 46, 45, 44}},
    {{49, 50, 51, 55}, {54, 53, 52, 56}, {59, 58, 57, 61}, {63, 62, 60, 48}},
    {{78, 77, 76, 72}, {73, 74, 75, 71}, {68, 69, 70, 66}, {64, 65, 67, 79}},
    {{81, 82, 83, 87}, {86, 85, 84, 88}, {91, 90, 89, 93}, {95, 94, 92, 80}},
    {{110, 109, 108, 104}, {105, 106, 107, 103}, {100, 101, 102, 111}, {96, 97, 99, kNone}},
    {{126, 125, 124, 120}, {121, 122, 123, 119}, {116, 117, 118, 114}, {112, 113, 115, 127}},
    {{129, 130, 131, 135}, {134, 133, 132, 136}, {139, 138, 137, 141}, {143, 142, 140, 128}},
    {{158, 157, 156, 152},
     {153, 154, 155, 151},
     {148, 149, 150, kNone},
     {kNone, kNone, kNone, kNone}},
    {{169, 168, 167, 163}, {164, 165, 166, 162}, {159, 160, 161, 146}, {144, 145, 147, 170}},
    {{172, 173, 174, 178},
     {177, 176, 175, 179},
     {182, 181, kNone, kNone},
     {kNone, kNone, kNone, kNone}},
    {{0, 1, 2, 3}, {7, 6, 5, 4}, {11, 10, 9, 8}, {15, 14, 13, 12}},
};

// Three stamps lie off the grid, partly outside their page; the page clips
// them, so only their visible part shows and takes presses.
struct OffGrid {
    int page;
    int index;
    int left, top; // twips
};
constexpr OffGrid kOffGrid[] = {{6, 98, 2760, 2280}, {11, 171, -120, 2160}, {11, 180, 360, 2160}};

} // namespace

namespace StampPages {

void build(const Pages& pages, ToolButtons& buttons) {
    auto addStamp = [&](int page, int index, int left, int top) {
        auto* button = new ImageControl(pages.at(static_cast<size_t>(page)));
        button->setObjectName(QStringLiteral("Picture3(%1)").arg(index));
        button->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(kStampSize),
                            twipsToPixels(kStampSize));
        // The button shows the icon as Windows draws it on the page's grey.
        button->setPictureSource(
            [index] { return BuiltinPictures::stamp(index).onBackground(kLightGrey); });
        buttons.at(static_cast<size_t>(index)) = button;
    };
    for (int page = 1; page <= kStampPageCount; ++page)
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                if (const int index = kGrid[page - 1][row][column]; index != kNone)
                    addStamp(page, index, kColumnLeft[column], kRowTop[row]);
    for (const OffGrid& stamp : kOffGrid)
        addStamp(stamp.page, stamp.index, stamp.left, stamp.top);
}

} // namespace StampPages
