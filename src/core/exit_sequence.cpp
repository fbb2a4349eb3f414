#include "core/exit_sequence.h"

#include <algorithm>
#include <array>

namespace vellix {
namespace {

constexpr std::array kFirstGroup = {FrameKind::Tray, FrameKind::Menu, FrameKind::Note,
                                    FrameKind::Messaging, FrameKind::Server};

// One round: up to one poll period, ending early once the whole group has ended.
bool firstGroupEndedWithin(const ThreadTable& threads, Milliseconds period) {
    const auto deadline = std::chrono::steady_clock::now() + period;
    for (FrameKind kind : kFirstGroup) {
        const auto left =
            std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!threads.waitFor(kind, std::max(left, Milliseconds(0)))) return false;
    }
    return true;
}

}  // namespace

ExitReport runExitSequence(FrameRegistry& frames, ThreadTable& threads, const Clock& clock) {
    for (FrameKind kind : kFirstGroup) frames.post(kind, UM_QUIT_THREAD);
    frames.post(FrameKind::BuddyWindow, UM_QUIT_BUDDY_WINDOW);

    for (int round = 0; round < kExitPollRounds; ++round) {
        if (firstGroupEndedWithin(threads, clock.scaled(kExitPollPeriod))) break;
    }

    if (frames.post(FrameKind::AddressBook, UM_QUIT_THREAD)) {
        (void)threads.waitFor(FrameKind::AddressBook, clock.scaled(kAddressBookExitWait));
    }

    frames.post(FrameKind::WindowHandler, UM_QUIT_THREAD);
    while (!threads.waitFor(FrameKind::WindowHandler, clock.scaled(kExitPollPeriod))) {
    }

    ExitReport report;
    for (std::size_t i = 0; i < static_cast<std::size_t>(FrameKind::Count); ++i) {
        const auto kind = static_cast<FrameKind>(i);
        if (kind != FrameKind::Main && threads.running(kind)) report.abandoned.push_back(kind);
    }
    return report;
}

}  // namespace vellix
