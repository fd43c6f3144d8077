// The canvas's event costs, against a plain copy of the persistent image's
// bytes measured in the same run: run with `make bench`.
#include "app/Form1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr float px = 15; // twips in a pixel
Form1* form = nullptr;
QTemporaryDir* snapshotDir = nullptr;

void resetTo(qint16 tool) {
    form->canvas.Cls();
    form->drawing = DrawingState{};
    form->drawing.currentTool = tool;
}

void move(float x, float y, qint16 buttons = 1) {
    form->dispatch.mouseMove(buttons, 0, x * px, y * px, 0x000000, 0xFFFFFF);
}

void down(float x, float y) {
    form->dispatch.mouseDown(1, 0, x * px, y * px, snapshotDir->path() + "/");
}

void BM_CopyWholeImage(benchmark::State& state) {
    const QImage& image = form->canvas.Image();
    std::vector<uchar> target(static_cast<size_t>(image.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(target.data(), image.constBits(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWholeImage);

// One move of the pen or brush, `step` pixels long, back and forth.
void penMove(benchmark::State& state, qint16 tool, float step) {
    resetTo(tool);
    down(200, 200);
    bool forth = true;
    for (auto _ : state) {
        move(forth ? 200 + step : 200, 200);
        forth = !forth;
    }
    form->dispatch.mouseUp(1, 0, 0, 0);
}
void BM_PenMove1Pixel(benchmark::State& state) {
    penMove(state, 183, 1);
}
void BM_PenMove19Pixels(benchmark::State& state) {
    penMove(state, 183, 19);
}
void BM_BrushMove1Pixel(benchmark::State& state) {
    penMove(state, 194, 1);
}
void BM_BrushMove19Pixels(benchmark::State& state) {
    penMove(state, 194, 19);
}
BENCHMARK(BM_PenMove1Pixel);
BENCHMARK(BM_PenMove19Pixels);
BENCHMARK(BM_BrushMove1Pixel);
BENCHMARK(BM_BrushMove19Pixels);

void BM_ShapePress(benchmark::State& state) {
    resetTo(190);
    for (auto _ : state)
        down(100, 100);
    form->dispatch.mouseUp(1, 0, 0, 0);
}
BENCHMARK(BM_ShapePress);

// The heaviest move: the largest filled ellipse, cleared and drawn anew and
// the canvas repainted at once.
void BM_ShapeMoveLargestFilledEllipse(benchmark::State& state) {
    resetTo(193);
    down(0, 0);
    bool forth = true;
    for (auto _ : state) {
        move(forth ? 470 : 469, forth ? 428 : 427);
        forth = !forth;
    }
    form->dispatch.mouseUp(1, 0, 0, 0);
}
BENCHMARK(BM_ShapeMoveLargestFilledEllipse);

void BM_StampPress(benchmark::State& state) {
    resetTo(44);
    for (auto _ : state)
        down(200, 200);
}
BENCHMARK(BM_StampPress);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    snapshotDir = &dir;
    Form1 window;
    window.showCentred();
    QApplication::processEvents();
    form = &window;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
