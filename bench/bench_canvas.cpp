// The canvas's event costs, against a plain copy of the persistent image's
// bytes measured in the same run: run with `make bench`. The dispatch drives
// the picture box directly; a shape's preview repaints a canvas widget of
// its own, as the window's does.
#include "app/CanvasWidget.h"
#include "canvas/CanvasDispatch.h"
#include "canvas/PictureBox.h"
#include "canvas/UndoHistory.h"
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
    // Every gesture is recorded, as in the window.
    UndoHistory history{box};

    Canvas() {
        dispatch.stampPicture = [](qint16 tool) -> const Icon& {
            return BuiltinPictures::stamp(tool);
        };
        dispatch.update = [this](const QRect& rect) { widget.update(rect); };
        dispatch.Refresh = [this] { widget.repaint(); };
        dispatch.gestureBegins = [this] { history.begin(); };
        dispatch.gestureEnds = [this] { history.end(); };
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

// A child's drawing: strokes of every pen and the brush, a few shapes and
// stamps, on the white canvas.
void drawAPicture(int seed) {
    for (int i = 0; i < 12; ++i) {
        const float x = float((seed * 31 + i * 67) % 420 + 20);
        const float y = float((seed * 17 + i * 43) % 380 + 20);
        const qint16 tools[] = {ToolId::kFirstPen,
                                qint16(ToolId::kFirstPen + 3),
                                ToolId::kBroadBrush,
                                ToolId::kFilledBox,
                                ToolId::kEllipse,
                                44,
                                120};
        canvas->drawing.currentTool = tools[i % 7];
        down(x, y);
        for (int step = 1; step <= 8; ++step)
            move(x + float(step * 6 % 50), y + float(step * step % 40), 1);
        up();
    }
}

// The release of a stroke: the step closed, its rectangle found and packed.
void BM_StrokeStepEnd(benchmark::State& state) {
    resetTo(ToolId::kFirstPen);
    drawAPicture(1);
    canvas->drawing.currentTool = ToolId::kFirstPen + 3;
    int n = 0;
    for (auto _ : state) {
        down(100, float(100 + n % 50));
        move(float(200 + n % 60), 180);
        move(float(160 + n % 30), 260);
        up();
        ++n;
    }
}
BENCHMARK(BM_StrokeStepEnd);

// A scene pressed over a drawing: the whole picture packed.
void BM_SceneStep(benchmark::State& state) {
    resetTo(ToolId::kFirstPen);
    drawAPicture(2);
    int n = 0;
    for (auto _ : state) {
        canvas->history.beginWhole();
        canvas->box.Cls();
        canvas->box.setPicture(n % 2 ? BuiltinPictures::scene(4) : canvas->box.Image().copy());
        canvas->history.end();
        ++n;
    }
}
BENCHMARK(BM_SceneStep);

// Undo, then redo, of the last step: two events an iteration.
void undoRedo(benchmark::State& state, bool scene) {
    resetTo(ToolId::kFirstPen);
    drawAPicture(3);
    if (scene) {
        canvas->history.beginWhole();
        canvas->box.Cls();
        canvas->box.setPicture(BuiltinPictures::scene(4));
        canvas->history.end();
    }
    for (auto _ : state) {
        canvas->history.undo();
        canvas->history.redo();
    }
}
void BM_UndoRedoStroke(benchmark::State& state) {
    undoRedo(state, false);
}
void BM_UndoRedoScene(benchmark::State& state) {
    undoRedo(state, true);
}
BENCHMARK(BM_UndoRedoStroke);
BENCHMARK(BM_UndoRedoScene);

// The history's bytes after 100 steps of an ordinary session: strokes,
// stamps and shapes, two scenes and an Open of a photo-like picture.
void BM_HistoryBytesAfter100Steps(benchmark::State& state) {
    QImage photo(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 640, y * 255 / 480, (x * y) % 256));
    for (auto _ : state) {
        resetTo(ToolId::kFirstPen);
        canvas->box.setPicture(BuiltinPictures::canvasStartPicture());
        canvas->history.setLimits(0, 0);
        canvas->history.setLimits(UndoHistory::kMaxSteps, UndoHistory::kMaxBytes);
        for (int round = 0; canvas->history.undoCount() < 100; ++round) {
            if (round == 2 || round == 4 || round == 6) {
                canvas->history.beginWhole();
                canvas->box.Cls();
                canvas->box.setPicture(round == 4 ? photo : BuiltinPictures::scene(round % 6));
                canvas->history.end();
            }
            drawAPicture(round);
        }
    }
    state.counters["steps"] = canvas->history.undoCount();
    state.counters["KiB"] = double(canvas->history.bytes()) / 1024;
}
BENCHMARK(BM_HistoryBytesAfter100Steps)->Iterations(1);

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
