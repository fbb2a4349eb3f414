// Presence, the buddy and user lists and the account settings of the server frame.
#include <fstream>
#include <sstream>

#include "core/status_words.h"
#include "core/string_table.h"
#include "server/server_frame.h"
#include "server/server_replies.h"
#include "server/server_requests.h"

namespace vellix {

FrameTask<> CMainFrame_ServerInterface::ChangeStatus(std::string status) {
    deps_.statusWord.set(status);
    // Every conversation window shows the user's own status.
    deps_.frames.post(FrameKind::WindowHandler, UM_OWN_STATUS_CHANGED);
    announceStatus();
    co_await pauseFor(kStatusChangePause);
    if (isOffline(status)) {
        receiver_.stopAndWait();
    } else {
        co_await startReceiver();
    }
}

// The protocol word of the current status; a word outside the four is sent as it is.
void CMainFrame_ServerInterface::announceStatus() {
    const std::string protocol =
        protocolStatus(deps_.statusWord.get(), [this](int id) { return word(id); });
    statusSender_.send({serverUrl(), sessionId(), protocol, connection()});
}

FrameTask<> CMainFrame_ServerInterface::GetBuddyList() {
    co_await ChangeStatus(deps_.statusWord.get());
    const auto reply = request(requests::buddyList(serverUrl(), sessionId()));
    if (!reply) co_return;
    const StatusLocalizer localize = [this](std::string_view sent) {
        return localizedStatus(sent, [this](int id) { return word(id); });
    };
    deps_.buddies.replace(readBuddyList(*reply, localize));
    deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_BUDDIES);
    // Open conversations take the names just read; one asked for before the list opens now.
    deps_.frames.post(FrameKind::WindowHandler, UM_BUDDY_STATUS_CHANGED);
}

void CMainFrame_ServerInterface::GetUserList() {
    const auto reply = request(requests::userList(serverUrl(), sessionId()));
    if (!reply) return;
    deps_.users.replace(readUserList(*reply));
}

FrameTask<> CMainFrame_ServerInterface::SaveBuddyList(std::string body) {
    (void)request(requests::saveBuddyList(serverUrl(), sessionId()), &body);
    co_await GetBuddyList();
}

bool CMainFrame_ServerInterface::GetIMSettings() {
    const auto reply =
        request(requests::imSettings(serverUrl(), sessionId()), nullptr, LineFeeds::Keep);
    const SessionState session = deps_.session.get();
    const AccountSettingsTarget target{
        deps_.dataFolder, session.account.empty() ? deps_.account.get().user : session.account,
        deps_.spelling, &deps_.accountSettings};
    if (!reply) {
        (void)receiveAccountSettings(std::nullopt, target);
        return false;
    }
    if (reply->find(kInvalidSessionReply) != std::string::npos) {
        receiver_.stopAndWait();
        return false;
    }
    const auto text = readImSettings(*reply);
    if (!text) return false;
    (void)receiveAccountSettings(*text, target);
    if (deps_.accountSettingsLoaded) deps_.accountSettingsLoaded();
    return true;
}

void CMainFrame_ServerInterface::SaveIMSettings() {
    const std::string path = deps_.accountSettings.path();
    if (path.empty()) return;
    std::ifstream file(path, std::ios::binary);
    if (!file) return;
    std::ostringstream text;
    text << file.rdbuf();
    const std::string body = requests::saveImSettingsBody(text.str());
    (void)request(requests::saveImSettings(serverUrl(), sessionId()), &body);
}

}  // namespace vellix
