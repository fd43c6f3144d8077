#include "pickers/ToolPage.h"

#include "platform/BuiltinPictures.h"
#include "platform/ControlCodes.h"
#include "platform/Units.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/ShapeControl.h"

namespace {

constexpr int kPen = ToolId::kFirstPen;

enum class Kind {
    Button,
    PenSample,
    Line,
    OutlinedRectangle,
    FilledRectangle,
    OutlinedEllipse,
    FilledEllipse
};

// One control of the page. Buttons and shapes: left, top, width, height.
// Lines: from (a, b) to (c, d). All in twips; `number` is the button's index,
// the pen sample's index or the shape's number.
struct Element {
    Kind kind;
    int number;
    int a, b, c, d;
    int lineWidth = 1;
};

// Top of the stacking first: a control listed earlier lies above later ones.
constexpr Element kStacking[] = {
    {Kind::Button, ToolId::kBroadBrush, 1680, 3240, 240, 240},
    {Kind::FilledEllipse, 4, 240, 3285, 1095, 135},
    {Kind::Button, ToolId::kFilledEllipse, 120, 3240, 1335, 225},
    {Kind::OutlinedEllipse, 3, 1680, 2925, 1095, 135},
    {Kind::Button, ToolId::kEllipse, 1560, 2880, 1335, 225},
    {Kind::Line, 1, 1350, 2920, 220, 3000},
    {Kind::Button, ToolId::kStraightLine, 120, 2880, 1335, 225},
    {Kind::Button, ToolId::kFilledBox, 1560, 2355, 1335, 345},
    {Kind::FilledRectangle, 2, 1620, 2400, 1215, 255},
    {Kind::OutlinedRectangle, 1, 180, 2400, 1215, 255},
    {Kind::Button, ToolId::kBox, 120, 2355, 1335, 345},
    {Kind::PenSample, 5, 240, 2040, 2880, 2040, 10},
    {Kind::Button, kPen + 5, 120, 1890, 2895, 315},
    {Kind::PenSample, 4, 240, 1665, 2880, 1665, 8},
    {Kind::Button, kPen + 4, 120, 1560, 2895, 225},
    {Kind::PenSample, 3, 240, 1305, 2880, 1305, 5},
    {Kind::Button, kPen + 3, 120, 1200, 2895, 225},
    {Kind::PenSample, 2, 240, 945, 2880, 945, 3},
    {Kind::Button, kPen + 2, 120, 840, 2895, 225},
    {Kind::PenSample, 1, 240, 585, 2880, 585, 2},
    {Kind::Button, kPen + 1, 120, 480, 2895, 225},
    {Kind::PenSample, 0, 240, 240, 2880, 240, 1},
    {Kind::Button, kPen, 120, 130, 2895, 225},
};

} // namespace

ToolPage::ToolPage(PictureBoxControl* page, ToolButtons& buttons) {
    // The samples and the outlines of the ellipses are in the window-text
    // colour, black in the usual scheme; the rectangles' outlines start black.
    const QRgb windowText = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    std::array<ShapeControl*, 5> shapes{};

    // Qt stacks later siblings above earlier ones, so build from the bottom up.
    for (auto it = std::rbegin(kStacking); it != std::rend(kStacking); ++it) {
        const Element& e = *it;
        switch (e.kind) {
        case Kind::Button: {
            auto* button = new ImageControl(page);
            button->setObjectName(QStringLiteral("Picture3(%1)").arg(e.number));
            button->setGeometry(twipsRect(e.a, e.b, e.c, e.d));
            buttons.at(static_cast<size_t>(e.number)) = button;
            break;
        }
        case Kind::PenSample:
        case Kind::Line: {
            auto* line =
                new LineControl(twipsPoint(e.a, e.b), twipsPoint(e.c, e.d), e.lineWidth, page);
            line->setBorderColor(windowText);
            if (e.kind == Kind::PenSample) {
                line->setObjectName(QStringLiteral("Line10(%1)").arg(e.number));
                Line10.at(static_cast<size_t>(e.number)) = line;
            } else {
                line->setObjectName(QStringLiteral("Line1"));
                Line1 = line;
            }
            break;
        }
        default: {
            const bool ellipse = e.kind == Kind::OutlinedEllipse || e.kind == Kind::FilledEllipse;
            const bool filled = e.kind == Kind::FilledRectangle || e.kind == Kind::FilledEllipse;
            auto* shape = new ShapeControl(
                ellipse ? ShapeControl::Kind::Ellipse : ShapeControl::Kind::Rectangle, page);
            shape->setObjectName(QStringLiteral("Shape%1").arg(e.number));
            shape->setGeometry(twipsRect(e.a, e.b, e.c, e.d));
            shape->setBorderColor(windowText);
            shape->setFillStyle(filled ? FillStyle::kSolid : FillStyle::kTransparent);
            shape->setFillColor(white);
            shapes.at(static_cast<size_t>(e.number)) = shape;
            break;
        }
        }
    }
    Shape1 = shapes[1];
    Shape2 = shapes[2];
    Shape3 = shapes[3];
    Shape4 = shapes[4];
    buttons.at(ToolId::kBroadBrush)->setPicture(BuiltinPictures::eraserButton());
}
