#pragma once
// A thread that owns one frame: it creates the frame on itself, registers it, runs the
// frame's message loop, and unregisters and destroys it when the loop ends.

#include <QThread>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "core/frame_registry.h"

namespace vellix {

class FrameThread : public QThread {
  public:
    using Factory = std::function<std::unique_ptr<Frame>()>;

    FrameThread(FrameKind kind, FrameRegistry& registry, Factory factory);
    ~FrameThread() override;

    FrameKind kind() const { return kind_; }
    // Starts the thread and returns once its frame is registered (or failed to build).
    bool startAndWait();

  protected:
    void run() override;

  private:
    FrameKind kind_;
    FrameRegistry& registry_;
    Factory factory_;
    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false;
    bool built_ = false;
};

}  // namespace vellix
