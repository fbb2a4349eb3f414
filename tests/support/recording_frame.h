#pragma once
// A frame that records every message it handles, for tests that check who was told what.
// Waits go through a condition variable, so tests never poll with sleeps.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/frame.h"
#include "core/frame_thread.h"

namespace vellix::test {

struct Recorded {
    MessageId id = 0;
    WParam w = 0;
    LParam l = 0;
    std::optional<std::string> text;  // a std::string payload, when the message had one
    bool hadPayload = false;
};

class RecordingFrame : public Frame {
  public:
    using Handler = std::function<LResult(Message&)>;
    RecordingFrame(std::string title, const Clock& clock, Handler handler = {});

    std::vector<Recorded> messages() const;
    std::vector<int> timerTicks() const;
    // Waits until `count` messages (or timer ticks) were recorded; false on time-out.
    bool waitForMessages(std::size_t count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    bool waitForTicks(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    using Frame::clock;

  protected:
    LResult handleMessage(Message& message) override;
    void onTimer(int id) override;

  private:
    Handler handler_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Recorded> messages_;
    std::vector<int> ticks_;
};

struct StartedFrame {
    std::unique_ptr<FrameThread> thread;
    RecordingFrame* frame = nullptr;
};

// Returns once the frame has handled everything queued before the call: a send of a number
// no frame answers queues behind those messages.
inline constexpr MessageId kDrainStep = WM_APP + 899;
inline void drain(Frame& frame) {
    frame.send(kDrainStep);
}
inline void drain(const FrameRegistry& registry, FrameKind kind) {
    registry.send(kind, kDrainStep);
}

// A recording frame on its own thread, registered in its slot.
StartedFrame startRecordingFrame(FrameRegistry& registry, FrameKind kind, const Clock& clock,
                                 RecordingFrame::Handler handler = {});

}  // namespace vellix::test
