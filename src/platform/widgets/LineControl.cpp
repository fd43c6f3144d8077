#include "platform/widgets/LineControl.h"

#include <QPainter>

LineControl::LineControl(QPoint from, QPoint to, int width, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), width_(width) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The widget covers the line's bounding box grown by the pen, so a wide
    // line is not cut at its sides.
    const int pad = (width + 1) / 2 + 1;
    setGeometry(QRect(from, to).normalized().adjusted(-pad, -pad, pad, pad));
}

void LineControl::setBorderColor(QRgb colour) {
    borderColor_ = colour;
    update();
}

void LineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(QColor::fromRgb(borderColor_), width_, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(from_ - pos(), to_ - pos());
}
