#pragma once
// A buddy's new status from the long poll: stored in the buddy table, and the tray, the
// sound, the messenger windows and the buddy window told.

#include <functional>
#include <string>
#include <string_view>

namespace vellix {

class BuddyTable;
class FrameRegistry;
class SoundPlayer;

struct BuddyStatusSignals {
    FrameRegistry& frames;
    BuddyTable& buddies;
    std::string onlineText;                         // the shown word of "Online"
    std::function<bool()> playSounds;               // account setting PlaySounds
    std::function<bool()> blinkOnBuddyOnline;       // Vellix.ini Events/BlinkOnIMBuddyOnline
    std::function<std::string()> buddyOnlineSound;  // account setting IMBuddyOnline
    SoundPlayer* sound = nullptr;
};

// `statusText` is the shown word (empty for a word outside the four). True when the
// buddy's status changed.
bool applyBuddyStatus(const BuddyStatusSignals& signals, std::string_view email,
                      std::string_view statusText);

}  // namespace vellix
