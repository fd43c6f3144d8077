#include "HostilePictures.h"

#include "HostileWriting.h"

#include <QFile>

#include <algorithm>

namespace HostilePictures {
namespace {

struct Base {
    QString name;
    Bmp bmp;
};

std::vector<Base> bases() {
    std::vector<Base> list;
    list.push_back({"rgb24", plain(24, {}, colourRows(3))});
    list.push_back({"pal8", plain(8, palette(3), indexRows(8, 3))});
    list.back().bmp.coloursUsed = 3;
    list.push_back({"pal4", plain(4, palette(16), indexRows(4, 16))});
    list.push_back({"pal1", plain(1, palette(2), indexRows(1, 2))});
    list.push_back({"rgb16", plain(16, {}, rows555())});
    Bmp bf16 = plain(16, {}, rows565(), 3);
    setMasks(bf16, 0xf800, 0x07e0, 0x001f, 0);
    list.push_back({"bf16", bf16});
    list.push_back({"rgb32", plain(32, {}, colourRows(4))});
    Bmp bf32 = plain(32, {}, colourRows(4), 3);
    setMasks(bf32, 0xff0000, 0xff00, 0xff, 0);
    list.push_back({"bf32", bf32});
    list.push_back({"rle8", plain(8, palette(3), honestRle8(), 1)});
    list.back().bmp.coloursUsed = 3;
    list.push_back({"rle4", plain(4, palette(16), honestRle4(), 2)});
    list.push_back({"os2-24", withHeader(plain(24, {}, colourRows(3)), 12)});
    list.push_back({"os2-8", withHeader(plain(8, palette(256, 3), indexRows(8, 3)), 12)});
    list.push_back({"os2v2-24", withHeader(plain(24, {}, colourRows(3)), 64)});
    list.push_back({"v2-16", withHeader(plain(16, {}, rows565(), 3), 52)});
    setMasks(list.back().bmp, 0xf800, 0x07e0, 0x001f, 0);
    for (int length : {108, 124}) {
        const QString version = length == 108 ? "v4" : "v5";
        Bmp alpha = withHeader(plain(32, {}, colourRows(4), 3), length);
        setMasks(alpha, 0xff0000, 0xff00, 0xff, 0xff000000);
        list.push_back({version + "-32", alpha});
        list.push_back({version + "-24", withHeader(plain(24, {}, colourRows(3)), length)});
        list.push_back(
            {version + "-8", withHeader(plain(8, palette(256), indexRows(8, 3)), length)});
    }
    Bmp topDown = plain(24, {}, colourRows(3, true));
    topDown.height = -kHeight;
    list.push_back({"topdown-24", topDown});
    Bmp topDownRle = list[8].bmp; // rle8
    topDownRle.height = -kHeight;
    list.push_back({"topdown-rle8", topDownRle});
    return list;
}

struct Lie {
    QString name;
    BmpEdit edit;
};

// Lies any BMP can tell.
std::vector<Lie> headerLies() {
    std::vector<Lie> lies = {
        {"width-0", [](Bmp& b) { b.width = 0; }},
        {"width-minus-1", [](Bmp& b) { b.width = -1; }},
        {"width-minus-5", [](Bmp& b) { b.width = -kWidth; }},
        {"width-int-min", [](Bmp& b) { b.width = kIntMin; }},
        {"width-int-max", [](Bmp& b) { b.width = kIntMax; }},
        {"width-16385", [](Bmp& b) { b.width = 16385; }},
        {"width-100000", [](Bmp& b) { b.width = 100000; }},
        {"height-0", [](Bmp& b) { b.height = 0; }},
        {"height-flipped", [](Bmp& b) { b.height = -b.height; }},
        {"height-int-min", [](Bmp& b) { b.height = kIntMin; }},
        {"height-int-max", [](Bmp& b) { b.height = kIntMax; }},
        {"height-100000", [](Bmp& b) { b.height = 100000; }},
        {"size-int-max-square", [](Bmp& b) { b.width = b.height = kIntMax; }},
        {"size-8193-square", [](Bmp& b) { b.width = b.height = 8193; }},
        {"size-60000-top-down",
         [](Bmp& b) {
             b.width = 60000;
             b.height = -60000;
         }},
        {"planes-0", [](Bmp& b) { b.planes = 0; }},
        {"planes-2", [](Bmp& b) { b.planes = 2; }},
        {"planes-65535", [](Bmp& b) { b.planes = 65535; }},
        {"colours-257", [](Bmp& b) { b.coloursUsed = 257; }},
        {"colours-256-past-end", [](Bmp& b) { b.coloursUsed = 256; }},
        {"colours-2g", [](Bmp& b) { b.coloursUsed = 0x80000000u; }},
        {"colours-4g", [](Bmp& b) { b.coloursUsed = 0xffffffffu; }},
        {"colours-1", [](Bmp& b) { b.coloursUsed = 1; }},
        {"offset-0", [](Bmp& b) { b.pixelOffset = 0; }},
        {"offset-in-file-header", [](Bmp& b) { b.pixelOffset = 10; }},
        {"offset-in-table", [](Bmp& b) { b.pixelOffset = honestOffset(b) - 2; }},
        {"offset-at-end", [](Bmp& b) { b.pixelOffset = honestLength(b); }},
        {"offset-past-end", [](Bmp& b) { b.pixelOffset = honestLength(b) + 1; }},
        {"offset-2g", [](Bmp& b) { b.pixelOffset = 0x7fffffffu; }},
        {"offset-4g", [](Bmp& b) { b.pixelOffset = 0xffffffffu; }},
        {"file-size-0", [](Bmp& b) { b.fileSize = 0; }},
        {"file-size-4g", [](Bmp& b) { b.fileSize = 0xffffffffu; }},
        {"image-size-4g", [](Bmp& b) { b.imageSize = 0xffffffffu; }},
        {"magic-BA", [](Bmp& b) { b.magic = "BA"; }},
    };
    for (int bits : {0, 1, 2, 3, 7, 8, 16, 32, 64, 65535})
        lies.push_back({QString("bits-%1").arg(bits), [bits](Bmp& b) { b.bits = quint16(bits); }});
    for (quint32 compression : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 11u, 0xffffffffu})
        lies.push_back({QString("compression-%1").arg(compression),
                        [compression](Bmp& b) { b.compression = compression; }});
    for (quint32 size : {0u, 1u, 12u, 16u, 39u, 41u, 56u, 64u, 108u, 124u, 125u, 0xffffffffu})
        lies.push_back(
            {QString("header-says-%1").arg(size), [size](Bmp& b) { b.headerSize = size; }});
    return lies;
}

// Lies of the bit masks, for the pictures that have them.
std::vector<Lie> maskLies() {
    auto masks = [](quint32 r, quint32 g, quint32 b, quint32 a) {
        return [=](Bmp& bmp) { setMasks(bmp, r, g, b, a); };
    };
    return {
        {"masks-zero", masks(0, 0, 0, 0)},
        {"masks-overlapping", masks(0xff, 0xff, 0xff, 0)},
        {"masks-all-ones", masks(0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff)},
        {"masks-wider-than-pixel", masks(0xffff0000, 0x00ff0000, 0xff000000, 0)},
        {"masks-top-bits", masks(0x80000000, 0x40000000, 0x20000000, 0x10000000)},
        {"masks-scattered", masks(0x0f0f0f0f, 0xf0f0f0f0, 0x00ff00ff, 0)},
        {"masks-alpha-over-colour", masks(0xff0000, 0xff00, 0xff, 0xffffffff)},
        {"masks-alpha-only", masks(0, 0, 0, 0xff000000)},
        {"masks-alpha-bitfields",
         [](Bmp& b) {
             b.compression = 6;
             setMasks(b, 0xff0000, 0xff00, 0xff, 0xff000000);
         }},
        {"masks-cut-short",
         [](Bmp& b) {
             b.table = b.table.left(6);
             b.pixels.clear();
         }},
    };
}

// Run-length streams that run over a row, over the picture or off the end.
std::vector<std::pair<QString, QByteArray>> runLies() {
    const QByteArray eol = bytesOf({0, 0});
    const QByteArray end = bytesOf({0, 1});
    QByteArray absolute255 = bytesOf({0, 255}) + QByteArray(256, '\x01');
    QByteArray manyLines;
    for (int i = 0; i < 10; ++i)
        manyLines += eol;
    QByteArray deltas;
    for (int i = 0; i < 8; ++i)
        deltas += bytesOf({0, 2, 1, 1, 3, 2});
    return {
        {"run-past-row", bytesOf({255, 1}) + end},
        {"run-past-row-above", eol + eol + bytesOf({255, 2, 255, 1}) + end},
        {"absolute-past-row", absolute255 + end},
        {"absolute-past-row-above", eol + eol + absolute255 + end},
        {"absolute-cut-short", bytesOf({0, 40, 1, 2, 1})},
        {"absolute-odd-unpadded", bytesOf({0, 3, 1, 2, 1, 0, 1})},
        {"delta-past-picture", bytesOf({0, 2, 255, 255, 5, 1}) + end},
        {"delta-to-edge-then-run", bytesOf({0, 2, 4, 2, 255, 2}) + end},
        {"delta-cut-short", bytesOf({0, 2, 4})},
        {"deltas-down-and-across", deltas + end},
        {"lines-past-picture", manyLines + bytesOf({5, 1, 0, 3, 1, 2, 1, 0}) + end},
        {"no-end-of-bitmap", bytesOf({5, 1, 0, 0, 5, 2, 0, 0, 5, 1})},
        {"escape-at-end", bytesOf({5, 1, 0})},
        {"empty", QByteArray()},
        {"only-line-ends", QByteArray(400, '\0')},
    };
}

const Base& baseNamed(const std::vector<Base>& bases, const QString& name) {
    return *std::find_if(bases.begin(), bases.end(), [&](const Base& b) { return b.name == name; });
}

} // namespace

std::vector<Sample> all() {
    std::vector<Sample> out;
    const std::vector<Base> pictures = bases();
    for (const Base& base : pictures)
        add(out, base.name + ".bmp", bmpFile(base.bmp));

    // Header lies on a spread of kinds: every depth, both run lengths, bit
    // fields, the old and the newest header, and top-down.
    for (const char* name : {"rgb24", "pal8", "pal4", "pal1", "bf16", "rgb32", "rle8", "rle4",
                             "os2-8", "v5-32", "topdown-24"}) {
        const Base& base = baseNamed(pictures, name);
        for (const Lie& lie : headerLies()) {
            Bmp bmp = base.bmp;
            lie.edit(bmp);
            add(out, base.name + "-" + lie.name + ".bmp", bmpFile(bmp));
        }
    }
    for (const Base& base : pictures) {
        if (base.bmp.compression != 3)
            continue;
        for (const Lie& lie : maskLies()) {
            Bmp bmp = base.bmp;
            lie.edit(bmp);
            add(out, base.name + "-" + lie.name + ".bmp", bmpFile(bmp));
        }
    }
    for (const char* name : {"rle8", "rle4", "topdown-rle8"}) {
        const Base& base = baseNamed(pictures, name);
        for (const auto& [lie, stream] : runLies()) {
            Bmp bmp = base.bmp;
            bmp.pixels = stream;
            add(out, base.name + "-" + lie + ".bmp", bmpFile(bmp));
        }
    }
    // A header size Qt does not know makes it read the old header's 16-bit
    // sizes where the newer header keeps 32-bit ones: here 16384 wide and
    // 16383 high, top-down, just under 256 MB of 8-bit pixels and four times
    // that as the canvas's 32 bits, while the 32-bit fields read as nonsense.
    Bmp oldSizes = baseNamed(pictures, "pal8").bmp;
    oldSizes.headerSize = 16;
    oldSizes.width = qint32(quint32(quint16(-16383)) << 16 | 16384);
    oldSizes.height = 8 << 16 | 1; // planes 1, 8 bits
    oldSizes.coloursUsed = 0;
    oldSizes.table = palette(256);
    add(out, "pal8-old-sizes-in-a-new-header-16384-top-down.bmp", bmpFile(oldSizes));

    // Millions of rows from a few bytes, which Qt would turn over one by one.
    Bmp tall = baseNamed(pictures, "topdown-rle8").bmp;
    tall.height = -7077876;
    add(out, "topdown-rle8-7077876-rows.bmp", bmpFile(tall));

    // The largest picture the limit lets through, from a file of a few
    // bytes, and the first one over it.
    Bmp atLimit = baseNamed(pictures, "rle8").bmp;
    atLimit.width = atLimit.height = 8192;
    add(out, "rle8-8192-square-at-the-limit.bmp", bmpFile(atLimit));
    atLimit.width = 8193;
    add(out, "rle8-8193-by-8192-over-the-limit.bmp", bmpFile(atLimit));

    for (const char* name : {"rgb24", "pal8", "os2-8", "bf16", "v5-32", "rle8"}) {
        const Base& base = baseNamed(pictures, name);
        addCuts(out, base.name, bmpFile(base.bmp), kFileHeader + base.bmp.headerLength,
                int(honestOffset(base.bmp)), ".bmp");
    }

    addIcons(out);
    return out;
}

int writeAll(const QString& folder) {
    int written = 0;
    for (const Sample& sample : all()) {
        QFile file(folder + QLatin1Char('/') + sample.name);
        if (!file.open(QIODevice::WriteOnly) || file.write(sample.bytes) != sample.bytes.size())
            return -1;
        ++written;
    }
    return written;
}

} // namespace HostilePictures
