#pragma once
// The server frame: holds the session with the server and makes all of its requests on its
// own thread, one at a time: version check and login, the mail poll, presence and lists,
// the account settings, and the webmail links.

#include <atomic>
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
#include "core/tray_state.h"
#include "core/user_settings.h"
#include "server/backoff_schedule.h"
#include "server/buddy_table.h"
#include "server/event_receiver.h"
#include "server/folder_table.h"
#include "server/internet_session.h"
#include "server/receiver_slot.h"
#include "server/server_dialogs.h"
#include "server/status_sender.h"
#include "server/webmail_link.h"

namespace vellix {

class DesktopShell;

inline constexpr int kPollTimer = 17;
// One-shot timers of the reconnection: the next automatic check, and the next login after
// an "invalid session" answer.
inline constexpr int kRetryTimer = 20;
inline constexpr int kReloginTimer = 21;
// A receiver that ran this long before it failed was healthy: its restarts start short again.
inline constexpr Milliseconds kSteadyReceiver{60000};
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
    // Starts the address-book frame when a new session finds none.
    std::function<void()> startAddressBook{};
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
    // Ends a request in flight, so the quit does not wait for the server.
    void quitPosted() override;

  private:
    // Session and login. Steps that pause (a new session, a status change, a log-out) are
    // frame tasks: the frame handles its quit while they wait.
    using Step = FrameTask<>;
    bool GetVersion();
    FrameTask<bool> Login();
    Step Logout();
    void logoutRequests();
    void logoutEnd();
    enum class ShowAs { DisconnectNote, ErrorWindow };
    enum class Polling { Keep, Stop };
    void DropSessionAndReport(std::optional<std::string> text, ShowAs showAs, Polling polling);
    void dropSessionFields();
    bool refuseLogin();
    void invalidSession();
    // A new session: the address-book frame synchronizes, and is started when not running.
    void syncContacts();
    Step announceNewSession();
    Step startReceiver();
    void finishFirstLogin(const std::string& user);
    void offerUpdateWhenWritable();

    // Mail poll.
    FrameTask<bool> Check();
    bool GetMessageCounts();
    FrameTask<bool> reconnectAndCount();
    FrameTask<bool> connectSession();
    Step pollTimerStep();
    void startPollTimer();

    // Presence, lists, settings.
    Step ChangeStatus(std::string word);
    void announceStatus();
    Step GetBuddyList();
    void GetUserList();
    Step userListStep();
    Step SaveBuddyList(std::string body);
    bool GetIMSettings();
    void SaveIMSettings();

    // Webmail links.
    Step openLink(WebmailLink link);

    // Reconnection (server_reconnect.cpp): automatic retries after failures the user did not
    // ask for, on a back-off schedule, and at once when the network or the machine is back.
    Step checkAndRetry();
    Step restartPollTimer();
    void scheduleRetry();
    Step retryNow();
    void loginAgainSpaced();
    void receiverEnded();
    Step networkUp();
    Step resumed();
    // No automatic retry until the user acts: after their own log-out, a refused password, or
    // a server that said to disconnect.
    void respectDisconnect();
    bool mayRetry() const;
    // A quit was posted while a request ran: nothing the failed request would set off happens.
    bool abandoned() const { return quitPosted_.load() && !inQuit_; }

    enum class LoginDialog { Allowed, Suppressed };
    Step relogin(LoginDialog dialog);
    Step firstCheck();
    void quit();

    using LineFeeds = InternetSession::LineFeeds;
    std::optional<std::string> request(const std::string& url, const std::string* body = nullptr,
                                       LineFeeds lineFeeds = LineFeeds::Remove);
    std::string serverUrl() const;
    std::string sessionId() const;
    std::string word(int id) const;
    // `text`, followed by why the last request failed when an exchange failed.
    std::string withFailureReason(std::string text) const;
    bool isOffline(const std::string& word) const;
    ConnectionSettings connection() const;
    TransferLimits requestLimits() const;

    ServerFrameDeps deps_;
    std::unique_ptr<InternetSession> internet_;
    std::atomic<bool> quitPosted_{false};
    bool inQuit_ = false;
    BackoffSchedule reconnect_{kReconnectSteps};
    BackoffSchedule sessionLoop_{kSessionLoopSteps};
    BackoffSchedule receiverRestarts_{kSessionLoopSteps};
    bool autoRetry_ = true;
    bool retrying_ = false;  // an automatic retry runs: its failures show no error window
    ReceiverSlot receiver_;
    StatusSender statusSender_;
    bool takeOver_ = false;
    bool noLoginDialog_ = false;
    bool newMailMarker_ = false;  // the last counts reply reported new messages
};

}  // namespace vellix
