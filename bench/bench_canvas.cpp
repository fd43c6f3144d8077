// The canvas's event costs, against a plain copy of the persistent image's
// bytes measured in the same run: run with `make bench`. The dispatch drives
// the picture box directly; a shape's preview repaints a canvas widget of
// its own, as the window's does.
#include "app/CanvasWidget.h"
#include "canvas/CanvasDispatch.h"
#include "canvas/PictureBox.h"
#include "platform/BuiltinPictures.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr float px = 15; // twips in a pixel

struct Canvas {
    PictureBox box{BuiltinPictures::canvasStartPicture()};
    DrawingState drawing;
    Module1 module1;
    CanvasDispatch dispatch{box, drawing, module1};
    CanvasWidget widget{box, nullptr};
    QTemporaryDir snapshotDir;

    Canvas() {
        dispatch.stampPicture = [](qint16 tool) -> const Icon& {
            return BuiltinPictures::stamp(tool);
        };
        dispatch.update = [this](const QRect& rect) { widget.update(rect); };
        dispatch.Refresh = [this] { widget.repaint(); };
        widget.resize(PictureBox::kWidth, PictureBox::kHeight);
        widget.show();
    }
};
Canvas* canvas = nullptr;

void resetTo(qint16 tool) {
    canvas->box.Cls();
    canvas->drawing = DrawingState{};
    canvas->drawing.currentTool = tool;
}

void move(float x, float y, qint16 buttons = 1) {
    canvas->dispatch.mouseMove(buttons, 0, x * px, y * px, 0x000000, 0xFFFFFF);
}

void down(float x, float y) {
    canvas->dispatch.mouseDown(1, 0, x * px, y * px, canvas->snapshotDir.path() + "/");
}

void up() {
    canvas->dispatch.mouseUp(1, 0, 0, 0);
}

void BM_CopyWholeImage(benchmark::State& state) {
    const QImage& image = canvas->box.Image();
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
    up();
}
void BM_PenMove1Pixel(benchmark::State& state) {
    penMove(state, ToolId::kFirstPen, 1);
}
void BM_PenMove19Pixels(benchmark::State& state) {
    penMove(state, ToolId::kFirstPen, 19);
}
void BM_BrushMove1Pixel(benchmark::State& state) {
    penMove(state, ToolId::kBroadBrush, 1);
}
void BM_BrushMove19Pixels(benchmark::State& state) {
    penMove(state, ToolId::kBroadBrush, 19);
}
BENCHMARK(BM_PenMove1Pixel);
BENCHMARK(BM_PenMove19Pixels);
BENCHMARK(BM_BrushMove1Pixel);
BENCHMARK(BM_BrushMove19Pixels);

void BM_ShapePress(benchmark::State& state) {
    resetTo(ToolId::kFilledBox);
    for (auto _ : state)
        down(100, 100);
    up();
}
BENCHMARK(BM_ShapePress);

// The heaviest move: the largest filled ellipse, cleared and drawn anew and
// the canvas repainted at once.
void BM_ShapeMoveLargestFilledEllipse(benchmark::State& state) {
    resetTo(ToolId::kFilledEllipse);
    down(0, 0);
    bool forth = true;
    for (auto _ : state) {
        move(forth ? 470 : 469, forth ? 428 : 427);
        forth = !forth;
    }
    up();
}
BENCHMARK(BM_ShapeMoveLargestFilledEllipse);

void BM_StampPress(benchmark::State& state) {
    const qint16 aStamp = 44;
    resetTo(aStamp);
    for (auto _ : state)
        down(200, 200);
}
BENCHMARK(BM_StampPress);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Canvas shown;
    QApplication::processEvents();
    canvas = &shown;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
