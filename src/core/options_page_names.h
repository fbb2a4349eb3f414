#pragma once
// The names the options window's pages are opened by (UM_OPTIONS_PAGE), compared without
// regard to letter case.

#include <string_view>

namespace vellix {

inline constexpr std::string_view kPageNameServer = "Skyloom";
inline constexpr std::string_view kPageNameNotifications = "Notifications";
inline constexpr std::string_view kPageNameAddressBook = "Address Book";
inline constexpr std::string_view kPageNameBuddyList = "Buddy List";
inline constexpr std::string_view kPageNameSounds = "Sounds";
inline constexpr std::string_view kPageNameAbout = "About";

}  // namespace vellix
