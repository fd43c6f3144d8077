// hostile_corpus <folder>
// Writes the hostile pictures (HostilePictures.h) into <folder>, creating it,
// as the seed corpus of fuzz_openpicture. The same files every time.
#include "HostilePictures.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const int written = HostilePictures::writeAll(folder);
    if (written < 0) {
        std::fprintf(stderr, "cannot write into %s\n", argv[1]);
        return 1;
    }
    std::printf("%d files in %s\n", written, argv[1]);
    return 0;
}
