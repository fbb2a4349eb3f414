// The mail poll of the server frame: the check cycle and the counts request.
#include "core/settings_keys.h"
#include "server/server_frame.h"
#include "server/server_replies.h"
#include "server/server_requests.h"

namespace vellix {

FrameTask<bool> CMainFrame_ServerInterface::Check() {
    if (deps_.session.get().loginCancelled) {
        postTrayState(deps_.frames, TrayState::Lost);
        co_return false;
    }
    if (sessionId().empty()) {
        const bool connected = co_await connectSession();
        if (!connected) co_return false;
    }
    if (sessionId().empty()) {
        dropSessionFields();
        deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
        postTrayState(deps_.frames, TrayState::Lost);
        co_return false;
    }
    postTrayState(deps_.frames, TrayState::Waiting);
    if (GetMessageCounts()) {
        // A disconnect text in the reply has dropped the session: it stays disconnected.
        if (sessionId().empty()) co_return false;
        postTrayState(deps_.frames, TrayState::Connected);
        if (newMailMarker_) deps_.frames.post(FrameKind::Note, UM_COUNTS_READY);
        if (deps_.session.get().messagingEnabled) co_await GetBuddyList();
        co_return true;
    }
    const bool counted = co_await reconnectAndCount();
    co_return counted;
}

// Version check and login, the tray saying so; lost when either fails.
FrameTask<bool> CMainFrame_ServerInterface::connectSession() {
    postTrayState(deps_.frames, TrayState::Connecting);
    bool loggedIn = GetVersion();
    if (loggedIn) loggedIn = co_await Login();
    if (!loggedIn) postTrayState(deps_.frames, TrayState::Lost);
    co_return loggedIn;
}

// One full reconnect within the same check when the counts did not come.
FrameTask<bool> CMainFrame_ServerInterface::reconnectAndCount() {
    if (abandoned()) co_return false;
    deps_.session.update([](SessionState& s) { s.sessionId.clear(); });
    const bool connected = co_await connectSession();
    if (!connected) co_return false;
    postTrayState(deps_.frames, TrayState::Waiting);
    if (GetMessageCounts()) {
        if (sessionId().empty()) co_return false;
        if (deps_.session.get().messagingEnabled) co_await GetBuddyList();
        postTrayState(deps_.frames, TrayState::Connected);
        if (newMailMarker_) deps_.frames.post(FrameKind::Note, UM_COUNTS_READY);
        co_return true;
    }
    dropSessionFields();
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    postTrayState(deps_.frames, TrayState::Lost);
    co_return false;
}

bool CMainFrame_ServerInterface::GetMessageCounts() {
    const auto reply = request(requests::messageCounts(serverUrl(), sessionId()));
    if (!reply) return false;
    CountsReply counts = readCountsReply(*reply);
    newMailMarker_ = counts.newMail;
    if (counts.invalidSession) {
        receiver_.stopAndWait();
        dropSessionFields();
        deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
        // A server that answers "invalid session" to every request gets spaced logins.
        loginAgainSpaced();
        return false;
    }
    for (std::string& alert : counts.alerts) {
        deps_.frames.post(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::move(alert)));
    }
    if (!counts.disconnect.empty())
        DropSessionAndReport(counts.disconnect, ShowAs::DisconnectNote, Polling::Stop);
    deps_.folders.merge(counts.folders);
    deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_FOLDERS);
    return true;
}

void CMainFrame_ServerInterface::startPollTimer() {
    const int minutes = account::readPollInterval(deps_.accountSettings.file());
    setTimer(kPollTimer, Milliseconds(static_cast<long long>(minutes) * 60000));
}

}  // namespace vellix
