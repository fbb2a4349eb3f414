#pragma once
// What the buddy window shows, as plain data: the buddies grouped by presence, the folders
// the window lists, and the form text of an edited buddy list. The window only draws it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/session_state.h"
#include "server/buddy_table.h"
#include "server/folder_table.h"

namespace vellix {

// Pictures of the two trees, by their resource numbers.
enum class TreePicture {
    BuddyOnline = 15,
    BuddyAway = 16,
    BuddyOffline = 17,
    Empty = 19,
    NewMail = 20
};

inline constexpr std::string_view kNoBuddiesText = "<none>";

struct BuddyItem {
    std::string text;
    TreePicture picture = TreePicture::Empty;
    std::optional<BuddyRecord> buddy;  // nothing for the "<none>" placeholder
};

struct BuddyGroups {
    std::vector<BuddyItem> online;
    std::vector<BuddyItem> offline;
    // The Online group opens itself the first time it gets a buddy.
    bool openOnline = false;
};

// Groups the buddies in table order by their localized status word: the Offline word (any
// letter case) goes to Offline, everything else to Online, with the away picture for the
// Away word. An empty group gets the placeholder. `firstFill` is cleared once the Online
// group opened.
BuddyGroups groupBuddies(const std::vector<BuddyRecord>& buddies, std::string_view offlineWord,
                         std::string_view awayWord, bool& firstFill);

struct FolderItem {
    std::string text;
    TreePicture picture = TreePicture::Empty;
    FolderStatus folder;
};

// The folders of the window in the given (server) order: not stale and with `InWindow` on,
// directly or through the default.
std::vector<FolderItem> windowFolders(const std::vector<FolderStatus>& folders,
                                      bool defaultInWindow);

// The window's title: the program's name, with the account while logged in.
std::string buddyWindowTitle(const SessionState& session);

}  // namespace vellix
