#pragma once
// What Apply on the Server page does, as a plan the page carries out: which checks stop
// it, what is saved, which messages go to the server frame and which notices appear.

#include <optional>
#include <string>

namespace vellix {

struct ServerForm {
    std::string url;
    std::string user;
    std::string password;
    bool remember = false;
    std::string interval;    // as typed
    int connectionType = 0;  // 0 detect automatically, 1 HTTP proxy
    std::string proxyServer;
    std::string proxyPort;  // as typed
    std::string mailClient;
};

struct ServerCurrent {
    std::string url;
    std::string user;
    std::string password;
    bool loggedIn = false;
    bool savedAccount = false;  // a remembered account to log in with exists
    int runningInterval = 5;
};

struct ServerEdits {
    bool account = false;     // server URL, account or password edited
    bool connection = false;  // the radio pair or a proxy field edited
};

enum class AccountAction {
    None,
    AskThenRelogin,  // logged in: ask first, then log out and in again
    Relogin,         // not logged in: log out and in again without asking
    Login,           // nothing changed, not logged in, a saved account exists
};

struct ServerApplyPlan {
    bool intervalRejected = false;
    std::string url;  // with the scheme rule applied
    int interval = 5;
    int proxyPort = 80;
    AccountAction account = AccountAction::None;
    bool restartTimer = false;   // interval changed while logged in
    bool handToSession = false;  // not logged in: the next login uses the form's account
    bool restartNotice = false;  // connection settings take effect after a restart
};

inline constexpr int kMinInterval = 1;
inline constexpr int kMaxInterval = 360;

// "http://" in front unless the text begins with "https://" or "http://" exactly.
std::string withScheme(std::string url);
// A whole decimal number, or nothing.
std::optional<int> parseWholeNumber(const std::string& text);
// The proxy radio without a proxy server: the page cannot be left.
bool proxyServerMissing(const ServerForm& form);

ServerApplyPlan planServerApply(const ServerForm& form, const ServerCurrent& current,
                                ServerEdits edits);

}  // namespace vellix
