// The mail poll of the server frame: the check cycle and the counts request.
#include "core/settings_keys.h"
#include "server/server_frame.h"
#include "server/server_replies.h"
#include "server/server_requests.h"

namespace vellix {
namespace {

constexpr int kStateConnected = 1;
constexpr int kStateChecking = 3;
constexpr int kStateDisconnected = 4;
constexpr int kStateConnecting = 5;

}  // namespace

bool CMainFrame_ServerInterface::Check() {
    if (deps_.session.get().loginCancelled) {
        reportState(kStateDisconnected);
        return false;
    }
    if (sessionId().empty()) {
        reportState(kStateConnecting);
        if (!GetVersion() || !Login()) {
            reportState(kStateDisconnected);
            return false;
        }
    }
    if (sessionId().empty()) {
        dropSessionFields(true);
        deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
        reportState(kStateDisconnected);
        return false;
    }
    reportState(kStateChecking);
    if (GetMessageCounts()) {
        // A disconnect text in the reply has dropped the session: it stays disconnected.
        if (sessionId().empty()) return false;
        reportState(kStateConnected);
        if (newMailMarker_) deps_.frames.post(FrameKind::Note, UM_COUNTS_READY);
        if (deps_.session.get().messagingEnabled) GetBuddyList();
        return true;
    }
    return reconnectAndCount();
}

// One full reconnect within the same check when the counts did not come.
bool CMainFrame_ServerInterface::reconnectAndCount() {
    if (abandoned()) return false;
    deps_.session.update([](SessionState& s) { s.sessionId.clear(); });
    reportState(kStateConnecting);
    if (!GetVersion() || !Login()) {
        reportState(kStateDisconnected);
        return false;
    }
    reportState(kStateChecking);
    if (GetMessageCounts()) {
        if (sessionId().empty()) return false;
        if (deps_.session.get().messagingEnabled) GetBuddyList();
        reportState(kStateConnected);
        if (newMailMarker_) deps_.frames.post(FrameKind::Note, UM_COUNTS_READY);
        return true;
    }
    dropSessionFields(true);
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    reportState(kStateDisconnected);
    return false;
}

bool CMainFrame_ServerInterface::GetMessageCounts() {
    const auto reply = request(requests::messageCounts(serverUrl(), sessionId()));
    if (!reply) return false;
    CountsReply counts = readCountsReply(*reply);
    newMailMarker_ = counts.newMail;
    if (counts.invalidSession) {
        receiver_.stopAndWait();
        dropSessionFields(true);
        deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
        // A server that answers "invalid session" to every request gets spaced logins.
        loginAgainSpaced();
        return false;
    }
    for (std::string& alert : counts.alerts) {
        deps_.frames.post(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::move(alert)));
    }
    if (!counts.disconnect.empty()) DropSessionAndReport(counts.disconnect, false, true);
    deps_.folders.merge(counts.folders);
    deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_FOLDERS);
    return true;
}

void CMainFrame_ServerInterface::startPollTimer() {
    const int minutes = account::readPollInterval(deps_.accountSettings.file());
    setTimer(kPollTimer, Milliseconds(static_cast<long long>(minutes) * 60000));
}

}  // namespace vellix
