#include "platform/RecoveryCopy.h"

#include <QtEndian>

#include <lz4frame.h>

#include <cstring>
#include <memory>

namespace {

constexpr char kMagic[] = "PNSLCOPY";
constexpr qsizetype kMagicBytes = 8;
constexpr quint32 kVersion = 1;
constexpr qsizetype kHeaderBytes = kMagicBytes + 4;
// Inside the frame: width, height and the name's length, then the name in
// UTF-8, then the pixels row after row as the canvas holds them. The copy is
// read back only on the machine that wrote it, so their byte order is its own.
constexpr qsizetype kContentHeaderBytes = qsizetype(3) * 4;
// As much as Open lets a picture take, and a name far longer than any path.
constexpr quint64 kMaxPixelBytes = quint64(256) * 1024 * 1024;
constexpr quint64 kMaxNameBytes = quint64(64) * 1024;
// LZ4 never packs more than 255 to one, so a frame that claims more content
// than that is damaged, whatever its header's small checksum says.
constexpr quint64 kMaxPackRatio = 255;

void putU32(QByteArray& out, quint32 value) {
    const quint32 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

quint32 u32At(const char* bytes) {
    return qFromLittleEndian<quint32>(bytes);
}

using Decompression = std::unique_ptr<LZ4F_dctx, decltype(&LZ4F_freeDecompressionContext)>;

// The frame's whole content, or nothing when the frame is cut short, damaged
// or followed by anything.
std::optional<QByteArray> unpackFrame(const char* frame, size_t frameBytes) {
    LZ4F_dctx* context = nullptr;
    if (LZ4F_isError(LZ4F_createDecompressionContext(&context, LZ4F_VERSION)))
        return std::nullopt;
    const Decompression owner(context, &LZ4F_freeDecompressionContext);
    LZ4F_frameInfo_t info = LZ4F_INIT_FRAMEINFO;
    size_t in = frameBytes;
    if (LZ4F_isError(LZ4F_getFrameInfo(context, &info, frame, &in)))
        return std::nullopt;
    const quint64 contentBytes = info.contentSize;
    if (contentBytes < quint64(kContentHeaderBytes) ||
        contentBytes > kMaxPixelBytes + kMaxNameBytes + kContentHeaderBytes ||
        contentBytes > quint64(frameBytes) * kMaxPackRatio)
        return std::nullopt;
    QByteArray content(qsizetype(contentBytes), Qt::Uninitialized);
    size_t out = 0;
    size_t expected = 1;
    while (expected != 0) {
        size_t source = frameBytes - in;
        size_t target = size_t(contentBytes) - out;
        if (source == 0)
            return std::nullopt;
        expected =
            LZ4F_decompress(context, content.data() + out, &target, frame + in, &source, nullptr);
        if (LZ4F_isError(expected) || (source == 0 && target == 0))
            return std::nullopt;
        in += source;
        out += target;
    }
    if (in != frameBytes || out != contentBytes)
        return std::nullopt;
    return content;
}

} // namespace

namespace RecoveryCopy {

QByteArray encode(const QImage& source, const QString& name) {
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const QByteArray nameBytes = name.toUtf8();
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    QByteArray content;
    content.reserve(kContentHeaderBytes + nameBytes.size() + rowBytes * image.height());
    putU32(content, quint32(image.width()));
    putU32(content, quint32(image.height()));
    putU32(content, quint32(nameBytes.size()));
    content.append(nameBytes);
    for (int y = 0; y < image.height(); ++y)
        content.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);

    LZ4F_preferences_t preferences = LZ4F_INIT_PREFERENCES;
    // Each packed block's own checksum vouches for the bytes on disk, which
    // unpack to exactly what was packed; summing the packed bytes rather
    // than the unpacked pixels costs a thirtieth.
    preferences.frameInfo.blockChecksumFlag = LZ4F_blockChecksumEnabled;
    preferences.frameInfo.contentSize = quint64(content.size());
    const size_t bound = LZ4F_compressFrameBound(size_t(content.size()), &preferences);
    QByteArray bytes(kHeaderBytes + qsizetype(bound), Qt::Uninitialized);
    std::memcpy(bytes.data(), kMagic, kMagicBytes);
    qToLittleEndian(kVersion, bytes.data() + kMagicBytes);
    const size_t packed =
        LZ4F_compressFrame(bytes.data() + kHeaderBytes, bound, content.constData(),
                           size_t(content.size()), &preferences);
    if (LZ4F_isError(packed))
        return {};
    bytes.truncate(kHeaderBytes + qsizetype(packed));
    return bytes;
}

std::optional<Picture> decode(const QByteArray& bytes) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.constData(), kMagic, kMagicBytes) != 0 ||
        u32At(bytes.constData() + kMagicBytes) != kVersion)
        return std::nullopt;
    const std::optional<QByteArray> content =
        unpackFrame(bytes.constData() + kHeaderBytes, size_t(bytes.size() - kHeaderBytes));
    if (!content)
        return std::nullopt;
    const char* at = content->constData();
    const quint64 width = u32At(at);
    const quint64 height = u32At(at + 4);
    const quint64 nameBytes = u32At(at + 8);
    if (width == 0 || height == 0 || width * height > kMaxPixelBytes / 4 ||
        nameBytes > kMaxNameBytes ||
        quint64(kContentHeaderBytes) + nameBytes + width * height * 4 != quint64(content->size()))
        return std::nullopt;
    Picture picture;
    picture.name = QString::fromUtf8(at + kContentHeaderBytes, qsizetype(nameBytes));
    picture.image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (picture.image.isNull())
        return std::nullopt;
    const char* rows = at + kContentHeaderBytes + nameBytes;
    const size_t rowBytes = size_t(width) * 4;
    for (int y = 0; y < int(height); ++y)
        std::memcpy(picture.image.scanLine(y), rows + size_t(y) * rowBytes, rowBytes);
    return picture;
}

} // namespace RecoveryCopy
