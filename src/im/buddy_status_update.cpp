#include "im/buddy_status_update.h"

#include "core/frame_registry.h"
#include "core/messages.h"
#include "core/sound_player.h"
#include "core/tray_state.h"
#include "server/buddy_table.h"

namespace vellix {

bool applyBuddyStatus(const BuddyStatusSignals& signals, std::string_view email,
                      std::string_view statusText) {
    const auto change = signals.buddies.updateStatus(email, statusText);
    if (change) {
        const bool cameOnline = !signals.onlineText.empty() && change->status == signals.onlineText;
        if (cameOnline && signals.playSounds && signals.playSounds()) {
            if (!signals.blinkOnBuddyOnline || signals.blinkOnBuddyOnline()) {
                sendTrayNotice(signals.frames, change->name);
            }
            const std::string sound = signals.buddyOnlineSound ? signals.buddyOnlineSound() : "";
            if (!sound.empty() && signals.sound) signals.sound->play(sound);
        }
        signals.frames.post(FrameKind::WindowHandler, UM_BUDDY_STATUS_CHANGED);
    }
    signals.frames.post(FrameKind::BuddyWindow, UM_REFRESH_BUDDIES);
    return change.has_value();
}

}  // namespace vellix
