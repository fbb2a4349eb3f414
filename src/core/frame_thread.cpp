#include "core/frame_thread.h"

namespace vellix {

FrameThread::FrameThread(FrameKind kind, FrameRegistry& registry, Factory factory)
    : kind_(kind), registry_(registry), factory_(std::move(factory)) {
    setObjectName(QString::fromUtf8(frameKindName(kind)));
}

FrameThread::~FrameThread() {
    // Callers wait for the thread before deleting it; a thread still running here would
    // abort the process, so give it a last chance to end.
    if (isRunning()) {
        quit();
        wait();
    }
}

bool FrameThread::startAndWait() {
    start();
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return started_; });
    return built_;
}

void FrameThread::run() {
    std::unique_ptr<Frame> frame;
    try {
        frame = factory_();
    } catch (...) {
        frame.reset();
    }
    if (frame) registry_.set(kind_, frame.get());
    {
        std::lock_guard lock(mutex_);
        started_ = true;
        built_ = frame != nullptr;
    }
    ready_.notify_all();
    if (!frame) return;
    exec();
    registry_.set(kind_, nullptr);
    frame.reset();
}

}  // namespace vellix
