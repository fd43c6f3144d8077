// picturefile_saveloop <target> <first> <second> [<width> <height>]
// Saves two different pictures to <first> and <second>, then to <target> by
// turns until it is killed. Prints "ready" once <target> holds a whole picture,
// so that a test can kill it part way through a later save, or let it stand
// for a second program writing the same file. The pictures are 1000 x 800
// pixels unless a size is given.
#include "platform/PictureFile.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

// Large enough that a save takes a while, and unlike each other throughout,
// so a file holding parts of both equals neither.
QImage picture(int which, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = which == 0 ? qRgb(x & 255, y & 255, 40) : qRgb(200, x & 255, y & 255);
    }
    return image;
}

bool save(const QImage& image, const QString& path) {
    const PictureFile::SaveResult saved = PictureFile::saveBmp(image, path);
    if (!saved.ok())
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(saved.detail));
    return saved.ok();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr,
                     "usage: picturefile_saveloop <target> <first> <second> [<width> <height>]\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const int width = argc == 6 ? std::atoi(argv[4]) : 1000;
    const int height = argc == 6 ? std::atoi(argv[5]) : 800;
    if (width <= 0 || height <= 0)
        return 2;
    const QImage pictures[2] = {picture(0, width, height), picture(1, width, height)};
    if (!save(pictures[0], QString::fromLocal8Bit(argv[2])) ||
        !save(pictures[1], QString::fromLocal8Bit(argv[3])) || !save(pictures[0], target))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    for (int i = 1;; i ^= 1) {
        if (!save(pictures[i], target))
            return 1;
    }
}
