#pragma once
// Program-wide notification state shared by the note, tray and menu frames: the six rule
// defaults, the delay switches and what the last new-mail pass found. Plain flags written
// by one frame at a time and read by the others without a lock.

#include <array>
#include <atomic>

#include "server/folder_table.h"

namespace vellix {

struct NotificationState {
    // Defaults behind rule value 2, in FolderRule order.
    std::array<std::atomic<bool>, kFolderRuleCount> defaults{true, true, false, false, true, true};
    std::atomic<bool> blinkDelayed{false};
    std::atomic<bool> soundDelayed{false};
    std::atomic<bool> noticeDelayed{false};
    std::atomic<bool> blinkPending{false};
    std::atomic<bool> soundPending{false};
    std::atomic<bool> noticePending{false};
    std::atomic<bool> firstCheckSinceStart{true};
    // Set by the tray while it shows the lost-connection state.
    std::atomic<bool> disconnected{false};
    // Administrator messages the note frame holds unshown.
    std::atomic<int> pendingAlerts{0};

    bool effective(const FolderStatus& folder, FolderRule rule) const {
        return ruleIsOn(folder.rules[rule], defaults[rule].load());
    }
};

}  // namespace vellix
