#pragma once
// Which pages the options window shows, in which order, under which name and help topic.
// Plain data: the sheet builds its pages from a list of these, and other subsystems add
// their own page by appending an entry (see docs/ARCHITECTURE.md, "Options window").

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/options_page_names.h"

namespace vellix {

class OptionsPage;
struct OptionsContext;

// Fixed positions of the pages; the sheet orders its entries by slot.
enum class PageSlot { Server, Notifications, AddressBook, BuddyList, Sounds, Misc, About };

enum class PageCondition { Always, LoggedIn, LoggedInWithMessaging };

struct LoginState {
    bool loggedIn = false;
    bool messaging = false;
};

bool pageAllowed(PageCondition condition, LoginState state);

// Help topic numbers of the pages.
inline constexpr int kHelpTopicAbout = 1;
inline constexpr int kHelpTopicBuddyList = 3;
inline constexpr int kHelpTopicNotifications = 6;
inline constexpr int kHelpTopicMisc = 7;
inline constexpr int kHelpTopicSounds = 8;
inline constexpr int kHelpTopicServer = 11;
inline constexpr int kHelpTopicDisconnect = 11;  // the disconnect dialog's Help button

struct OptionsPageEntry {
    PageSlot slot = PageSlot::Server;
    PageCondition condition = PageCondition::Always;
    std::string openName;  // empty: the page cannot be opened by name
    int helpTopic = kHelpTopicServer;
    // Makes the page widget; the sheet owns it. Called on the GUI thread.
    std::function<OptionsPage*(OptionsContext&)> make;
};

// The entries whose condition holds, in slot order (entries of one slot keep their order).
std::vector<const OptionsPageEntry*> pagesFor(const std::vector<OptionsPageEntry>& entries,
                                              LoginState state);

// Index into `shown` of the page opened by `name` (compared without regard to case), or -1.
int pageIndexByName(const std::vector<const OptionsPageEntry*>& shown, std::string_view name);

}  // namespace vellix
