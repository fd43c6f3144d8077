#include "platform/widgets/PictureBoxControl.h"

#include <QPainter>

PictureBoxControl::PictureBoxControl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBoxControl::setBackColor(QRgb colour) {
    backColor_ = colour;
    update();
}

void PictureBoxControl::setFlatBorder(bool on) {
    flatBorder_ = on;
    update();
}

void PictureBoxControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgb(backColor_));
    if (flatBorder_) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBoxControl::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(mouseArgs(*event));
    event->accept();
}
