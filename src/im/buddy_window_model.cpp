#include "im/buddy_window_model.h"

#include "core/ascii_case.h"

namespace vellix {
namespace {

void addPlaceholderWhenEmpty(std::vector<BuddyItem>& group) {
    if (group.empty()) group.push_back({std::string(kNoBuddiesText), TreePicture::Empty, {}});
}

}  // namespace

BuddyGroups groupBuddies(const std::vector<BuddyRecord>& buddies, std::string_view offlineWord,
                         std::string_view awayWord, bool& firstFill) {
    BuddyGroups groups;
    for (const auto& buddy : buddies) {
        if (equalsNoCase(buddy.status, offlineWord)) {
            groups.offline.push_back({buddy.name, TreePicture::BuddyOffline, buddy});
            continue;
        }
        const bool away = equalsNoCase(buddy.status, awayWord);
        groups.online.push_back(
            {buddy.name, away ? TreePicture::BuddyAway : TreePicture::BuddyOnline, buddy});
    }
    if (firstFill && !groups.online.empty()) {
        groups.openOnline = true;
        firstFill = false;
    }
    addPlaceholderWhenEmpty(groups.online);
    addPlaceholderWhenEmpty(groups.offline);
    return groups;
}

std::vector<FolderItem> windowFolders(const std::vector<FolderStatus>& folders,
                                      bool defaultInWindow) {
    std::vector<FolderItem> items;
    for (const auto& folder : folders) {
        if (folder.stale || !ruleIsOn(folder.rules[InWindow], defaultInWindow)) continue;
        items.push_back({folderCountsText(folder),
                         folder.newCount != 0 ? TreePicture::NewMail : TreePicture::Empty, folder});
    }
    return items;
}

std::string buddyWindowTitle(const SessionState& session) {
    if (session.sessionId.empty()) return "Vellix";
    const std::string& who = session.displayName.empty() ? session.account : session.displayName;
    return who.empty() ? std::string("Vellix") : who + " - Vellix";
}

}  // namespace vellix
