#include "server/server_frame.h"

#include <QTimer>

#include "core/ascii_case.h"
#include "core/settings_keys.h"
#include "core/string_table.h"
#include "server/file_transfer_records.h"
#include "server/server_requests.h"

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
        InternetSession::open({"Vellix", connection(), requestLimits(), deps_.prompt, deps_.trace});
    if (opened) internet_ = std::move(opened.value());
    // The first check runs once the frame's loop does, so the start is not held up.
    QTimer::singleShot(0, this, [this] { runStep(firstCheck()); });
}

CMainFrame_ServerInterface::~CMainFrame_ServerInterface() = default;

FrameTask<> CMainFrame_ServerInterface::firstCheck() {
    const AccountSettings account = deps_.account.get();
    if (!account.user.empty() && !account.password.empty()) {
        co_await checkAndRetry();
        co_return;
    }
    postTrayState(deps_.frames, TrayState::Lost);
    deps_.session.update([](SessionState& s) { s.loginCancelled = true; });
}

LResult CMainFrame_ServerInterface::handleMessage(Message& message) {
    switch (message.id) {
        case UM_RELOGIN:
            autoRetry_ = true;
            runStep(relogin(message.w != 0 ? LoginDialog::Suppressed : LoginDialog::Allowed));
            return 0;
        case UM_LOGIN_AGAIN:
            // The long poll's error answers can repeat: their logins are spaced out.
            deps_.session.update([](SessionState& s) { s.sessionId.clear(); });
            loginAgainSpaced();
            return 0;
        case UM_CHECK_NOW:
            autoRetry_ = true;
            deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
            takeOver_ = true;
            runStep(checkAndRetry());
            return 0;
        case UM_RESTART_TIMER:
            autoRetry_ = true;
            runStep(restartPollTimer());
            return 0;
        case UM_NETWORK_UP:
            runStep(networkUp());
            return 0;
        case UM_RESUMED:
            runStep(resumed());
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
            autoRetry_ = true;
            runStep(relogin(LoginDialog::Allowed));
            return 0;
        }
        case UM_LOGOUT:
            respectDisconnect();
            runStep(Logout());
            return 0;
        case UM_QUIT_BUDDY_WINDOW:  // from the receiver: another client took the session
            DropSessionAndReport("Skyloom has detected another Vellix running.",
                                 ShowAs::DisconnectNote, Polling::Stop);
            return 0;
        case UM_STOP_IM_RECEIVER:
            receiverEnded();
            return 0;
        case UM_SET_STATUS:
            if (auto text = message.take<std::string>()) runStep(ChangeStatus(std::move(*text)));
            return 0;
        case UM_SAVE_BUDDY_LIST:
            if (auto body = message.take<std::string>()) runStep(SaveBuddyList(std::move(*body)));
            return 0;
        case UM_SAVE_IM_SETTINGS:
            SaveIMSettings();
            return 0;
        case UM_GET_USER_LIST:
            runStep(userListStep());
            return 0;
        case UM_OPEN_LINK:
            if (auto link = message.take<WebmailLink>()) runStep(openLink(std::move(*link)));
            return 0;
        // The replies to offers and answers say nothing the windows act on; the events do.
        case UM_FILE_TRANSFER_REQUEST:
            if (auto offer = message.take<FileOffer>()) {
                request(requests::fileOffer(serverUrl(), sessionId(), offer->recipients,
                                            offer->fileName, offer->size));
            }
            return 0;
        case UM_FILE_TRANSFER_RESPONSE:
            if (auto answer = message.take<FileAnswer>()) {
                request(requests::fileAnswer(serverUrl(), sessionId(), answer->accepted,
                                             answer->sender, answer->fileName));
            }
            return 0;
        case UM_QUIT_THREAD:
            quit();
            return Frame::handleMessage(message);
        default:
            return Frame::handleMessage(message);
    }
}

void CMainFrame_ServerInterface::onTimer(int id) {
    switch (id) {
        case kPollTimer:
            runStep(pollTimerStep());
            return;
        case kRetryTimer:
            runStep(retryNow());
            return;
        case kReloginTimer:
            killTimer(kReloginTimer);
            runStep(relogin(LoginDialog::Allowed));
            return;
        default:
            return;
    }
}

FrameTask<> CMainFrame_ServerInterface::pollTimerStep() {
    if (deps_.dialogs) deps_.dialogs->closeError();
    deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
    const bool loggedIn = co_await Login();
    if (!loggedIn) postTrayState(deps_.frames, TrayState::Lost);
    co_await checkAndRetry();
}

FrameTask<> CMainFrame_ServerInterface::relogin(LoginDialog dialog) {
    if (deps_.dialogs) deps_.dialogs->closeError();
    if (dialog == LoginDialog::Suppressed) noLoginDialog_ = true;
    deps_.session.update([](SessionState& s) { s.loginCancelled = false; });
    const bool loggedIn = co_await Login();
    if (!loggedIn) postTrayState(deps_.frames, TrayState::Lost);
    co_await checkAndRetry();
    noLoginDialog_ = false;
}

FrameTask<> CMainFrame_ServerInterface::userListStep() {
    if (sessionId().empty()) co_await relogin(LoginDialog::Allowed);
    if (!sessionId().empty()) GetUserList();
    // The page that asked fills itself from whatever the list holds now.
    deps_.frames.post(FrameKind::Options, UM_USER_LIST_READY);
}

void CMainFrame_ServerInterface::quit() {
    inQuit_ = true;
    // A request cut short by the quit closed the session; the log-out gets a fresh one.
    if (internet_ && internet_->closed()) {
        auto opened = InternetSession::open(
            {"Vellix", connection(), requestLimits(), deps_.prompt, deps_.trace});
        if (opened) internet_ = std::move(opened.value());
    }
    // The server is told the user left before the frame ends.
    if (deps_.session.get().loggedIn) {
        // No pause here: the receiver is stopped at once below.
        logoutRequests();
        logoutEnd();
    }
    receiver_.stopNow();
    // The downloaded settings are the server's; nothing local outlives the program.
    (void)deps_.accountSettings.removeFile();
}

void CMainFrame_ServerInterface::DropSessionAndReport(std::optional<std::string> text,
                                                      ShowAs showAs, Polling polling) {
    if (abandoned()) return;
    // The server's own word to disconnect is respected: no automatic retry.
    if (text && showAs == ShowAs::DisconnectNote) respectDisconnect();
    // Retries say what they do in the tooltip, not in a window each time.
    if (retrying_ && showAs == ShowAs::ErrorWindow) text.reset();
    dropSessionFields();
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    receiver_.stopAndWait();
    deps_.buddies.clear();
    deps_.users.replace({});
    postTrayState(deps_.frames, TrayState::Lost);
    if (deps_.frames.has(FrameKind::BuddyWindow)) {
        deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_BUDDIES);
        deps_.frames.post(FrameKind::BuddyWindow, UM_REFRESH_FOLDERS);
    }
    if (polling == Polling::Stop) killTimer(kPollTimer);
    deps_.frames.post(FrameKind::Note, UM_CLOSE_DISCONNECT);
    // A download through the session just lost cannot finish.
    deps_.frames.post(FrameKind::WindowHandler, UM_CLOSE_UPDATER);
    if (!text) return;
    if (showAs == ShowAs::ErrorWindow) {
        if (deps_.dialogs) deps_.dialogs->showError(*text);
    } else {
        deps_.frames.post(FrameKind::Note, UM_SHOW_DISCONNECT, 0, 0, makePayload(std::move(*text)));
    }
}

void CMainFrame_ServerInterface::dropSessionFields() {
    deps_.session.update([](SessionState& s) {
        s.sessionId.clear();
        s.lastSessionUser.clear();
        s.loggedIn = false;
    });
}

std::optional<std::string> CMainFrame_ServerInterface::request(const std::string& url,
                                                               const std::string* body,
                                                               LineFeeds lineFeeds) {
    if (serverUrl().empty() || !internet_ || abandoned()) return std::nullopt;
    return internet_->request(url, body, lineFeeds);
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

TransferLimits CMainFrame_ServerInterface::requestLimits() const {
    TransferLimits limits = kRequestLimits;
    limits.total = clock().scaled(kRequestLimits.total);
    return limits;
}

ConnectionSettings CMainFrame_ServerInterface::connection() const {
    return deps_.account.read([](const AccountSettings& a) {
        return ConnectionSettings{a.connectionType, a.proxyServer, a.proxyPort};
    });
}

}  // namespace vellix
