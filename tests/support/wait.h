#pragma once
// Waits for a condition with a time-out. runUntil keeps the Qt event loop of the calling
// thread turning while it waits; eventually only sleeps, for conditions other threads make
// true.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <thread>

namespace vellix::test {

template <class Condition>
bool runUntil(Condition condition, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The same with a duration; twenty seconds when none is given, for the end-to-end waits.
template <class Condition>
bool runUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    return runUntil(condition, static_cast<int>(timeout.count()));
}

inline void runFor(int ms) {
    runUntil([] { return false; }, ms);
}

template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace vellix::test
