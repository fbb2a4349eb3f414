#pragma once
// Runs the Qt event loop until a condition holds or a time-out passes.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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

inline void runFor(int ms) {
    runUntil([] { return false; }, ms);
}

}  // namespace vellix::test
