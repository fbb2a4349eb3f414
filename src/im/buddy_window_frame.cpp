#include "im/buddy_window_frame.h"

#include "core/settings_keys.h"
#include "core/string_table.h"
#include "server/webmail_link.h"

namespace vellix {
namespace {

constexpr int kStatusIds[] = {IDS_STATUS_ONLINE, IDS_STATUS_AWAY, IDS_STATUS_INVISIBLE,
                              IDS_STATUS_OFFLINE};

}  // namespace

BuddyWindowFrame::BuddyWindowFrame(BuddyWindowDeps deps, const Clock& clock)
    : Frame("Vellix", clock), deps_(std::move(deps)) {
    const bool noTray = deps_.trayAvailable && !deps_.trayAvailable();
    if (readKey(ProfileFile(deps_.iniPath), ini::kShowOnStart) || noTray) {
        if (BuddyWindowView* window = view()) window->showAndRaise();
    }
}

BuddyWindowView* BuddyWindowFrame::view() {
    if (view_ || !deps_.makeView) return view_.get();
    view_ = deps_.makeView(*this);
    view_->place(readBuddyWindowPlacement(ProfileFile(deps_.iniPath)));
    rebuildTabs();
    return view_.get();
}

BuddyWindowFrame::~BuddyWindowFrame() {
    savePlacement();
}

LResult BuddyWindowFrame::handleMessage(Message& message) {
    switch (message.id) {
        case UM_REFRESH_BUDDIES:
            refreshBuddies();
            return 0;
        case UM_REFRESH_FOLDERS:
            refreshFolders();
            return 0;
        case UM_OTHER_ACCOUNT:
            rebuildTabs();
            return 0;
        case UM_TOPMOST_CHANGED:
            if (view_)
                view_->setAlwaysOnTop(readKey(ProfileFile(deps_.iniPath), ini::kBuddyAlwaysOnTop));
            return 0;
        case UM_SHOW_MAIN_WINDOW:
            if (BuddyWindowView* window = view()) window->showAndRaise();
            return 0;
        case UM_QUIT_BUDDY_WINDOW:
        case UM_QUIT_THREAD:
            // The GUI thread's loop is the program's own; ending it is the exit sequence's job.
            return 0;
        default:
            return Frame::handleMessage(message);
    }
}

void BuddyWindowFrame::refreshBuddies() {
    refreshStatus();
    if (!view_) return;
    const auto groups = groupBuddies(deps_.buddies.copy(), deps_.text(IDS_STATUS_OFFLINE),
                                     deps_.text(IDS_STATUS_AWAY), firstFill_);
    view_->showBuddies(groups);
}

void BuddyWindowFrame::refreshFolders() {
    if (!view_) return;
    const SessionState session = deps_.session.get();
    view_->setTitle(buddyWindowTitle(session));
    // The folder table keeps its records after a logout; the window shows them only while
    // they are the logged-in account's.
    if (session.sessionId.empty()) return view_->showFolders({});
    const bool defaultOn = !deps_.defaultInWindow || deps_.defaultInWindow();
    view_->showFolders(windowFolders(deps_.folders.copyFolders(), defaultOn));
}

void BuddyWindowFrame::rebuildTabs() {
    if (!view_) return;
    firstFill_ = true;
    view_->rebuildTabs(deps_.session.get().messagingEnabled);
    refreshBuddies();
    refreshFolders();
}

void BuddyWindowFrame::refreshStatus(std::optional<std::string> chosen) {
    if (!view_) return;
    StatusChoices status;
    for (const int id : kStatusIds) status.words.push_back(deps_.text(id));
    // The server frame stores a chosen word only when it handles the change.
    status.current = chosen ? std::move(*chosen) : deps_.statusWord.get();
    deps_.session.read([&](const SessionState& s) {
        status.enabled = !s.sessionId.empty() && s.messagingEnabled;
    });
    view_->showStatus(status);
}

void BuddyWindowFrame::savePlacement() {
    if (!view_ || deps_.iniPath.empty()) return;
    ProfileFile ini(deps_.iniPath);
    // A settings file that cannot be written only costs the next start its placement.
    (void)saveBuddyWindowPlacement(ini, view_->normalRect(), view_->isMaximized());
}

void BuddyWindowFrame::openConversation(const BuddyRecord& buddy) {
    deps_.frames.post(FrameKind::WindowHandler, UM_START_CONVERSATION, 0, 0,
                      makePayload(buddy.email));
}

void BuddyWindowFrame::openFolder(const FolderStatus& folder) {
    if (deps_.session.get().sessionId.empty()) return;
    WebmailLink link;
    link.format = "&View=List&NextFolder=%s";
    link.arguments[0] = folder.name;
    link.trayStateAfter = TrayState::Connected;
    deps_.frames.post(FrameKind::Server, UM_OPEN_LINK, 0, 0, makePayload(std::move(link)));
}

void BuddyWindowFrame::chooseStatus(std::size_t index) {
    if (index >= std::size(kStatusIds)) return;
    deps_.manualStatus = kStatusIds[index] != IDS_STATUS_ONLINE;
    const std::string word = deps_.text(kStatusIds[index]);
    deps_.frames.post(FrameKind::Server, UM_SET_STATUS, 0, 0, makePayload(word));
    refreshStatus(word);
}

}  // namespace vellix
