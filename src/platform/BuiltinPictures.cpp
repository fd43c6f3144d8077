#include "platform/BuiltinPictures.h"

#include <QPainter>

#include <array>

// Placeholders of the designed kinds and sizes until the generated pictures land.
namespace {

Icon placeholderStamp(int index) {
    QImage colour(32, 32, QImage::Format_RGB32);
    colour.fill(Qt::black);
    QImage mask(32, 32, QImage::Format_Grayscale8);
    mask.fill(255);
    QPainter painter(&colour);
    painter.setPen(Qt::black);
    painter.setBrush(QColor::fromHsv((index * 37) % 360, 200, 230));
    painter.drawEllipse(2, 2, 27, 27);
    painter.end();
    QPainter maskPainter(&mask);
    maskPainter.setPen(Qt::black);
    maskPainter.setBrush(Qt::black);
    maskPainter.drawEllipse(2, 2, 27, 27);
    return Icon(colour, mask);
}

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

namespace BuiltinPictures {

const Icon& stamp(int index) {
    static const std::array<Icon, kStampCount> stamps = [] {
        std::array<Icon, kStampCount> all;
        for (int i = 0; i < kStampCount; ++i)
            all[i] = placeholderStamp(i);
        return all;
    }();
    return stamps.at(static_cast<size_t>(index));
}

const QImage& scene(int index) {
    static const std::array<QImage, kSceneCount> scenes = {
        filled(485, 455, qRgb(255, 200, 200)), filled(485, 455, qRgb(160, 160, 160)),
        filled(485, 455, qRgb(200, 255, 200)), filled(485, 455, qRgb(0, 0, 0)),
        filled(558, 515, qRgb(0, 0, 255)),     canvasStartPicture(),
    };
    return scenes.at(static_cast<size_t>(index));
}

const QImage& canvasStartPicture() {
    static const QImage white = filled(497, 467, qRgb(255, 255, 255));
    return white;
}

const QImage& eraserButton() {
    static const QImage eraser = filled(16, 16, qRgb(255, 255, 255));
    return eraser;
}

QIcon windowIcon() { return QIcon(QPixmap::fromImage(placeholderStamp(0).onBackground(0))); }

QIcon commandIcon(int number) {
    return QIcon(QPixmap::fromImage(filled(16, 16, number == 3 ? qRgb(128, 128, 0) : qRgb(255, 255, 255))));
}

} // namespace BuiltinPictures
