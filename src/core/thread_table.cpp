#include "core/thread_table.h"

namespace vellix {

ThreadTable::~ThreadTable() {
    for (auto& thread : threads_) {
        if (thread && thread->isRunning()) (void)thread.release();
    }
}

void ThreadTable::put(std::unique_ptr<FrameThread> thread) {
    std::lock_guard lock(mutex_);
    auto& slot = threads_[static_cast<std::size_t>(thread->kind())];
    slot = std::move(thread);
}

bool ThreadTable::running(FrameKind kind) const {
    std::lock_guard lock(mutex_);
    const auto& thread = threads_[static_cast<std::size_t>(kind)];
    return thread && thread->isRunning();
}

bool ThreadTable::waitFor(FrameKind kind, Milliseconds realTimeout) const {
    FrameThread* thread = nullptr;
    {
        std::lock_guard lock(mutex_);
        thread = threads_[static_cast<std::size_t>(kind)].get();
    }
    if (!thread) return true;
    return thread->wait(QDeadlineTimer(realTimeout.count()));
}

bool ThreadTable::deleteEnded() {
    std::lock_guard lock(mutex_);
    bool all = true;
    for (auto& thread : threads_) {
        if (!thread) continue;
        if (thread->isRunning()) {
            all = false;
            continue;
        }
        thread.reset();
    }
    return all;
}

}  // namespace vellix
