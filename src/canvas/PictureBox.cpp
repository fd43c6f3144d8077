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

PictureBox::PictureBox() : PictureBox(QImage()) {}

PictureBox::PictureBox(const QImage& picture) {
    setPicture(picture);
}

void PictureBox::setPicture(const QImage& picture) {
    // Kept in the canvas's own format so Cls is a plain copy of rows.
    picture_ = picture.format() == QImage::Format_RGB32
                   ? picture
                   : picture.convertToFormat(QImage::Format_RGB32);
    // A new picture shows at once, over whatever was drawn.
    showPicture();
}

void PictureBox::restore(const QImage& part, QPoint at) {
    const QRect target = QRect(at, part.size()) & image_.rect();
    for (int y = target.top(); y <= target.bottom(); ++y)
        std::memcpy(image_.scanLine(y) + qsizetype(target.left()) * 4,
                    part.constScanLine(y - at.y()) + qsizetype(target.left() - at.x()) * 4,
                    static_cast<size_t>(target.width()) * 4);
    picture_ = image_;
    changed(target);
}

void PictureBox::Cls() {
    showPicture();
    CurrentX = 0;
    CurrentY = 0;
}

void PictureBox::showPicture() {
    if (picture_.width() >= kWidth && picture_.height() >= kHeight) {
        // The picture's top-left part, read where it lies: the first drawing
        // makes the canvas's own copy, so a Cls before it copies nothing. The
        // view holds a share of the picture, so it stays valid when the
        // background picture is replaced.
        auto* share = new QImage(picture_);
        image_ = QImage(
            share->constBits(), kWidth, kHeight, share->bytesPerLine(), QImage::Format_RGB32,
            [](void* held) { delete static_cast<QImage*>(held); }, share);
    } else {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(bgrToRgb(BackColor));
        for (int y = 0; y < std::min(picture_.height(), kHeight); ++y)
            std::memcpy(image.scanLine(y), picture_.constScanLine(y),
                        static_cast<size_t>(std::min(picture_.width(), kWidth)) * 4);
        image_ = image;
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
        if (FillStyle == FillStyle::kSolid) {
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
    changed(Raster::ellipse(image_, centre, twipsToPixelsF(rx), twipsToPixelsF(ry),
                            FillStyle == FillStyle::kSolid, bgrToRgb(FillColor), true,
                            bgrToRgb(ForeColor)));
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
