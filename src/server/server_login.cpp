// Version check, login and logout of the server frame.
#include <cstdio>

#include "core/ascii_case.h"
#include "core/settings_keys.h"
#include "core/string_table.h"
#include "core/version.h"
#include "server/server_frame.h"
#include "server/server_replies.h"
#include "server/server_requests.h"

namespace vellix {

bool CMainFrame_ServerInterface::GetVersion() {
    const std::string url = serverUrl();
    if (url.empty()) return false;
    const auto reply = request(requests::version(url));
    if (!reply) {
        DropSessionAndReport(
            withFailureReason(
                "Could not connect to the server!  Please verify that the server information is "
                "correct."),
            ShowAs::ErrorWindow, Polling::Keep);
        return false;
    }
    const VersionReply version = readVersionReply(*reply);
    if (!version.disconnect.empty()) {
        DropSessionAndReport(version.disconnect, ShowAs::DisconnectNote, Polling::Stop);
        return false;
    }
    if (const auto offer = updateAvailable(version, kProgramVersion)) {
        deps_.session.update([&](SessionState& s) { s.updateAvailable = *offer; });
    }
    return true;
}

FrameTask<bool> CMainFrame_ServerInterface::Login() {
    const AccountSettings account = deps_.account.get();
    const std::string previous = sessionId();
    const std::string body = requests::loginBody(account.user, account.password);
    const auto reply = request(requests::login(account.url, previous, takeOver_), &body);
    if (!reply) {
        DropSessionAndReport(withFailureReason("Did not get a reply from the server!"),
                             ShowAs::ErrorWindow, Polling::Stop);
        co_return false;
    }
    const LoginReply login = readLoginReply(*reply);
    if (login.refusal == LoginRefusal::BadPassword) co_return refuseLogin();
    if (login.refusal == LoginRefusal::InvalidSession) {
        invalidSession();
        co_return false;
    }
    if (!login.disconnect.empty()) {
        DropSessionAndReport(login.disconnect, ShowAs::DisconnectNote, Polling::Stop);
        co_return false;
    }
    if (login.session.empty()) {
        dropSessionFields();
        deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
        deps_.frames.post(FrameKind::AddressBook, UM_QUIT_THREAD);
        killTimer(kPollTimer);
        co_return false;
    }
    deps_.session.update([&](SessionState& s) { s.sessionId = login.session; });
    // The receiver of the old session is stopped before the new one is announced.
    if (!equalsNoCase(previous, login.session)) co_await announceNewSession();
    takeOver_ = false;

    deps_.session.update([&](SessionState& s) {
        if (login.messaging) s.messagingEnabled = *login.messaging;
        if (!login.email.empty()) s.account = login.email;
        if (!login.name.empty()) s.displayName = login.name;
        if (login.modifyGlobalContacts) s.mayModifyGlobalContacts = *login.modifyGlobalContacts;
    });
    (void)GetVersion();
    if (login.calendar) {
        deps_.session.update([&](SessionState& s) { s.calendar = *login.calendar; });
    }

    // A refresh of the running session ends here.
    if (equalsNoCase(account.user, deps_.session.get().lastSessionUser)) co_return true;
    deps_.frames.post(FrameKind::BuddyWindow, UM_OTHER_ACCOUNT);
    finishFirstLogin(account.user);
    co_return true;
}

// A wrong user name or password: the session goes, and the user is asked again unless
// they already declined.
bool CMainFrame_ServerInterface::refuseLogin() {
    respectDisconnect();
    retrying_ = false;  // the user is told, even during an automatic retry
    dropSessionFields();
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    deps_.account.update([](AccountSettings& a) { a.password.clear(); });
    if (noLoginDialog_) return false;
    DropSessionAndReport("Invalid account information.  Username or password is incorrect!",
                         ShowAs::ErrorWindow, Polling::Stop);
    if (!deps_.dialogs) return false;
    ProfileFile ini(deps_.iniPath);
    const int lastSlot = readKey(ini, ini::kLastUser);
    const auto answer = deps_.dialogs->askLogin(rememberedAccounts(ini), lastSlot);
    if (!answer) {
        noLoginDialog_ = true;
        return false;
    }
    (void)saveAccount(ini, answer->user, answer->password, answer->remember);
    deps_.account.update([&](AccountSettings& a) {
        a.user = answer->user;
        a.password = answer->password;
        a.remember = answer->remember;
    });
    post(UM_RELOGIN);
    return false;
}

void CMainFrame_ServerInterface::invalidSession() {
    receiver_.stopAndWait();
    dropSessionFields();
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    loginAgainSpaced();
    syncContacts();
}

void CMainFrame_ServerInterface::syncContacts() {
    if (deps_.frames.post(FrameKind::AddressBook, UM_SYNC_CONTACTS)) return;
    if (deps_.startAddressBook) deps_.startAddressBook();
}

// Each change waits a moment, so the server sees the old long poll end before the status
// of the new session, and the new long poll on its way before the next request.
FrameTask<> CMainFrame_ServerInterface::announceNewSession() {
    receiver_.stopAndWait();
    co_await pauseFor(kSessionChangePause);
    announceStatus();
    co_await pauseFor(kSessionChangePause);
    co_await startReceiver();
    co_await pauseFor(kSessionChangePause);
}

FrameTask<> CMainFrame_ServerInterface::startReceiver() {
    if (receiver_.start()) co_await pauseFor(kReceiverStartPause);
}

void CMainFrame_ServerInterface::finishFirstLogin(const std::string& user) {
    (void)GetIMSettings();
    deps_.session.update([&](SessionState& s) {
        s.lastSessionUser = user;
        s.loggedIn = true;
    });
    const int autoOffline = deps_.accountSettings.read(account::kAutoOffline);
    deps_.frames.post(FrameKind::Main, UM_INSTALL_HOOKS, static_cast<WParam>(autoOffline));
    startPollTimer();
    if (deps_.session.get().updateAvailable) offerUpdateWhenWritable();
    syncContacts();
}

// An update is offered only where it could be written.
void CMainFrame_ServerInterface::offerUpdateWhenWritable() {
    const std::string probe = deps_.programFolder + "test.tmp";
    std::FILE* file = std::fopen(probe.c_str(), "wb");
    if (!file) return;
    std::fclose(file);
    deps_.frames.post(FrameKind::WindowHandler, UM_REFRESH_BUDDIES);  // start the updater
    std::remove(probe.c_str());
}

void CMainFrame_ServerInterface::logoutRequests() {
    const std::string offline = word(IDS_STATUS_OFFLINE);
    deps_.statusWord.set(offline);
    SaveIMSettings();
    announceStatus();
}

void CMainFrame_ServerInterface::logoutEnd() {
    receiver_.stopAndWait();
    DropSessionAndReport(std::nullopt, ShowAs::DisconnectNote, Polling::Stop);
    // The user chose this: the tooltip says logged out, not that the connection was lost.
    postTrayState(deps_.frames, TrayState::Lost, word(IDS_TRAY_LOGGED_OUT));
    deps_.session.update([](SessionState& s) {
        s.messagingEnabled = false;
        s.sessionId.clear();
    });
    deps_.frames.post(FrameKind::WindowHandler, UM_CLOSE_CONVERSATIONS);
    deps_.frames.post(FrameKind::Main, UM_REMOVE_HOOKS);
    deps_.frames.post(FrameKind::AddressBook, UM_QUIT_THREAD);
}

FrameTask<> CMainFrame_ServerInterface::Logout() {
    logoutRequests();
    co_await pauseFor(kStatusChangePause);
    logoutEnd();
}

}  // namespace vellix
