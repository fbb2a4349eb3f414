#include "core/clock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace vellix {

Clock::Clock(double scale) : scale_(scale > 0 && std::isfinite(scale) ? scale : 1.0) {
}

Milliseconds Clock::scaled(Milliseconds nominal) const {
    if (nominal.count() <= 0) return Milliseconds(0);
    const double ms = static_cast<double>(nominal.count()) * scale_;
    return Milliseconds(std::max<long long>(1, std::llround(ms)));
}

void Clock::sleep(Milliseconds nominal) const {
    std::this_thread::sleep_for(scaled(nominal));
}

std::chrono::steady_clock::time_point Clock::now() const {
    return std::chrono::steady_clock::now();
}

double Clock::scaleFromEnvironment() {
    const char* text = std::getenv("VELLIX_TIME_SCALE");
    if (!text || !*text) return 1.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0) || !std::isfinite(value)) return 1.0;
    return value;
}

}  // namespace vellix
