#pragma once
// Frames on their own threads for one test. Each is registered in its slot before start
// returns; all are ended through UM_QUIT_THREAD (their own way out) and joined, last
// started first, when the set goes.

#include <memory>
#include <vector>

#include "support/recording_frame.h"

namespace vellix::test {

class FrameThreads {
  public:
    FrameThreads(FrameRegistry& registry, const Clock& clock)
        : registry_(registry), clock_(clock) {}
    ~FrameThreads() { stopAll(); }
    FrameThreads(const FrameThreads&) = delete;
    FrameThreads& operator=(const FrameThreads&) = delete;

    RecordingFrame* record(FrameKind kind, RecordingFrame::Handler handler = {}) {
        auto started = startRecordingFrame(registry_, kind, clock_, std::move(handler));
        threads_.push_back(std::move(started.thread));
        return started.frame;
    }
    // Builds the frame on its thread with `make`; nullptr when it could not be built.
    template <class F, class Make>
    F* start(FrameKind kind, Make make) {
        F* frame = nullptr;
        threads_.push_back(std::make_unique<FrameThread>(kind, registry_, [&] {
            std::unique_ptr<F> made = make();
            frame = made.get();
            return made;
        }));
        return threads_.back()->startAndWait() ? frame : nullptr;
    }
    FrameThread* thread(FrameKind kind) const {
        for (const auto& t : threads_) {
            if (t->kind() == kind) return t.get();
        }
        return nullptr;
    }
    void stop(FrameKind kind) {
        for (auto it = threads_.begin(); it != threads_.end(); ++it) {
            if ((*it)->kind() != kind) continue;
            end(**it);
            threads_.erase(it);
            return;
        }
    }
    void stopAll() {
        while (!threads_.empty()) {
            end(*threads_.back());
            threads_.pop_back();
        }
    }

  private:
    void end(FrameThread& thread) {
        if (!registry_.post(thread.kind(), UM_QUIT_THREAD)) thread.quit();
        thread.wait();
    }

    FrameRegistry& registry_;
    const Clock& clock_;
    std::vector<std::unique_ptr<FrameThread>> threads_;
};

}  // namespace vellix::test
