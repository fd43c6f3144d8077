// libFuzzer target for everything Open does with a file's bytes: our limits,
// Qt's reader, the conversion to the canvas's format and the canvas showing
// it; the same bytes also go through our own icon reader. Any input must give
// a picture or one of the reasons a file is refused, never a crash, a hang or
// an allocation over the 256 MB limit. Built only with clang; the seed corpus
// comes from hostile_corpus (see the README's fuzzing section):
//   build-fuzz/tests/hostile_corpus /tmp/open-seeds
//   build-fuzz/tests/fuzz_openpicture -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=256
//       /tmp/open-corpus /tmp/open-seeds
#include "canvas/PictureBox.h"
#include "platform/IcoCodec.h"
#include "platform/PictureFile.h"

#include <QBuffer>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace {

using PictureFile::Problem;

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

struct Field {
    int offset;
    int bytes;
};

// Where the BMP and icon headers keep their sizes, depths, counts, offsets
// and masks. Qt's reader is not instrumented, so the fuzzer cannot see which
// values take it somewhere new; these mutations aim at its branches anyway.
constexpr Field kBmpFields[] = {
    {2, 4},  {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2}, {28, 2}, {30, 4}, {34, 4},
    {46, 4}, {54, 4}, {58, 4}, {62, 4}, {66, 4}, {18, 2}, {20, 2}, {22, 2}, {24, 2},
};
constexpr Field kIcoFields[] = {{2, 2}, {4, 2}, {6, 1}, {7, 1}, {12, 2}, {14, 4}, {18, 4}};
// Relative to the icon image an icon file's first entry points at.
constexpr Field kIconImageFields[] = {{0, 4}, {4, 4}, {8, 4}, {12, 2}, {14, 2}, {16, 4}, {32, 4}};

constexpr quint32 kInteresting[] = {
    0,    1,    2,     3,     4,          7,          8,          12,
    16,   24,   32,    40,    52,         56,         64,         108,
    124,  255,  256,   257,   0x7fff,     0x8000,     0xffff,     0x10000,
    8192, 8193, 16384, 16385, 0x7fffffff, 0x80000000, 0xfffffffe, 0xffffffff,
};

void put(uint8_t* data, size_t size, Field field, quint32 value) {
    if (field.offset < 0 || size_t(field.offset + field.bytes) > size)
        return;
    for (int i = 0; i < field.bytes; ++i)
        data[field.offset + i] = uint8_t(value >> (8 * i));
}

} // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed) {
    std::minstd_rand random(seed);
    if (size < 6 || random() % 2 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    const size_t pick = random() % std::size(kInteresting);
    quint32 value = kInteresting[pick];
    switch (random() % 4) {
    case 0:
        value = quint32(size) + quint32(random() % 3) - 1; // the file's length, give or take one
        break;
    case 1:
        value = -value; // the negative of an interesting value
        break;
    default:
        break;
    }
    if (data[0] == 'B' && data[1] == 'M') {
        put(data, size, kBmpFields[random() % std::size(kBmpFields)], value);
    } else if (size >= 22 && data[0] == 0 && data[1] == 0) {
        if (random() % 2) {
            put(data, size, kIcoFields[random() % std::size(kIcoFields)], value);
        } else {
            const quint32 image = qFromLittleEndian<quint32>(data + 18);
            Field field = kIconImageFields[random() % std::size(kIconImageFields)];
            if (image < size) {
                field.offset += int(image);
                put(data, size, field, value);
            }
        }
    } else {
        return LLVMFuzzerMutate(data, size, maxSize);
    }
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // As Open reads it: only what the canvas shows is kept.
    const PictureFile::LoadResult loaded =
        PictureFile::read(buffer, QSize(PictureBox::kWidth, PictureBox::kHeight));
    if (loaded.ok()) {
        if (loaded.image.isNull() || loaded.image.format() != QImage::Format_RGB32 ||
            loaded.image.width() > PictureBox::kWidth ||
            loaded.image.height() > PictureBox::kHeight)
            std::abort();
        PictureBox canvas;
        canvas.setPicture(loaded.image);
        canvas.Cls();
    } else if (!loaded.image.isNull() ||
               (loaded.problem != Problem::NotAPicture && loaded.problem != Problem::Damaged &&
                loaded.problem != Problem::TooLarge)) {
        // Anything else would tell the user the wrong thing about a file's bytes.
        std::abort();
    }

    const IcoCodec::ReadResult icons = IcoCodec::read(bytes);
    for (const Icon& icon : icons.images) {
        QImage canvas(40, 40, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        icon.drawOnto(canvas, QPoint(-3, 5));
    }
    return 0;
}
