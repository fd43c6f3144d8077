#include "canvas/PictureBox.h"

#include "canvas/Raster.h"
#include "platform/Icon.h"
#include "platform/Units.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QPointF toPixels(float x, float y) {
    return QPointF(twipsToPixelsF(x), twipsToPixelsF(y));
}

} // namespace

PictureBox::PictureBox() : image_(kWidth, kHeight, QImage::Format_RGB32) {
    image_.fill(bgrToRgb(BackColor));
}

void PictureBox::setPicture(const QImage& picture) {
    // Kept in the canvas's own format so Cls is a plain copy of rows.
    picture_ = picture.format() == QImage::Format_RGB32
                   ? picture
                   : picture.convertToFormat(QImage::Format_RGB32);
    // A new picture shows at once, over whatever was drawn.
    showPicture();
}

void PictureBox::Cls() {
    showPicture();
    CurrentX = 0;
    CurrentY = 0;
}

void PictureBox::showPicture() {
    const int width = std::min(picture_.width(), kWidth);
    const int height = std::min(picture_.height(), kHeight);
    if (width < kWidth || height < kHeight)
        image_.fill(bgrToRgb(BackColor));
    uchar* target = image_.bits();
    if (picture_.size() == image_.size() && picture_.bytesPerLine() == image_.bytesPerLine()) {
        // A snapshot has the canvas's own layout: one copy, as every shape move does it.
        std::memcpy(target, picture_.constBits(), static_cast<size_t>(image_.sizeInBytes()));
    } else {
        for (int y = 0; y < height; ++y)
            std::memcpy(target + y * image_.bytesPerLine(), picture_.constScanLine(y),
                        static_cast<size_t>(width) * 4);
    }
    changed(image_.rect());
}

void PictureBox::Line(float x1, float y1, float x2, float y2, bool box) {
    const QRgb fore = bgrToRgb(ForeColor);
    const QPointF a = toPixels(x1, y1);
    const QPointF b = toPixels(x2, y2);
    if (!box) {
        changed(Raster::segment(image_, a, b, DrawWidth, fore));
    } else {
        const QPointF c(b.x(), a.y());
        const QPointF d(a.x(), b.y());
        if (FillStyle == 0) {
            // The fill lies strictly inside the outline's corner pixels; a box
            // one or two pixels across has no inside.
            const QPoint p = Raster::pixelAt(a), q = Raster::pixelAt(b);
            const QPoint first(std::min(p.x(), q.x()) + 1, std::min(p.y(), q.y()) + 1);
            const QPoint last(std::max(p.x(), q.x()) - 1, std::max(p.y(), q.y()) - 1);
            if (first.x() <= last.x() && first.y() <= last.y())
                changed(Raster::fillRect(image_, first, last, bgrToRgb(FillColor)));
        }
        for (const auto& [from, to] : {std::pair{a, c}, {c, b}, {b, d}, {d, a}})
            changed(Raster::segment(image_, from, to, DrawWidth, fore));
    }
    CurrentX = x2;
    CurrentY = y2;
}

void PictureBox::LineTo(float x, float y) {
    Line(CurrentX, CurrentY, x, y);
}

void PictureBox::Circle(float x, float y, float radius, float aspect) {
    double rx = radius;
    double ry = radius;
    if (aspect < 1)
        ry = radius * static_cast<double>(aspect);
    else
        rx = radius / static_cast<double>(aspect);
    // Centre and semi-axes measured between pixel centres, like the lines.
    const QPointF centre = toPixels(x, y) + QPointF(0.5, 0.5);
    changed(Raster::ellipse(image_, centre, twipsToPixelsF(rx), twipsToPixelsF(ry), FillStyle == 0,
                            bgrToRgb(FillColor), true, bgrToRgb(ForeColor)));
    CurrentX = x;
    CurrentY = y;
}

void PictureBox::PaintPicture(const Icon& icon, float x, float y) {
    const QPoint topLeft(static_cast<int>(std::lround(std::clamp(twipsToPixelsF(x), -1e6, 1e6))),
                         static_cast<int>(std::lround(std::clamp(twipsToPixelsF(y), -1e6, 1e6))));
    icon.drawOnto(image_, topLeft);
    changed(QRect(topLeft, icon.size()) & image_.rect());
}

QRect PictureBox::takeChangedRect() {
    const QRect rect = changed_;
    changed_ = QRect();
    return rect;
}
