#include "platform/BuiltinPictures.h"

#include "platform/IcoCodec.h"

#include <QImageReader>
#include <QPixmap>
#include <QtDebug>

#include <array>

// The pictures are compiled in, so a failure here is a broken build: it is
// reported and a plain stand-in of the right size keeps the program usable.
namespace {

QImage loadImage(const QString& name, QSize expected) {
    QImageReader reader(QStringLiteral(":/assets/") + name);
    reader.setAllocationLimit(64);
    QImage image = reader.read();
    if (image.isNull()) {
        qWarning("Built-in picture %s is missing: %s", qPrintable(name),
                 qPrintable(reader.errorString()));
        image = QImage(expected, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

Icon loadIcon(const QString& name, int imageIndex = 0) {
    const IcoCodec::ReadResult result = IcoCodec::readFile(QStringLiteral(":/assets/") + name);
    if (!result.ok() || static_cast<int>(result.images.size()) <= imageIndex) {
        qWarning("Built-in icon %s is missing: %s", qPrintable(name), qPrintable(result.error));
        QImage colour(32, 32, QImage::Format_RGB32);
        colour.fill(Qt::gray);
        QImage mask(32, 32, QImage::Format_Grayscale8);
        mask.fill(0);
        return Icon(colour, mask);
    }
    return result.images[static_cast<size_t>(imageIndex)];
}

const char* const kSceneFiles[BuiltinPictures::kSceneCount] = {
    "scenes/scene0-house.bmp", "scenes/scene1-wall.bmp", "scenes/scene2-tree.bmp",
    "scenes/scene3-night.bmp", "scenes/scene4-sea.bmp",  "scenes/scene5-white.bmp",
};

} // namespace

namespace BuiltinPictures {

const Icon& stamp(int index) {
    static const std::array<Icon, kStampCount> stamps = [] {
        std::array<Icon, kStampCount> all;
        for (int i = 0; i < kStampCount; ++i)
            all[static_cast<size_t>(i)] =
                loadIcon(QStringLiteral("stamps/stamp%1.ico").arg(i, 3, 10, QLatin1Char('0')));
        return all;
    }();
    return stamps.at(static_cast<size_t>(index));
}

const QImage& scene(int index) {
    static const std::array<QImage, kSceneCount> scenes = [] {
        std::array<QImage, kSceneCount> all;
        for (int i = 0; i < kSceneCount; ++i)
            all[static_cast<size_t>(i)] = loadImage(QLatin1String(kSceneFiles[i]), QSize(485, 455));
        return all;
    }();
    return scenes.at(static_cast<size_t>(index));
}

const QImage& canvasStartPicture() {
    return scene(5);
}

const QImage& eraserButton() {
    static const QImage eraser = loadImage(QStringLiteral("eraser.bmp"), QSize(16, 16));
    return eraser;
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/assets/icons/pensilo-%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon commandIcon(int number) {
    // The strip's light-grey ground is see-through, as its mask says.
    static const QImage strip = [] {
        QImage colours = loadImage(QStringLiteral("commandbar.bmp"), QSize(48, 16));
        const QImage mask = loadImage(QStringLiteral("commandbar-mask.bmp"), QSize(48, 16));
        QImage argb = colours.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                if (qGray(mask.pixel(x, y)) > 127)
                    argb.setPixel(x, y, qRgba(0, 0, 0, 0));
        return argb;
    }();
    return QIcon(QPixmap::fromImage(strip.copy((number - 1) * 16, 0, 16, 16)));
}

} // namespace BuiltinPictures
