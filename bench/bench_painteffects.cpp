// PaintTransparentDC over the canvas's size, against a plain copy of the same
// rectangle measured in the same run: run with `make bench`.
#include "compositing/Gdi.h"
#include "compositing/PaintEffects.h"
#include "platform/Units.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

using namespace gdi;

namespace {

constexpr int kWidth = 471;
constexpr int kHeight = 429;
constexpr QRgb kMask = 0xffffffffu;

// A context over a new bitmap; the benchmarks run to the end of the program,
// so nothing is released.
HDC contextOver(const QImage& image) {
    const HDC dc = CreateCompatibleDC(0);
    SelectObject(dc, createBitmapFromImage(image));
    return dc;
}

// A picture about half of which is the mask colour, in diagonal blocks.
QImage picture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, y, (x / 7 + y / 5) % 2 ? kMask : qRgb(x % 256, y % 256, 90));
    return image;
}

void BM_CopyRectangleMemcpy(benchmark::State& state) {
    const QImage source = picture();
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(target.scanLine(y), source.constScanLine(y), kWidth * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyRectangleMemcpy);

// Run at the canvas's size and at a size whose whole working set (source,
// destination and the three work bitmaps) stays in the cache.
void sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({kWidth, kHeight})->Args({160, 160});
}

void BM_CopyRectangleBitBlt(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    const HDC source = contextOver(picture());
    const HDC dest = contextOver(QImage(kWidth, kHeight, QImage::Format_RGB32));
    for (auto _ : state)
        BitBlt(dest, 0, 0, width, height, source, 0, 0, SRCCOPY);
}
BENCHMARK(BM_CopyRectangleBitBlt)->Apply(sizes);

// The parts of one painting, to see where its time goes.
void transferOf(benchmark::State& state, bool monoSource, bool monoDest, DWORD rop) {
    const HDC screen = GetDC(0);
    const auto make = [&](bool mono) {
        const HDC dc = CreateCompatibleDC(screen);
        SelectObject(dc, mono ? CreateBitmap(kWidth, kHeight, 1, 1, nullptr)
                              : createBitmapFromImage(picture()));
        return dc;
    };
    const HDC source = make(monoSource);
    const HDC dest = make(monoDest);
    SetBkColor(source, rgbToBgr(kMask));
    // Monochrome bitmaps get the picture's mask, so they hold both values.
    const HDC pattern = contextOver(picture());
    SetBkColor(pattern, rgbToBgr(kMask));
    for (const HDC dc : {source, dest})
        if (dc == source ? monoSource : monoDest)
            BitBlt(dc, 0, 0, kWidth, kHeight, pattern, 0, 0, SRCCOPY);
    for (auto _ : state)
        BitBlt(dest, 0, 0, kWidth, kHeight, source, 0, 0, rop);
}
void BM_ColourToMonochrome(benchmark::State& state) {
    transferOf(state, false, true, SRCCOPY);
}
void BM_MonochromeToColourAndNot(benchmark::State& state) {
    transferOf(state, true, false, DSna);
}
void BM_ColourOr(benchmark::State& state) {
    transferOf(state, false, false, SRCPAINT);
}
void BM_MonochromeToColourAnd(benchmark::State& state) {
    transferOf(state, true, false, SRCAND);
}
BENCHMARK(BM_ColourToMonochrome);
BENCHMARK(BM_MonochromeToColourAnd);
BENCHMARK(BM_MonochromeToColourAndNot);
BENCHMARK(BM_ColourOr);

void BM_MakeAndDeleteBitmap(benchmark::State& state) {
    const HDC screen = GetDC(0);
    for (auto _ : state)
        DeleteObject(CreateCompatibleBitmap(screen, kWidth, kHeight));
}
BENCHMARK(BM_MakeAndDeleteBitmap);

void BM_FillRect(benchmark::State& state) {
    const HDC dest = contextOver(picture());
    const HBRUSH brush = CreateSolidBrush(0x123456);
    const RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state)
        FillRect(dest, &all, brush);
}
BENCHMARK(BM_FillRect);

// The seven transfers and the fill alone, on bitmaps made once, to tell the
// transfers' cost from that of making and clearing the bitmaps.
void BM_SevenTransfersOnReadyBitmaps(benchmark::State& state) {
    const HDC screen = GetDC(0);
    const HDC source = contextOver(picture());
    const HDC dest = contextOver(picture());
    const HDC a = CreateCompatibleDC(screen);
    const HDC b = CreateCompatibleDC(screen);
    const HDC m = CreateCompatibleDC(screen);
    SelectObject(a, CreateCompatibleBitmap(screen, kWidth, kHeight));
    SelectObject(b, CreateCompatibleBitmap(screen, kWidth, kHeight));
    SelectObject(m, CreateBitmap(kWidth, kHeight, 1, 1, nullptr));
    const HBRUSH brush = CreateSolidBrush(rgbToBgr(kMask));
    const RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        BitBlt(a, 0, 0, kWidth, kHeight, dest, 0, 0, SRCCOPY);
        FillRect(b, &all, brush);
        BitBlt(b, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
        SetBkColor(b, rgbToBgr(kMask));
        BitBlt(m, 0, 0, kWidth, kHeight, b, 0, 0, SRCCOPY);
        SetBkColor(b, 0xFFFFFF);
        BitBlt(b, 0, 0, kWidth, kHeight, m, 0, 0, DSna);
        BitBlt(a, 0, 0, kWidth, kHeight, m, 0, 0, SRCAND);
        BitBlt(a, 0, 0, kWidth, kHeight, b, 0, 0, SRCPAINT);
        BitBlt(dest, 0, 0, kWidth, kHeight, a, 0, 0, SRCCOPY);
    }
}
BENCHMARK(BM_SevenTransfersOnReadyBitmaps);

void BM_PaintTransparentDC(benchmark::State& state) {
    PaintEffects effects;
    const HDC source = contextOver(picture());
    QImage background(kWidth, kHeight, QImage::Format_RGB32);
    background.fill(qRgb(30, 160, 60));
    const HDC dest = contextOver(background);
    const int width = int(state.range(0)), height = int(state.range(1));
    for (auto _ : state)
        effects.PaintTransparentDC(dest, 0, 0, width, height, source, 0, 0, rgbToBgr(kMask), 0);
}
BENCHMARK(BM_PaintTransparentDC)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
