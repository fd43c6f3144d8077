// What the recovery copy costs a gesture: the release of a stroke in the
// real window (the undo step and the copy written), the copy's write and its
// packing alone, against a plain copy of the canvas's bytes in the same run.
// The state folder is a temporary one on the same disk as the user's home.
// Run with `make bench`.
#include "app/Form1.h"
#include "canvas/PictureBox.h"
#include "platform/Dialogs.h"
#include "platform/RecoveryCopy.h"
#include "platform/RecoveryStore.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

// Every dialog cancelled: the benchmark only draws.
class NoDialogs : public Dialogs {
public:
    Answer question(const QString&, const QString&) override { return Answer::Cancel; }
    Answer yesOrNo(const QString&, const QString&) override { return Answer::Cancel; }
    std::optional<QString> chooseFile(const FileRequest&) override { return std::nullopt; }
    void warning(const QString&, const QString&) override {}
    bool choosePrinter(QPrinter&) override { return false; }
};

struct Window {
    QTemporaryDir home{QDir::homePath() + QStringLiteral("/pensilo-bench-XXXXXX")};
    NoDialogs dialogs;
    std::unique_ptr<Form1> form;
    QWidget* canvas = nullptr;

    Window() {
        qputenv("XDG_STATE_HOME", QFile::encodeName(home.path()));
        form = std::make_unique<Form1>(&dialogs);
        form->showCentred();
        form->startWith({});
        canvas = form->findChild<QWidget*>(QStringLiteral("Picture1"));
    }
    QString stateFolder() const { return home.path() + QStringLiteral("/pensilo"); }

    static void send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    void click(const QString& control) {
        auto* widget = form->findChild<QWidget*>(control);
        send(widget, QEvent::MouseButtonPress, {4, 4}, Qt::LeftButton);
        send(widget, QEvent::MouseButtonRelease, {4, 4}, Qt::NoButton);
    }
    void pressAndMove(QPoint from, QPoint to) {
        send(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 8; ++step)
            send(canvas, QEvent::MouseMove, from + (to - from) * step / 8, Qt::LeftButton);
    }
    void release(QPoint at) { send(canvas, QEvent::MouseButtonRelease, at, Qt::NoButton); }

    // A child's drawing: a scene, strokes of the pens and the brush, and
    // stamps. No shapes: their press writes temp.bmp beside the program.
    void drawAPicture() {
        click(QStringLiteral("Image2(1)"));
        const char* tools[] = {"Picture3(183)", "Picture3(186)", "Picture3(194)",
                               "Picture3(44)",  "Picture3(120)", "Picture3(188)"};
        for (int i = 0; i < 24; ++i) {
            click(QString::fromLatin1(tools[i % 6]));
            const QPoint from(20 + i * 67 % 420, 20 + i * 43 % 380);
            pressAndMove(from, from + QPoint(i * 13 % 60, i * 7 % 50));
            release(from + QPoint(i * 13 % 60, i * 7 % 50));
        }
        click(QStringLiteral("Picture3(186)"));
    }
};
Window* window = nullptr;

void BM_CopyWholeImage(benchmark::State& state) {
    const size_t bytes = size_t(PictureBox::kWidth) * PictureBox::kHeight * 4;
    std::vector<uchar> source(bytes, 0x7f), target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyWholeImage);

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The release that ends a stroke: the step closed and packed, the copy
// packed and written. Only the release is timed. The slowest is kept twice:
// as the clock saw it, which on a busy machine includes time the system
// gave to other programs, and as this program's own processor time.
void BM_StrokeReleaseWithCopy(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    double slowest = 0;
    double slowestOwn = 0;
    int n = 0;
    for (auto _ : state) {
        const QPoint from(100 + n % 50, 100 + n % 70);
        const QPoint to(220 + n % 60, 260 - n % 40);
        window->pressAndMove(from, to);
        const auto start = Clock::now();
        const double startOwn = threadSeconds();
        window->release(to);
        slowestOwn = std::max(slowestOwn, threadSeconds() - startOwn);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
        ++n;
    }
    state.counters["slowest_ms"] = slowest * 1000;
    state.counters["slowest_own_ms"] = slowestOwn * 1000;
}
BENCHMARK(BM_StrokeReleaseWithCopy)->UseManualTime()->Iterations(2000);

QImage drawnCanvas() {
    return window->form->findChild<QWidget*>(QStringLiteral("Picture1"))->grab().toImage();
}

void BM_CopyPacked(benchmark::State& state) {
    const QImage picture = drawnCanvas().convertToFormat(QImage::Format_RGB32);
    QByteArray bytes;
    for (auto _ : state) {
        bytes = RecoveryCopy::encode(picture, QStringLiteral("/home/barn/Bilder/hus.bmp"));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["KiB"] = double(bytes.size()) / 1024;
    state.counters["packed_to_1"] = double(picture.sizeInBytes()) / double(bytes.size());
}
BENCHMARK(BM_CopyPacked);

void BM_CopyWritten(benchmark::State& state) {
    const QImage picture = drawnCanvas().convertToFormat(QImage::Format_RGB32);
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/pensilo-bench-XXXXXX"));
    RecoveryStore store(folder.path());
    store.claimOwnLock();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.keep(picture, QStringLiteral("/home/barn/Bilder/hus.bmp")));
    store.discard();
}
BENCHMARK(BM_CopyWritten);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Window shown;
    shown.drawAPicture();
    QApplication::processEvents();
    window = &shown;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
