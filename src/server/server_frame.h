#pragma once
// The server frame: holds the session with the server and makes all of its requests on its
// own thread, one at a time: version check and login, the mail poll, presence and lists,
// the account settings, and the webmail links.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/account_store.h"
#include "core/frame.h"
#include "core/frame_registry.h"
#include "core/guarded.h"
#include "core/session_state.h"
#include "core/spelling_engine.h"
#include "core/user_settings.h"
#include "server/buddy_table.h"
#include "server/event_receiver.h"
#include "server/folder_table.h"
#include "server/internet_session.h"
#include "server/receiver_slot.h"
#include "server/server_dialogs.h"
#include "server/status_sender.h"

namespace vellix {

class DesktopShell;

inline constexpr int kPollTimer = 17;
// Pauses around a new session, so the server sees the old long poll end first.
inline constexpr Milliseconds kSessionChangePause{500};
inline constexpr Milliseconds kStatusChangePause{500};

struct ServerFrameDeps {
    FrameRegistry& frames;
    Guarded<SessionState>& session;
    Guarded<std::string>& statusWord;  // localized
    Guarded<AccountSettings>& account;
    AccountSettingsFile& accountSettings;
    std::string iniPath;        // Vellix.ini
    std::string dataFolder;     // user folders live here
    std::string programFolder;  // where an update would be written
    FolderTable& folders;
    BuddyTable& buddies;
    UserList& users;
    std::function<std::string(int)> text;  // the string table
    ServerDialogs* dialogs = nullptr;
    CredentialsPrompt* prompt = nullptr;
    EventReceiverFactory makeReceiver{};
    SpellingEngine* spelling = nullptr;
    DesktopShell* shell = nullptr;
    // Runs after each download of the account settings (the notification rules load).
    std::function<void()> accountSettingsLoaded{};
    std::function<void(const std::string&)> trace{};
};

class CMainFrame_ServerInterface final : public Frame {
    Q_OBJECT
  public:
    CMainFrame_ServerInterface(ServerFrameDeps deps, const Clock& clock);
    ~CMainFrame_ServerInterface() override;

  protected:
    LResult handleMessage(Message& message) override;
    void onTimer(int id) override;

  private:
    // Session and login.
    bool GetVersion();
    bool Login();
    void Logout();
    void DropSessionAndReport(std::optional<std::string> text, bool showAsErrorWindow,
                              bool stopPolling);
    void dropSessionFields(bool lastUserToo);
    bool refuseLogin();
    void invalidSession();
    void announceNewSession(const std::string& previous, const std::string& current);
    void finishFirstLogin(const std::string& user);
    void offerUpdateWhenWritable();

    // Mail poll.
    bool Check();
    bool GetMessageCounts();
    bool reconnectAndCount();
    void reportState(int state);
    void startPollTimer();

    // Presence, lists, settings.
    void ChangeStatus(const std::string& word);
    void announceStatus();
    void GetBuddyList();
    void GetUserList();
    void SaveBuddyList(const std::string& body);
    bool GetIMSettings();
    void SaveIMSettings();

    // Webmail links.
    void openLink(Message& message);

    void relogin(bool noLoginDialog);
    void firstCheck();
    void quit();

    std::optional<std::string> request(const std::string& url, const std::string* body = nullptr,
                                       bool keepLineFeeds = false);
    std::string serverUrl() const;
    std::string sessionId() const;
    std::string word(int id) const;
    // `text`, followed by why the last request failed when an exchange failed.
    std::string withFailureReason(std::string text) const;
    bool isOffline(const std::string& word) const;
    ConnectionSettings connection() const;

    ServerFrameDeps deps_;
    std::unique_ptr<InternetSession> internet_;
    ReceiverSlot receiver_;
    StatusSender statusSender_;
    bool takeOver_ = false;
    bool noLoginDialog_ = false;
    bool newMailMarker_ = false;  // the last counts reply reported new messages
};

}  // namespace vellix
