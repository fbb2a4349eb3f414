#pragma once
// A tray host that records every call and can be told to fail the next ones.

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
    bool ok;
};

class RecordingTrayHost final : public TrayHost {
  public:
    bool apply(TrayAction action, int icon, const std::string& tip) override {
        std::lock_guard lock(mutex_);
        bool ok = true;
        if (!failures_.empty()) {
            ok = !failures_.front();
            failures_.pop_front();
        }
        calls_.push_back({action, action == TrayAction::Delete ? 0 : icon, tip, ok});
        changed_.notify_all();
        return ok;
    }
    void setActivationHandler(ActivationHandler handler) override {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }
    // The next calls' outcomes, in order: true fails that call.
    void failNext(std::vector<bool> outcomes) {
        std::lock_guard lock(mutex_);
        failures_.assign(outcomes.begin(), outcomes.end());
    }
    void activate(const TrayActivation& activation) {
        std::lock_guard lock(mutex_);
        if (handler_) handler_(activation);
    }
    std::vector<HostCall> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }
    // Waits until a call satisfies `match`; false on time-out.
    bool waitFor(const std::function<bool(const HostCall&)>& match,
                 std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            for (const auto& call : calls_) {
                if (match(call)) return true;
            }
            return false;
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
