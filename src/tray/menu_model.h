#pragma once
// The tray menu as plain data, built afresh from a snapshot of the program's state on
// each right-click. The menu host turns it into a real menu; the commands read its maps.

#include <map>
#include <string>
#include <vector>

#include "core/string_table.h"
#include "server/buddy_table.h"
#include "server/folder_table.h"

namespace vellix {

namespace menu_id {
inline constexpr int kAbout = 32778;
inline constexpr int kMakerSite = 32776;
inline constexpr int kShowMainWindow = 115;
inline constexpr int kLogIn = 106;
inline constexpr int kLogOut = 107;
inline constexpr int kLogInAs = 108;
inline constexpr int kCalendar = 109;
inline constexpr int kFax = 1079;
inline constexpr int kProperties = 32773;
inline constexpr int kExit = 32774;
inline constexpr int kCompose = 32775;
inline constexpr int kRefresh = 32772;
inline constexpr int kInbox = 32771;
inline constexpr int kFirstUnread = 32777;
// Each delay switch answers to two ids.
inline constexpr int kDelayBlink = 32760;
inline constexpr int kDelayBlinkAlt = 32761;
inline constexpr int kDelaySound = 32762;
inline constexpr int kDelaySoundAlt = 32763;
inline constexpr int kDelayNotice = 32764;
inline constexpr int kDelayNoticeAlt = 32765;
inline constexpr int kAlerts = 32766;
inline constexpr int kAlertsAlt = 32767;
// The status items carry the number of the word they set.
inline constexpr int kStatusOnline = IDS_STATUS_ONLINE;
inline constexpr int kStatusAway = IDS_STATUS_AWAY;
inline constexpr int kStatusInvisible = IDS_STATUS_INVISIBLE;
inline constexpr int kStatusOffline = IDS_STATUS_OFFLINE;
inline constexpr int kGroupConversation = 32781;
inline constexpr int kHistoryFolder = 32797;
inline constexpr int kAddBuddy = 32780;
inline constexpr int kFirstFolder = 33000;
inline constexpr int kLastFolder = 33300;
inline constexpr int kFirstBuddy = 34000;
inline constexpr int kLastBuddy = 34300;
}  // namespace menu_id

// Pictures of the owner-drawn presence items.
inline constexpr int kPictureOnline = 265;
inline constexpr int kPictureAway = 266;
inline constexpr int kPictureOffline = 267;

inline constexpr std::string_view kLogInAsPrefix = "Log in as ";

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    int id = 0;
    std::string text;  // "&" marks the accelerator, "&&" is a literal ampersand
    bool enabled = true;
    bool checked = false;
    // Checked with the new-mail check-mark picture rather than the plain check.
    bool checkPicture = false;
    bool isDefault = false;
    int picture = 0;                 // kPicture* for owner-drawn presence items
    std::vector<MenuItem> children;  // Submenu only

    bool operator==(const MenuItem&) const = default;
};

struct MenuModel {
    std::vector<MenuItem> items;
    // What the dynamic command ids stand for until the next build.
    std::map<int, FolderStatus> folders;
    std::map<int, BuddyRecord> buddies;
    // Command id of the first listed folder with new mail; 0 when none.
    int firstNewFolderId = 0;

    // Depth-first look-up of a command item; nullptr when absent.
    const MenuItem* find(int id) const;
};

// Everything the build reads, copied once so the build itself touches no shared state.
struct MenuSnapshot {
    bool disconnected = false;
    bool hasSession = false;
    bool calendar = false;
    bool messaging = false;
    std::vector<FolderStatus> folders;  // not stale, in server order
    bool defaultInMenu = true;
    int folderInMenu = 10;  // 0 never collapses
    int pendingAlerts = 0;
    bool blinkPending = false, soundPending = false, noticePending = false;
    bool blinkDelayed = false, soundDelayed = false, noticeDelayed = false;
    std::string savedUser;
    bool savedPassword = false;
    bool faxClient = false;
    std::string statusWord;  // localized
    std::vector<BuddyRecord> buddies;
    bool hideOfflineBuddies = false;
};

MenuModel buildMenu(const MenuSnapshot& snapshot, const StringTable& strings);

// "name (total/unread/new)" with every "&" doubled; the name when the display name is empty.
std::string folderItemText(const FolderStatus& folder);

}  // namespace vellix
