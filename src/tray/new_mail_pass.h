#pragma once
// The new-mail pass: from the folders with new mail and the notification flags, what the
// user is to be told. Plain logic; the note frame carries the actions out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/folder_table.h"
#include "server/webmail_link.h"
#include "tray/notification_state.h"

namespace vellix {

struct NewMailActions {
    bool blink = false;                     // the icon blinks
    bool playSound = false;                 // the new-mail sound
    bool showNotice = false;                // show or raise the note window
    std::optional<std::string> openFolder;  // open this folder's first unread message
};

// One pass over the folders whose new count is not 0, in folder-name order. Updates the
// delayed and pending flags and clears firstCheckSinceStart.
NewMailActions runNewMailPass(const std::vector<FolderStatus>& withNewMail,
                              NotificationState& state);

// The note window's lines: the folders whose effective ShowNotice is on, in the given order.
std::vector<FolderStatus> noticeFolders(const std::vector<FolderStatus>& withNewMail,
                                        const NotificationState& state);

// Folders whose mail counts as freshly arrived in this pass (recent above 0, or the first
// check since start) and that have blink, sound or note on: what a desktop notice announces.
// `firstCheck` is the flag as it was before the pass.
std::vector<FolderStatus> arrivedFolders(const std::vector<FolderStatus>& withNewMail,
                                         const NotificationState& state, bool firstCheck);
// One line per folder: "display name (new count)".
std::string desktopNoticeBody(const std::vector<FolderStatus>& folders);

inline constexpr std::string_view kLinkInbox = "&View=List&NextFolder=Inbox";
// "Open the first unread message of this folder", steady tray afterwards.
WebmailLink firstUnreadLink(const std::string& folderName);

}  // namespace vellix
