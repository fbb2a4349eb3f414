#pragma once
// The frame threads of the program, kept until the exit sequence has waited for them.

#include <array>
#include <memory>
#include <mutex>

#include "core/frame_thread.h"

namespace vellix {

class ThreadTable {
  public:
    void put(std::unique_ptr<FrameThread> thread);
    bool running(FrameKind kind) const;
    // Waits up to the real duration given; true when the thread has ended or never ran.
    bool waitFor(FrameKind kind, Milliseconds realTimeout) const;
    // Deletes the thread objects that have ended; a running one stays (deleting it would
    // abort the process). True when every thread was deleted.
    bool deleteEnded();

    ThreadTable() = default;
    ThreadTable(const ThreadTable&) = delete;
    ThreadTable& operator=(const ThreadTable&) = delete;
    // A thread still running now is let go: the process ends around it.
    ~ThreadTable();

  private:
    mutable std::mutex mutex_;
    std::array<std::unique_ptr<FrameThread>, static_cast<std::size_t>(FrameKind::Count)> threads_;
};

}  // namespace vellix
