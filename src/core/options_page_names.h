#pragma once
// The names the options window's pages are opened by (UM_OPTIONS_PAGE), compared without
// regard to letter case, and the one request that opens them.

#include <string>
#include <string_view>

#include "core/frame.h"
#include "core/frame_registry.h"

namespace vellix {

inline constexpr std::string_view kPageNameServer = "Skyloom";
inline constexpr std::string_view kPageNameNotifications = "Notifications";
inline constexpr std::string_view kPageNameAddressBook = "Address Book";
inline constexpr std::string_view kPageNameBuddyList = "Buddy List";
inline constexpr std::string_view kPageNameSounds = "Sounds";
inline constexpr std::string_view kPageNameAbout = "About";

// Opens the options window, or brings it to the front, on the named page; an empty name
// keeps its page. False when no options window can be shown. From any thread.
inline bool showOptionsPage(const FrameRegistry& frames, std::string_view page) {
    return frames.post(FrameKind::Options, UM_OPTIONS_PAGE, 0, 0,
                       page.empty() ? nullptr : makePayload(std::string(page)));
}

}  // namespace vellix
