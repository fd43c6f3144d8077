#include "HostileWriting.h"

#include "platform/IcoCodec.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>

namespace HostilePictures {
namespace {

// Icons, as our own codec and Qt's icon reader both meet them.
struct IcoEntry {
    quint8 width = kWidth;
    quint8 height = kHeight;
    quint16 bits = 8;
    std::optional<quint32> size;   // unset: the body's length
    std::optional<quint32> offset; // unset: where the body is
    Bmp bitmap;                    // height doubled, as icons have it
    QByteArray mask;
    QByteArray raw; // a body written as is instead (PNG)
};

struct Ico {
    quint16 reserved = 0;
    quint16 type = 1;
    std::optional<quint16> count;
    std::vector<IcoEntry> entries;
};

QByteArray icoBody(const IcoEntry& entry) {
    return entry.raw.isEmpty() ? dib(entry.bitmap) + entry.mask : entry.raw;
}

QByteArray icoFile(const Ico& ico) {
    QByteArray head =
        le16(ico.reserved) + le16(ico.type) + le16(ico.count.value_or(quint16(ico.entries.size())));
    QByteArray bodies;
    quint32 offset = quint32(6 + 16 * ico.entries.size());
    for (const IcoEntry& entry : ico.entries) {
        const QByteArray body = icoBody(entry);
        head += char(entry.width);
        head += char(entry.height);
        head += '\0';
        head += '\0';
        head += le16(1) + le16(entry.bits);
        head += le32(entry.size.value_or(quint32(body.size())));
        head += le32(entry.offset.value_or(offset));
        offset += quint32(body.size());
        bodies += body;
    }
    return head + bodies;
}

IcoEntry iconImage(Bmp bitmap) {
    IcoEntry entry;
    entry.bits = bitmap.bits;
    bitmap.height *= 2;
    entry.bitmap = bitmap;
    // One see-through pixel a row.
    for (int y = 0; y < kHeight; ++y)
        entry.mask += padded(bytesOf({0x80 >> y}));
    return entry;
}

std::vector<std::pair<QString, Ico>> icoBases() {
    std::vector<std::pair<QString, Ico>> list;
    for (const auto& [name, bitmap] :
         {std::pair<QString, Bmp>{"ico-1bit", plain(1, palette(2), indexRows(1, 2))},
          {"ico-4bit", plain(4, palette(16), indexRows(4, 16))},
          {"ico-8bit", plain(8, palette(256), indexRows(8, 3))},
          {"ico-24bit", plain(24, {}, colourRows(3))},
          {"ico-32bit", plain(32, {}, colourRows(4))}}) {
        Ico ico;
        ico.entries.push_back(iconImage(bitmap));
        list.push_back({name, ico});
    }
    Ico noMask = list.back().second;
    noMask.entries[0].mask.clear();
    list.push_back({"ico-32bit-no-mask", noMask});
    Ico two = list[2].second;
    two.entries.push_back(list[3].second.entries[0]);
    list.push_back({"ico-two-images", two});
    Ico cursor = list[2].second;
    cursor.type = 2;
    list.push_back({"cur-8bit", cursor});
    Ico png;
    png.entries.push_back(IcoEntry());
    QBuffer buffer(&png.entries[0].raw);
    buffer.open(QIODevice::WriteOnly);
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.setPixel(x, y, colourAt(x, y));
    picture.save(&buffer, "PNG");
    png.entries[0].bits = 32;
    list.push_back({"ico-png", png});
    return list;
}

using IcoEdit = std::function<void(Ico&)>;

std::vector<std::pair<QString, IcoEdit>> icoLies() {
    auto first = [](const std::function<void(IcoEntry&)>& edit) {
        return [edit](Ico& ico) { edit(ico.entries[0]); };
    };
    auto bitmap = [](const BmpEdit& edit) {
        return [edit](Ico& ico) { edit(ico.entries[0].bitmap); };
    };
    std::vector<std::pair<QString, IcoEdit>> lies = {
        {"reserved-1", [](Ico& i) { i.reserved = 1; }},
        {"type-0", [](Ico& i) { i.type = 0; }},
        {"type-3", [](Ico& i) { i.type = 3; }},
        {"count-0", [](Ico& i) { i.count = 0; }},
        {"count-past-directory", [](Ico& i) { i.count = quint16(i.entries.size() + 1); }},
        {"count-65535", [](Ico& i) { i.count = 65535; }},
        {"offset-0", first([](IcoEntry& e) { e.offset = 0; })},
        {"offset-past-end", first([](IcoEntry& e) { e.offset = 100000; })},
        {"offset-4g", first([](IcoEntry& e) { e.offset = 0xffffffffu; })},
        {"size-0", first([](IcoEntry& e) { e.size = 0; })},
        {"size-4g", first([](IcoEntry& e) { e.size = 0xffffffffu; })},
        {"directory-256-bitmap-60000",
         [](Ico& i) {
             i.entries[0].width = i.entries[0].height = 0;
             i.entries[0].bitmap.width = 60000;
             i.entries[0].bitmap.height = 120000;
         }},
        {"directory-256-bitmap-300",
         [](Ico& i) {
             i.entries[0].width = i.entries[0].height = 0;
             i.entries[0].bitmap.width = 300;
             i.entries[0].bitmap.height = 600;
         }},
        {"width-0", bitmap([](Bmp& b) { b.width = 0; })},
        {"width-minus-1", bitmap([](Bmp& b) { b.width = -1; })},
        {"width-257", bitmap([](Bmp& b) { b.width = 257; })},
        {"width-int-max", bitmap([](Bmp& b) { b.width = kIntMax; })},
        {"height-odd", bitmap([](Bmp& b) { b.height = 5; })},
        {"height-0", bitmap([](Bmp& b) { b.height = 0; })},
        {"height-negative", bitmap([](Bmp& b) { b.height = -6; })},
        {"height-int-max", bitmap([](Bmp& b) { b.height = kIntMax; })},
        {"height-int-min", bitmap([](Bmp& b) { b.height = kIntMin; })},
        {"planes-0", bitmap([](Bmp& b) { b.planes = 0; })},
        {"planes-2", bitmap([](Bmp& b) { b.planes = 2; })},
        {"compression-rle8", bitmap([](Bmp& b) { b.compression = 1; })},
        {"compression-bitfields", bitmap([](Bmp& b) { b.compression = 3; })},
        {"colours-257", bitmap([](Bmp& b) { b.coloursUsed = 257; })},
        {"colours-4g", bitmap([](Bmp& b) { b.coloursUsed = 0xffffffffu; })},
        {"colours-1", bitmap([](Bmp& b) { b.coloursUsed = 1; })},
        {"mask-missing", first([](IcoEntry& e) { e.mask.clear(); })},
    };
    for (int bits : {0, 3, 7, 16, 64})
        lies.push_back(
            {QString("bits-%1").arg(bits), bitmap([bits](Bmp& b) { b.bits = quint16(bits); })});
    for (quint32 size : {0u, 12u, 39u, 1025u, 0xffffffffu})
        lies.push_back(
            {QString("header-says-%1").arg(size), bitmap([size](Bmp& b) { b.headerSize = size; })});
    return lies;
}

} // namespace

void addIcons(std::vector<Sample>& out) {
    const auto icons = icoBases();
    for (const auto& [name, ico] : icons)
        add(out, name + ".ico", icoFile(ico));
    for (const char* name : {"ico-8bit", "ico-32bit", "ico-two-images"}) {
        const Ico& base = std::find_if(icons.begin(), icons.end(), [&](const auto& b) {
                              return b.first == name;
                          })->second;
        for (const auto& [lie, edit] : icoLies()) {
            Ico ico = base;
            edit(ico);
            add(out, QString(name) + "-" + lie + ".ico", icoFile(ico));
        }
    }
    const QByteArray eightBit = icoFile(icons[2].second);
    addCuts(out, "ico-8bit", eightBit, 6 + 16 + 40, 6 + 16 + 40 + 1024, ".ico");

    // What our own writer makes, as the program's stamps are kept.
    QImage colour(16, 16, QImage::Format_RGB32);
    QImage mask(16, 16, QImage::Format_Grayscale8);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            colour.setPixel(x, y, IcoCodec::windowsPalette()[(x + y) % 16]);
            mask.setPixel(x, y, (x * y) % 7 == 0 ? 255 : 0);
        }
    const QByteArray written = IcoCodec::write({Icon(colour, mask)});
    add(out, "ico-codec.ico", written);
    addCuts(out, "ico-codec", written, 6 + 16 + 40, 6 + 16 + 40 + 64, ".ico");
}

} // namespace HostilePictures
