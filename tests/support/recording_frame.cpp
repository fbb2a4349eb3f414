#include "support/recording_frame.h"

namespace vellix::test {

RecordingFrame::RecordingFrame(std::string title, const Clock& clock, Handler handler)
    : Frame(std::move(title), clock), handler_(std::move(handler)) {
}

std::vector<Recorded> RecordingFrame::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<int> RecordingFrame::timerTicks() const {
    std::lock_guard lock(mutex_);
    return ticks_;
}

bool RecordingFrame::waitForMessages(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return messages_.size() >= count; });
}

bool RecordingFrame::waitForTicks(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ticks_.size() >= count; });
}

LResult RecordingFrame::handleMessage(Message& message) {
    Recorded entry{message.id, message.w, message.l, std::nullopt, message.payload != nullptr};
    if (auto* text = dynamic_cast<PayloadOf<std::string>*>(message.payload.get())) {
        entry.text = text->value;
    }
    LResult result = handler_ ? handler_(message) : 0;
    // A scripted handler still lets the frame end the ordinary way.
    if (!handler_ || message.id == UM_QUIT_THREAD) Frame::handleMessage(message);
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(std::move(entry));
    }
    changed_.notify_all();
    return result;
}

void RecordingFrame::onTimer(int id) {
    {
        std::lock_guard lock(mutex_);
        ticks_.push_back(id);
    }
    changed_.notify_all();
}

StartedFrame startRecordingFrame(FrameRegistry& registry, FrameKind kind, const Clock& clock,
                                 RecordingFrame::Handler handler) {
    StartedFrame started;
    started.thread = std::make_unique<FrameThread>(kind, registry, [&] {
        auto frame = std::make_unique<RecordingFrame>(frameKindName(kind), clock, handler);
        started.frame = frame.get();
        return frame;
    });
    started.thread->startAndWait();
    return started;
}

}  // namespace vellix::test
