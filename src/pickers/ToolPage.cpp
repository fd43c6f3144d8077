#include "pickers/ToolPage.h"

#include "platform/BuiltinPictures.h"
#include "platform/Units.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LineControl.h"
#include "platform/widgets/PictureBoxControl.h"
#include "platform/widgets/ShapeControl.h"

namespace {

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
    {Kind::Button, 194, 1680, 3240, 240, 240},
    {Kind::FilledEllipse, 4, 240, 3285, 1095, 135},
    {Kind::Button, 193, 120, 3240, 1335, 225},
    {Kind::OutlinedEllipse, 3, 1680, 2925, 1095, 135},
    {Kind::Button, 192, 1560, 2880, 1335, 225},
    {Kind::Line, 1, 1350, 2920, 220, 3000},
    {Kind::Button, 191, 120, 2880, 1335, 225},
    {Kind::Button, 190, 1560, 2355, 1335, 345},
    {Kind::FilledRectangle, 2, 1620, 2400, 1215, 255},
    {Kind::OutlinedRectangle, 1, 180, 2400, 1215, 255},
    {Kind::Button, 189, 120, 2355, 1335, 345},
    {Kind::PenSample, 5, 240, 2040, 2880, 2040, 10},
    {Kind::Button, 188, 120, 1890, 2895, 315},
    {Kind::PenSample, 4, 240, 1665, 2880, 1665, 8},
    {Kind::Button, 187, 120, 1560, 2895, 225},
    {Kind::PenSample, 3, 240, 1305, 2880, 1305, 5},
    {Kind::Button, 186, 120, 1200, 2895, 225},
    {Kind::PenSample, 2, 240, 945, 2880, 945, 3},
    {Kind::Button, 185, 120, 840, 2895, 225},
    {Kind::PenSample, 1, 240, 585, 2880, 585, 2},
    {Kind::Button, 184, 120, 480, 2895, 225},
    {Kind::PenSample, 0, 240, 240, 2880, 240, 1},
    {Kind::Button, 183, 120, 130, 2895, 225},
};

} // namespace

ToolPage::ToolPage(PictureBoxControl* page, std::array<ImageControl*, 195>& buttons) {
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
            shape->setFillStyle(filled ? 0 : 1);
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
    buttons.at(194)->setPicture(BuiltinPictures::eraserButton());
}
