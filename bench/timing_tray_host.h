#pragma once
// A tray host for the latency benches: notes the moment each picture reaches it.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "tray/tray_host.h"

namespace vellix::bench {

class TimingTrayHost final : public TrayHost {
  public:
    using Time = std::chrono::steady_clock::time_point;

    bool apply(TrayAction, int icon, const std::string&) override {
        std::lock_guard lock(mutex_);
        lastIcon_ = icon;
        at_ = std::chrono::steady_clock::now();
        changed_.notify_all();
        return true;
    }
    void setActivationHandler(ActivationHandler) override {}
    // When the picture was last shown; waits until it is the one shown.
    Time waitForIcon(int icon) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return lastIcon_ == icon; });
        return at_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int lastIcon_ = 0;
    Time at_;
};

}  // namespace vellix::bench
