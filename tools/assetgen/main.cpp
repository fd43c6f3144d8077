// assetgen [--allow-missing] <repository root>
// Draws every built-in picture into assets/ and the contact sheets into docs/.
// Rerunning it gives byte-identical files.
#include "ContactSheets.h"
#include "Pictures.h"
#include "StampScript.h"

#include "platform/BuiltinPictures.h"
#include "platform/IcoCodec.h"
#include "platform/PictureFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>
#include <cstring>

namespace {

bool failed = false;

void report(const QString& error) {
    if (error.isEmpty())
        return;
    std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
    failed = true;
}

QString saveBmp(const QImage& image, const QString& path) {
    const PictureFile::SaveResult saved = PictureFile::saveBmp(image, path);
    return saved.ok() ? QString() : path + ": " + saved.detail;
}

QString writeImage(const QImage& image, const QString& path, const char* format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return path + ": " + file.errorString();
    QImageWriter writer(&file, format);
    if (!writer.write(image))
        return path + ": " + writer.errorString();
    return file.commit() ? QString() : path + ": " + file.errorString();
}

// A picture on the light-grey ground becomes an icon whose ground is see-through.
Icon iconFromGround(const QImage& picture) {
    QImage colour = picture.convertToFormat(QImage::Format_RGB32);
    QImage mask(picture.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool ground = colour.pixel(x, y) == qRgb(192, 192, 192);
            mask.setPixel(x, y, ground ? 255 : 0);
            if (ground)
                colour.setPixel(x, y, qRgb(0, 0, 0));
        }
    return Icon(colour, mask);
}

Icon placeholderStamp() {
    QImage colour(32, 32, QImage::Format_RGB32);
    colour.fill(qRgb(128, 128, 128));
    QImage mask(32, 32, QImage::Format_Grayscale8);
    mask.fill(0);
    mask.setPixel(0, 0, 255);
    colour.setPixel(0, 0, qRgb(0, 0, 0));
    return Icon(colour, mask);
}

QString checkStamp(int number, const Icon& icon) {
    int masked = 0, xorPixels = 0, maskedNotBlack = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (icon.maskBit(x, y)) {
                ++masked;
                if ((icon.colourAt(x, y) & 0xffffff) == 0x000080)
                    ++xorPixels;
                else if ((icon.colourAt(x, y) & 0xffffff) != 0)
                    ++maskedNotBlack;
            }
    const bool opaque =
        number == 79 || number == 150 || number == 151 || number == 153 || number == 178;
    if (opaque && masked != 0)
        return QStringLiteral("stamp %1 must be opaque").arg(number);
    if (!opaque && masked == 0)
        return QStringLiteral("stamp %1 must have see-through pixels").arg(number);
    if (number == 44 && xorPixels != 2)
        return QStringLiteral("stamp 44 must have exactly two xor pixels");
    if (number != 44 && (xorPixels != 0 || maskedNotBlack != 0))
        return QStringLiteral("stamp %1 has coloured see-through pixels").arg(number);
    return QString();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool allowMissing = args.removeAll(QStringLiteral("--allow-missing")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: assetgen [--allow-missing] <repository root>\n");
        return 2;
    }
    const QDir root(args[0]);
    for (const char* folder :
         {"assets/stamps", "assets/scenes", "assets/thumbnails", "assets/icons", "docs"})
        root.mkpath(QLatin1String(folder));

    // The stamps, page by page.
    std::map<int, StampSource> stamps;
    std::vector<ContactSheets::Page> pages;
    const QDir sources(root.filePath(QStringLiteral("tools/assetgen/stamps")));
    for (const QString& name :
         sources.entryList({QStringLiteral("tab*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(sources.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            report(name + ": " + file.errorString());
            continue;
        }
        StampScriptResult result = drawStampScript(QString::fromUtf8(file.readAll()), name);
        report(result.error);
        for (auto& [number, stamp] : result.stamps) {
            if (stamps.count(number))
                report(QStringLiteral("%1: stamp %2 is also drawn in %3")
                           .arg(name)
                           .arg(number)
                           .arg(stamps[number].page));
            stamps[number] = stamp;
        }
        pages.push_back({QStringLiteral("Flik %1").arg(name.mid(3, 2).toInt()), {}});
        // The file's order is the page's reading order.
        for (int number : result.order)
            pages.back().stamps.push_back(&stamps[number]);
    }
    for (int number = 0; number < 183; ++number) {
        if (!stamps.count(number)) {
            if (!allowMissing)
                report(QStringLiteral("stamp %1 is not drawn").arg(number));
            stamps[number] =
                StampSource{number, QStringLiteral("?"), QString(), placeholderStamp()};
            continue;
        }
        report(checkStamp(number, stamps[number].icon));
    }
    if (failed)
        return 1;
    for (const auto& [number, stamp] : stamps)
        report(IcoCodec::writeFile(
            root.filePath(
                QStringLiteral("assets/stamps/stamp%1.ico").arg(number, 3, 10, QLatin1Char('0'))),
            {stamp.icon}));

    // Scenes, the eraser button, the window icon and the command bar's strip.
    std::vector<QImage> scenes;
    for (int i = 0; i < 6; ++i) {
        scenes.push_back(Pictures::scene(i));
        report(
            saveBmp(scenes.back(), root.filePath("assets/scenes/" + Pictures::sceneFileName(i))));
        // Scaled as a stretched picture control would scale the scene itself.
        const QImage thumbnail = scenes.back()
                                     .convertToFormat(QImage::Format_RGB32)
                                     .scaled(BuiltinPictures::kSceneThumbnailSize,
                                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        report(
            saveBmp(thumbnail, root.filePath("assets/thumbnails/" + Pictures::sceneFileName(i))));
    }
    report(saveBmp(Pictures::eraserButton(), root.filePath(QStringLiteral("assets/eraser.bmp"))));
    report(IcoCodec::writeFile(
        root.filePath(QStringLiteral("assets/pensilo.ico")),
        {iconFromGround(Pictures::windowIcon(32)), iconFromGround(Pictures::windowIcon(16))}));
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QImage png = Pictures::windowIcon(32).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (png.pixel(x, y) == qRgb(192, 192, 192))
                    png.setPixel(x, y, qRgba(0, 0, 0, 0));
        report(writeImage(png.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                          root.filePath(QStringLiteral("assets/icons/pensilo-%1.png").arg(size)),
                          "png"));
    }
    const QImage strip = Pictures::commandStrip();
    report(saveBmp(strip, root.filePath(QStringLiteral("assets/commandbar.bmp"))));
    QImage mask(strip.size(), QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    // The BMP writer copies each row's padding bytes as they are, and neither a
    // new image nor fill() clears them: without this, reruns could differ.
    std::memset(mask.bits(), 0, static_cast<size_t>(mask.sizeInBytes()));
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            mask.setPixel(x, y, strip.pixel(x, y) == qRgb(192, 192, 192) ? 1 : 0);
    report(writeImage(mask, root.filePath(QStringLiteral("assets/commandbar-mask.bmp")), "bmp"));

    report(writeImage(ContactSheets::stamps(pages),
                      root.filePath(QStringLiteral("docs/stamps.png")), "png"));
    report(writeImage(ContactSheets::scenes(scenes),
                      root.filePath(QStringLiteral("docs/scenes.png")), "png"));
    return failed ? 1 : 0;
}
