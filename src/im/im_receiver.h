#pragma once
// The messaging event receiver: a thread that keeps one long poll open against the server
// and hands each event it returns to its consumer (window handler, buddy table, server
// frame). It runs from construction until the server, a failure or stop() ends it.

#include <functional>
#include <memory>
#include <string>

#include "core/clock.h"
#include "core/guarded.h"
#include "core/profile_file.h"
#include "core/session_state.h"
#include "server/event_receiver.h"
#include "server/internet_session.h"

namespace vellix {

class AccountSettingsFile;
class BuddyTable;
class FrameRegistry;
class ServerDialogs;
class SoundPlayer;

// What the receiver needs from the application. The referenced objects and the pointed-to
// ports must outlive the receiver's thread, which may outlive the receiver object.
struct ImReceiverContext {
    ImReceiverContext(const Clock& clock_, FrameRegistry& frames_, Guarded<SessionState>& session_,
                      BuddyTable& buddies_)
        : clock(clock_), frames(frames_), session(session_), buddies(buddies_) {}

    const Clock& clock;
    FrameRegistry& frames;
    Guarded<SessionState>& session;
    BuddyTable& buddies;
    std::function<std::string()> serverUrl;
    std::function<ConnectionSettings()> connection;
    std::function<std::string()> ownAddress;               // the account's canonical address
    std::function<std::string(int)> text;                  // string table: the shown status words
    const AccountSettingsFile* accountSettings = nullptr;  // PlaySounds, IMBuddyOnline
    std::function<ProfileFile()> vellixIni;                // Events/BlinkOnIMBuddyOnline
    SoundPlayer* sound = nullptr;
    ServerDialogs* dialogs = nullptr;  // the error window when no session can be made
    std::string logFolder;             // where WaitForIM.log goes; empty: no log
    TransferLimits limits = kLongPollLimits;
    std::function<void(const std::string&)> trace;  // HTTP diagnostics; may be empty
};

class CWinThread_IMHttp final : public EventReceiver {
  public:
    explicit CWinThread_IMHttp(ImReceiverContext context);
    ~CWinThread_IMHttp() override;
    CWinThread_IMHttp(const CWinThread_IMHttp&) = delete;
    CWinThread_IMHttp& operator=(const CWinThread_IMHttp&) = delete;

    bool running() const override;
    void stop() override;
    bool waitEnded(Milliseconds timeout) override;
    // Whether the loop ended because of an error its owner must clean up.
    bool failed() const;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
};

// The server frame's factory of receivers.
EventReceiverFactory imReceiverFactory(ImReceiverContext context);

}  // namespace vellix
