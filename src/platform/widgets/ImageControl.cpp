#include "platform/widgets/ImageControl.h"

#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QImage& picture) {
    makePicture_ = nullptr;
    picture_ = picture;
    scaled_ = QImage();
    update();
}

void ImageControl::setPictureSource(std::function<QImage()> make) {
    makePicture_ = std::move(make);
    picture_ = QImage();
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
    if (makePicture_ && !stretch_) {
        picture_ = makePicture_();
        makePicture_ = nullptr;
    }
    QPainter painter(this);
    if (stretch_) {
        // Scaled once and kept: the thumbnails repaint far more often than they
        // change. A picture made on demand is not kept at its full size.
        if (scaled_.size() != size()) {
            const QImage full = makePicture_ ? makePicture_() : picture_;
            if (!full.isNull())
                scaled_ = full.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (!scaled_.isNull())
            painter.drawImage(0, 0, scaled_);
    } else if (!picture_.isNull()) {
        painter.drawImage(0, 0, picture_);
    }
    if (borderStyle_ == BorderStyle::kFixedSingle) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(mouseArgs(*event));
    event->accept();
}
