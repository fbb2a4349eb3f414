// Start-up and stop figures of the real binary: time from exec until the seven start-up
// frames run, resident memory once they do, and time from a "/stop" request until the
// running instance has ended. Run: build/release/bench/startup_bench
#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string binaryPath() {
    return std::string(VELLIX_BINARY_DIR) + "/bin/vellix";
}

// A private runtime and config folder per run, so no real instance interferes.
struct PrivateHome {
    PrivateHome() {
        char pattern[] = "/tmp/vellix-bench-XXXXXX";
        root = mkdtemp(pattern);
        for (const char* sub : {"/runtime", "/config", "/data"}) mkdir((root + sub).c_str(), 0700);
    }
    ~PrivateHome() { std::system(("rm -rf '" + root + "'").c_str()); }
    std::string root;
};

struct Child {
    pid_t pid = -1;
    int err = -1;
};

Child spawn(const PrivateHome& home, const char* argument) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 2);
        close(fds[0]);
        close(fds[1]);
        setenv("XDG_RUNTIME_DIR", (home.root + "/runtime").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home.root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home.root + "/data").c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("VELLIX_TRACE", "1", 1);
        const std::string binary = binaryPath();
        if (argument) {
            execl(binary.c_str(), binary.c_str(), argument, static_cast<char*>(nullptr));
        } else {
            execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    close(fds[1]);
    return Child{pid, fds[0]};
}

void waitForLine(int fd, const std::string& text) {
    std::string seen;
    char buffer[4096];
    while (seen.find(text) == std::string::npos) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) throw std::runtime_error("vellix ended before: " + text);
        seen.append(buffer, static_cast<std::size_t>(n));
    }
}

long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_StartUntilFramesRun(benchmark::State& state) {
    long rss = 0;
    for (auto _ : state) {
        PrivateHome home;
        const auto begin = Clock::now();
        Child child = spawn(home, nullptr);
        waitForLine(child.err, "vellix: frames running");
        state.SetIterationTime(seconds(Clock::now() - begin));
        rss = residentKiB(child.pid);
        kill(child.pid, SIGTERM);
        waitpid(child.pid, nullptr, 0);
        close(child.err);
    }
    state.counters["rss_KiB"] = static_cast<double>(rss);
}
BENCHMARK(BM_StartUntilFramesRun)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_StopUntilInstanceEnds(benchmark::State& state) {
    for (auto _ : state) {
        PrivateHome home;
        Child running = spawn(home, nullptr);
        waitForLine(running.err, "vellix: frames running");
        const auto begin = Clock::now();
        Child stopper = spawn(home, "/stop");
        waitpid(running.pid, nullptr, 0);
        state.SetIterationTime(seconds(Clock::now() - begin));
        waitpid(stopper.pid, nullptr, 0);
        close(running.err);
        close(stopper.err);
    }
}
BENCHMARK(BM_StopUntilInstanceEnds)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
