// Start-up time and memory of the real program, each launch timed from the
// spawn to its window's first painted frame, against a minimal Qt Widgets
// window (bench/floor_window.cpp: a main window with one menu) launched the
// same way in the same run: that is what Qt alone costs on this machine. Both
// run under an Xvfb of the benchmark's own. Run with `make bench`.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLaunchTimeoutMs = 10000;
constexpr int kLaunches = 10;

// Reads `fd` until a line "first-frame" arrives, the stream ends or time runs out.
bool awaitFirstFrame(int fd, Clock::time_point deadline) {
    std::string seen;
    char buffer[4096];
    while (seen.find("first-frame\n") == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return false;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        seen.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

pid_t spawn(const std::vector<std::string>& args, int stderrFd, int stdoutFd = -1) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// An X server for the launches, on a display number it picks itself; stopped
// when the benchmark ends.
class Xvfb {
public:
    Xvfb() {
        int numberPipe[2];
        if (pipe(numberPipe) != 0)
            return;
        int devNull = open("/dev/null", O_WRONLY);
        pid_ = spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(numberPipe[1]), "-screen", "0",
                      "1280x1024x24", "-nolisten", "tcp"},
                     devNull, numberPipe[1]);
        close(devNull);
        close(numberPipe[1]);
        std::string number;
        char buffer[32];
        pollfd ready{numberPipe[0], POLLIN, 0};
        while (pid_ > 0 && number.find('\n') == std::string::npos &&
               poll(&ready, 1, kLaunchTimeoutMs) > 0) {
            const ssize_t got = read(numberPipe[0], buffer, sizeof buffer);
            if (got <= 0)
                break;
            number.append(buffer, static_cast<size_t>(got));
        }
        close(numberPipe[0]);
        if (number.find('\n') != std::string::npos)
            display_ = ":" + number.substr(0, number.find('\n'));
    }
    ~Xvfb() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

struct Launch {
    double seconds;
    double peakMiB;
};

// Starts `args` with its first frame reported on a pipe, stops it as soon as
// the frame is in, and returns the time to it and the child's peak memory.
std::optional<Launch> launch(const std::vector<std::string>& args) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return std::nullopt;
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn(args, report[1]);
    close(report[1]);
    const bool painted =
        pid > 0 && awaitFirstFrame(report[0], start + std::chrono::milliseconds(kLaunchTimeoutMs));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    close(report[0]);
    if (pid <= 0)
        return std::nullopt;
    kill(pid, SIGKILL);
    rusage usage{};
    wait4(pid, nullptr, 0, &usage);
    if (!painted)
        return std::nullopt;
    return Launch{seconds, usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
    static Xvfb server;
    if (server.display().empty()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    char cache[] = "/tmp/pensilo-bench-XXXXXX";
    if (!mkdtemp(cache)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    setenv("DISPLAY", server.display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("PENSILO_FIRST_FRAME", "1", 1);
    // The program's snapshot and its recovery lock go to a folder of the
    // benchmark's, never the user's: each launch ends killed.
    setenv("XDG_CACHE_HOME", cache, 1);
    setenv("XDG_STATE_HOME", cache, 1);

    const std::vector<std::string> floorArgs = {FLOOR_PROGRAM};
    // PENSILO_BENCH_PROGRAM times another build of the program, an older one say.
    const char* other = std::getenv("PENSILO_BENCH_PROGRAM");
    const std::vector<std::string> programArgs = {other ? other : PENSILO_PROGRAM};
    // The first launch of each fills the disk cache; it is not counted.
    launch(floorArgs);
    launch(programArgs);

    std::vector<double> floorSeconds, programSeconds, floorMiB, programMiB;
    for (auto _ : state) {
        const std::optional<Launch> bare = launch(floorArgs);
        const std::optional<Launch> program = launch(programArgs);
        if (!bare || !program) {
            state.SkipWithError("a window did not report its first frame within 10 s");
            break;
        }
        state.SetIterationTime(program->seconds);
        floorSeconds.push_back(bare->seconds);
        programSeconds.push_back(program->seconds);
        floorMiB.push_back(bare->peakMiB);
        programMiB.push_back(program->peakMiB);
    }
    std::error_code ignored;
    std::filesystem::remove_all(cache, ignored);
    if (programSeconds.empty())
        return;
    const double floorTime = median(floorSeconds), programTime = median(programSeconds);
    const double floorPeak = median(floorMiB), programPeak = median(programMiB);
    state.counters["floor_ms"] = floorTime * 1000;
    state.counters["pensilo_ms"] = programTime * 1000;
    state.counters["time_ratio"] = programTime / floorTime;
    state.counters["floor_MiB"] = floorPeak;
    state.counters["pensilo_MiB"] = programPeak;
    state.counters["MiB_over_floor"] = programPeak - floorPeak;
}
BENCHMARK(BM_StartupToFirstFrame)
    ->Iterations(kLaunches)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
