// libFuzzer target for the icon reader: any bytes must give icons or a
// message, never a crash or a read outside the data. Built only with clang
// (see the README's fuzzing section for the build folder):
//   cmake --build build-fuzz --target fuzz_icocodec
//   build-fuzz/tests/fuzz_icocodec -max_total_time=180
#include "platform/IcoCodec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IcoCodec::ReadResult result = IcoCodec::read(bytes);
    for (const Icon& icon : result.images) {
        QImage canvas(40, 40, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        icon.drawOnto(canvas, QPoint(-3, 5));
    }
    return 0;
}
