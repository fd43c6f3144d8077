#include "platform/Icon.h"

#include <algorithm>

Icon::Icon(const QImage& colour, const QImage& mask)
    : colour_(colour.convertToFormat(QImage::Format_RGB32)),
      mask_(mask.convertToFormat(QImage::Format_Grayscale8)) {
    Q_ASSERT(colour_.size() == mask_.size());
    // Any non-zero value is a set bit; kept as 255 so equal masks compare equal
    // however they were made (QImage::setPixel on a grey image takes a colour).
    for (int y = 0; y < mask_.height(); ++y) {
        uchar* row = mask_.scanLine(y);
        for (int x = 0; x < mask_.width(); ++x)
            row[x] = row[x] ? 255 : 0;
    }
}

void Icon::drawOnto(QImage& destination, QPoint topLeft) const {
    Q_ASSERT(destination.format() == QImage::Format_RGB32);
    const int x0 = std::max(0, topLeft.x());
    const int y0 = std::max(0, topLeft.y());
    const int x1 = std::min(destination.width(), topLeft.x() + width());
    const int y1 = std::min(destination.height(), topLeft.y() + height());
    for (int y = y0; y < y1; ++y) {
        const int sy = y - topLeft.y();
        auto* row = reinterpret_cast<QRgb*>(destination.scanLine(y));
        const auto* colourRow = reinterpret_cast<const QRgb*>(colour_.constScanLine(sy));
        const uchar* maskRow = mask_.constScanLine(sy);
        for (int x = x0; x < x1; ++x) {
            const int sx = x - topLeft.x();
            const QRgb andBits = maskRow[sx] ? 0xffffffffu : 0xff000000u;
            row[x] = ((row[x] & andBits) ^ (colourRow[sx] & 0x00ffffffu)) | 0xff000000u;
        }
    }
}

QImage Icon::onBackground(QRgb background) const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(background);
    drawOnto(image, QPoint(0, 0));
    return image;
}
