#pragma once
// The orderly end: every frame is told to quit, and the threads are waited for with
// bounded waits, so one frame that never answers cannot keep the program alive
// (only the window handler, which may hold open conversations, is waited for without end).

#include <vector>

#include "core/clock.h"
#include "core/frame_registry.h"
#include "core/thread_table.h"

namespace vellix {

inline constexpr Milliseconds kExitPollPeriod{500};
inline constexpr int kExitPollRounds = 10;
inline constexpr Milliseconds kAddressBookExitWait{2000};

struct ExitReport {
    // Threads still running when the sequence gave up on them.
    std::vector<FrameKind> abandoned;
    bool clean() const { return abandoned.empty(); }
};

ExitReport runExitSequence(FrameRegistry& frames, ThreadTable& threads, const Clock& clock);

}  // namespace vellix
