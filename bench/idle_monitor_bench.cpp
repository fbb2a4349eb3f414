// What an installed idle monitor costs: process CPU time (getrusage) over a stretch of
// user idleness on a private Xvfb, against the same stretch with no monitor at all.
//   idle_monitor_bench [seconds per phase, default 20]
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/idle_monitor.h"
#include "platform/x11_idle_source.h"

namespace {

double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void runEventLoop(int seconds) {
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
}

// Starts Xvfb and returns its display, or "" when it cannot.
std::string startXvfb(QProcess& process) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty()) return {};
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program,
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!process.waitForStarted(5000)) return {};
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000)) return {};
    }
    return ":" + process.readLine().trimmed().toStdString();
}

void report(const char* phase, int seconds, double cpuMs, long long samples) {
    std::printf("%-34s %6d s %10.2f ms CPU %8lld samples %10.2f ms CPU per hour\n", phase, seconds,
                cpuMs, samples, cpuMs * 3600.0 / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    QProcess xvfb;
    std::string display = startXvfb(xvfb);
    if (display.empty()) {
        const char* env = std::getenv("DISPLAY");
        if (!env || !*env) {
            std::fprintf(stderr, "idle_monitor_bench: no Xvfb and no DISPLAY\n");
            return 1;
        }
        display = env;
    }
    std::printf("idle monitor on X display %s, %d s per phase\n", display.c_str(), seconds);

    {
        double before = cpuMilliseconds();
        runEventLoop(seconds);
        report("no monitor (baseline)", seconds, cpuMilliseconds() - before, 0);
    }
    for (const auto& [name, thresholdMs] :
         {std::pair{"user idle (1 s threshold)", 1000LL},
          std::pair{"waiting for idleness (10 min)", 600'000LL}}) {
        auto source = vellix::X11IdleSource::open(display);
        if (!source) {
            std::fprintf(stderr, "idle_monitor_bench: %s\n", source.error().c_str());
            return 1;
        }
        vellix::IdleMonitor monitor(std::move(source).value());
        int reports = 0;
        const double before = cpuMilliseconds();
        if (auto installed = monitor.installMilliseconds(thresholdMs, [&](int) { ++reports; });
            !installed) {
            std::fprintf(stderr, "idle_monitor_bench: %s\n", installed.error().c_str());
            return 1;
        }
        runEventLoop(seconds);
        report(name, seconds, cpuMilliseconds() - before, monitor.samples());
        std::printf("%-34s %d idle/active reports\n", "", reports);
        std::fflush(stdout);
    }
    xvfb.terminate();
    xvfb.waitForFinished(3000);
    return 0;
}
