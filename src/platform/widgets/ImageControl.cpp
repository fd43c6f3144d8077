#include "platform/widgets/ImageControl.h"

#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = QImage();
    update();
}

void ImageControl::setStretch(bool on) {
    stretch_ = on;
    scaled_ = QImage();
    update();
}

void ImageControl::setBorderStyle(int style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    update();
}

void ImageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        if (stretch_) {
            // Scaled once and kept: the thumbnails repaint far more often than they change.
            if (scaled_.size() != size())
                scaled_ = picture_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            painter.drawImage(0, 0, scaled_);
        } else {
            painter.drawImage(0, 0, picture_);
        }
    }
    if (borderStyle_ == 1) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(mouseArgs(*event));
    event->accept();
}
