#include "server/server_frame.h"

#include <QTimer>

#include "core/ascii_case.h"
#include "core/settings_keys.h"
#include "core/string_table.h"

namespace vellix {

CMainFrame_ServerInterface::CMainFrame_ServerInterface(ServerFrameDeps deps, const Clock& clock)
    : Frame("Vellix ServerInterface", clock),
      deps_(std::move(deps)),
      receiver_(
          deps_.makeReceiver,
          [this] {
              return deps_.session.get().messagingEnabled && !isOffline(deps_.statusWord.get());
          },
          clock),
      statusSender_(deps_.trace) {
    auto opened =
        InternetSession::open({"Vellix", connection(), kRequestLimits, deps_.prompt, deps_.trace});
    if (opened) internet_ = std::move(opened.value());
    // The first check runs once the frame's loop does, so the start is not held up.
    QTimer::singleShot(0, this, [this] { firstCheck(); });
}

CMainFrame_ServerInterface::~CMainFrame_ServerInterface() = default;

void CMainFrame_ServerInterface::firstCheck() {
    const AccountSettings account = deps_.account.get();
    if (!account.user.empty() && !account.password.empty()) {
        if (Check()) receiver_.start();
        return;
    }
    reportState(4);
    deps_.session.update([](SessionState& s) { s.loginCancelled = true; });
}

LResult CMainFrame_ServerInterface::handleMessage(Message& message) {
    switch (message.id) {
        case UM_RELOGIN:
            relogin(message.w != 0);
            return 0;
        case UM_LOGIN_AGAIN:
            deps_.session.update([](SessionState& s) { s.sessionId.clear(); });
            if (!Login()) reportState(4);
            return 0;
        case UM_CHECK_NOW:
            deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
            takeOver_ = true;
            if (Check()) receiver_.start();
            return 0;
        case UM_RESTART_TIMER:
            killTimer(kPollTimer);
            if (Check()) receiver_.start();
            if (deps_.session.get().loggedIn) startPollTimer();
            return 0;
        case UM_RELOAD_ACCOUNT: {
            ProfileFile ini(deps_.iniPath);
            AccountSettings loaded = loadAccountSettings(ini);
            // A password the user chose not to store is still the one they typed.
            deps_.account.update([&](AccountSettings& held) {
                if (loaded.password.empty() && equalsNoCase(loaded.user, held.user)) {
                    loaded.password = held.password;
                }
                held = loaded;
            });
            deps_.statusWord.set(word(IDS_STATUS_ONLINE));
            relogin(false);
            return 0;
        }
        case UM_LOGOUT:
            Logout();
            return 0;
        case UM_ANOTHER_INSTANCE:
            DropSessionAndReport("Skyloom has detected another Vellix running.", false, true);
            return 0;
        case UM_STOP_IM_RECEIVER:
            receiver_.stopAndWait();
            return 0;
        case UM_SET_STATUS:
            if (auto text = message.take<std::string>()) ChangeStatus(*text);
            return 0;
        case UM_SAVE_BUDDY_LIST:
            if (auto body = message.take<std::string>()) SaveBuddyList(*body);
            return 0;
        case UM_SAVE_IM_SETTINGS:
            SaveIMSettings();
            return 0;
        case UM_GET_USER_LIST:
            if (sessionId().empty()) relogin(false);
            if (!sessionId().empty()) GetUserList();
            // The page that asked fills itself from whatever the list holds now.
            deps_.frames.post(FrameKind::BuddyWindow, UM_USER_LIST_READY);
            return 0;
        case UM_OPEN_LINK:
            openLink(message);
            return 0;
        case UM_QUIT_THREAD:
            quit();
            return Frame::handleMessage(message);
        default:
            return Frame::handleMessage(message);
    }
}

void CMainFrame_ServerInterface::onTimer(int id) {
    if (id != kPollTimer) return;
    if (deps_.dialogs) deps_.dialogs->closeError();
    deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
    if (!Login()) reportState(4);
    (void)Check();
}

void CMainFrame_ServerInterface::relogin(bool noLoginDialog) {
    if (deps_.dialogs) deps_.dialogs->closeError();
    if (noLoginDialog) noLoginDialog_ = true;
    deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
    if (!Login()) reportState(4);
    (void)Check();
    noLoginDialog_ = false;
}

void CMainFrame_ServerInterface::quit() {
    // The server is told the user left before the frame ends.
    if (deps_.session.get().loggedIn) Logout();
    receiver_.stopNow();
    // The downloaded settings are the server's; nothing local outlives the program.
    (void)deps_.accountSettings.removeFile();
}

void CMainFrame_ServerInterface::DropSessionAndReport(std::optional<std::string> text,
                                                      bool showAsErrorWindow, bool stopPolling) {
    dropSessionFields(true);
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    receiver_.stopAndWait();
    deps_.buddies.clear();
    deps_.users.replace({});
    reportState(4);
    if (deps_.frames.has(FrameKind::BuddyWindow)) {
        deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_BUDDIES);
        deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_FOLDERS);
    }
    if (stopPolling) killTimer(kPollTimer);
    deps_.frames.post(FrameKind::Note, UM_CLOSE_DISCONNECT);
    if (!text) return;
    if (showAsErrorWindow) {
        if (deps_.dialogs) deps_.dialogs->showError(*text);
    } else {
        deps_.frames.post(FrameKind::Note, UM_SHOW_DISCONNECT, 0, 0, makePayload(std::move(*text)));
    }
}

void CMainFrame_ServerInterface::dropSessionFields(bool lastUserToo) {
    deps_.session.update([lastUserToo](SessionState& s) {
        s.sessionId.clear();
        if (lastUserToo) s.lastSessionUser.clear();
        s.loggedIn = false;
    });
}

void CMainFrame_ServerInterface::reportState(int state) {
    deps_.frames.post(FrameKind::Tray, UM_SERVER_STATE, static_cast<WParam>(state));
}

std::optional<std::string> CMainFrame_ServerInterface::request(const std::string& url,
                                                               const std::string* body,
                                                               bool keepLineFeeds) {
    if (serverUrl().empty() || !internet_) return std::nullopt;
    return internet_->request(url, body, keepLineFeeds);
}

std::string CMainFrame_ServerInterface::serverUrl() const {
    return deps_.account.read([](const AccountSettings& a) { return a.url; });
}

std::string CMainFrame_ServerInterface::sessionId() const {
    return deps_.session.read([](const SessionState& s) { return s.sessionId; });
}

std::string CMainFrame_ServerInterface::word(int id) const {
    return deps_.text ? deps_.text(id) : std::string();
}

std::string CMainFrame_ServerInterface::withFailureReason(std::string text) const {
    if (!internet_ || !internet_->lastError() || !deps_.text) return text;
    return text + "\n\n" + describeInternetError(*internet_->lastError(), deps_.text);
}

bool CMainFrame_ServerInterface::isOffline(const std::string& status) const {
    return equalsNoCase(status, word(IDS_STATUS_OFFLINE));
}

ConnectionSettings CMainFrame_ServerInterface::connection() const {
    return deps_.account.read([](const AccountSettings& a) {
        return ConnectionSettings{a.connectionType, a.proxyServer, a.proxyPort};
    });
}

}  // namespace vellix
