#pragma once
// A tray host that records every call and can be told to fail the next ones.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tray/tray_host.h"

namespace vellix::test {

struct HostCall {
    TrayAction action;
    int icon;
    std::string tip;
};

class RecordingTrayHost final : public TrayHost {
  public:
    bool apply(TrayAction action, int icon, const std::string& tip) override {
        std::lock_guard lock(mutex_);
        const bool failed = !failures_.empty() && failures_.front();
        if (!failures_.empty()) failures_.pop_front();
        calls_.push_back({action, action == TrayAction::Delete ? 0 : icon, tip});
        changed_.notify_all();
        return !failed;
    }
    void setActivationHandler(ActivationHandler handler) override { handler_ = std::move(handler); }
    // The next calls' outcomes, in order: true fails that call.
    void failNext(std::vector<bool> outcomes) {
        failures_.assign(outcomes.begin(), outcomes.end());
    }
    void activate(const TrayActivation& activation) { handler_(activation); }
    std::vector<HostCall> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    // Waits until a call shows `icon` with `tip`; false on time-out.
    bool waitFor(int icon, const std::string& tip) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::ranges::any_of(
                calls_, [&](const HostCall& c) { return c.icon == icon && c.tip == tip; });
        });
    }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<HostCall> calls_;
    std::deque<bool> failures_;
    ActivationHandler handler_;
};

}  // namespace vellix::test
