#include "platform/BuiltinPictures.h"

#include "platform/IcoCodec.h"
#include "platform/PictureFile.h"

#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QtDebug>

#include <array>
#include <optional>

// The pictures are compiled in, so a failure here is a broken build: it is
// reported and a plain stand-in of the right size keeps the program usable.
namespace {

QImage loadImage(const QString& name, QSize expected) {
    if (name.endsWith(QLatin1String(".bmp"))) {
        const QResource resource(QStringLiteral(":/assets/") + name);
        if (QImage plain = PictureFile::decodePlainBmp(resource.uncompressedData());
            !plain.isNull())
            return plain;
    }
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

const std::array<const char*, BuiltinPictures::kSceneCount> kSceneFiles = {
    "scenes/scene0-house.bmp", "scenes/scene1-wall.bmp", "scenes/scene2-tree.bmp",
    "scenes/scene3-night.bmp", "scenes/scene4-sea.bmp",  "scenes/scene5-white.bmp",
};

} // namespace

namespace BuiltinPictures {

const Icon& stamp(int index) {
    // Each stamp is read when first asked for: at start only the visible
    // page's sixteen are needed.
    static std::array<std::optional<Icon>, kStampCount> stamps;
    std::optional<Icon>& stamp = stamps.at(static_cast<size_t>(index));
    if (!stamp)
        stamp = loadIcon(QStringLiteral("stamps/stamp%1.ico").arg(index, 3, 10, QLatin1Char('0')));
    return *stamp;
}

QImage scene(int index) {
    return loadImage(QLatin1String(kSceneFiles.at(static_cast<size_t>(index))), QSize(485, 455));
}

QImage sceneThumbnail(int index) {
    QString name = QLatin1String(kSceneFiles.at(static_cast<size_t>(index)));
    name.replace(QLatin1String("scenes/"), QLatin1String("thumbnails/"));
    return loadImage(name, kSceneThumbnailSize);
}

QImage canvasStartPicture() {
    return scene(5);
}

const QImage& eraserButton() {
    static const QImage eraser = loadImage(QStringLiteral("eraser.bmp"), QSize(16, 16));
    return eraser;
}

QIcon windowIcon() {
    // Its 32 and 16 pixel images, read with our own reader: the window system
    // takes every size before the first frame, and PNGs would cost more to
    // read. The desktop takes larger ones from the installed icon theme.
    QIcon icon;
    for (int image = 0; image < 2; ++image) {
        const Icon source = loadIcon(QStringLiteral("pensilo.ico"), image);
        QImage argb = source.colour().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y)
            for (int x = 0; x < argb.width(); ++x)
                if (source.maskBit(x, y))
                    argb.setPixel(x, y, qRgba(0, 0, 0, 0));
        icon.addPixmap(QPixmap::fromImage(argb));
    }
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
