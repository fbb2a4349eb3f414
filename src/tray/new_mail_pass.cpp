#include "tray/new_mail_pass.h"

namespace vellix {

NewMailActions runNewMailPass(const std::vector<FolderStatus>& withNewMail,
                              NotificationState& state) {
    NewMailActions actions;
    bool blinkWanted = false;
    bool soundWanted = false;
    bool noticeWanted = false;
    // One flag for the whole pass: fresh mail under either rule lets both sound and note go.
    bool fresh = false;
    const bool first = state.firstCheckSinceStart;

    for (const FolderStatus& folder : withNewMail) {
        const bool arrived = folder.recent > 0 || first;
        if (state.effective(folder, BlinkIcon)) {
            blinkWanted = true;
            if (arrived) state.blinkDelayed = false;
        }
        if (state.effective(folder, PlaySound)) {
            soundWanted = true;
            if (arrived) {
                state.soundDelayed = true;
                fresh = true;
            }
        }
        if (state.effective(folder, ShowNotice)) {
            noticeWanted = true;
            if (arrived) {
                state.noticeDelayed = true;
                fresh = true;
            }
        }
        if (!actions.openFolder && state.effective(folder, OpenMessage)) {
            actions.openFolder = folder.name;
        }
    }

    // A signal no folder wants is neither pending nor delayed any more; a wanted one is
    // pending and goes out unless the user delayed it.
    const auto settle = [](bool wanted, std::atomic<bool>& pending, std::atomic<bool>& delayed,
                           bool goesAnyway) {
        pending = wanted;
        if (!wanted) delayed = false;
        return wanted && (!delayed || goesAnyway);
    };
    actions.blink = settle(blinkWanted, state.blinkPending, state.blinkDelayed, false);
    actions.playSound = settle(soundWanted, state.soundPending, state.soundDelayed, fresh);
    actions.showNotice = settle(noticeWanted, state.noticePending, state.noticeDelayed, fresh);
    state.firstCheckSinceStart = false;
    return actions;
}

std::vector<FolderStatus> noticeFolders(const std::vector<FolderStatus>& withNewMail,
                                        const NotificationState& state) {
    std::vector<FolderStatus> out;
    for (const FolderStatus& folder : withNewMail) {
        if (state.effective(folder, ShowNotice)) out.push_back(folder);
    }
    return out;
}

std::vector<FolderStatus> arrivedFolders(const std::vector<FolderStatus>& withNewMail,
                                         const NotificationState& state, bool firstCheck) {
    std::vector<FolderStatus> out;
    for (const FolderStatus& folder : withNewMail) {
        if (folder.recent <= 0 && !firstCheck) continue;
        if (state.effective(folder, BlinkIcon) || state.effective(folder, PlaySound) ||
            state.effective(folder, ShowNotice)) {
            out.push_back(folder);
        }
    }
    return out;
}

std::string desktopNoticeBody(const std::vector<FolderStatus>& folders) {
    std::string body;
    for (const FolderStatus& folder : folders) {
        if (!body.empty()) body += '\n';
        body += folder.displayName + " (" + std::to_string(folder.newCount) + ")";
    }
    return body;
}

WebmailLink firstUnreadLink(const std::string& folderName) {
    return WebmailLink{"&View=Message&NextFolder=%s&NextFirstUnread=Yes",
                       {folderName, {}, {}},
                       TrayState::Connected};
}

}  // namespace vellix
