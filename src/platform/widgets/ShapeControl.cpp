#include "platform/widgets/ShapeControl.h"

#include <QPainter>

ShapeControl::ShapeControl(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeControl::setBorderColor(QRgb colour) {
    borderColor_ = colour;
    update();
}

void ShapeControl::setFillColor(QRgb colour) {
    fillColor_ = colour;
    update();
}

void ShapeControl::setFillStyle(int style) {
    fillStyle_ = style;
    update();
}

void ShapeControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor::fromRgb(borderColor_));
    if (fillStyle_ == FillStyle::kSolid)
        painter.setBrush(QColor::fromRgb(fillColor_));
    const QRect box = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Kind::Rectangle)
        painter.drawRect(box);
    else
        painter.drawEllipse(box);
}
