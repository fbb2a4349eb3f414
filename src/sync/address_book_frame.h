#pragma once
// The address-book frame: synchronizes the server's contact folders with the chosen local
// store every "SyncInterval" minutes while "EnableSync" is on. A run works on this frame's
// thread; the timer stops while it works, so the period counts from the end of a run.
// Messages come from any thread; quitPosted() cuts a run's request short.

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/frame.h"
#include "sync/contact_sync_run.h"
#include "sync/http_contact_server.h"

namespace vellix {

inline constexpr int kSyncTimer = 1;

struct AddressBookFrameDeps {
    // The logged-in account's folder, with its trailing '/'; empty while there is none.
    std::function<std::string()> userFolder;
    // The server, the session and the connection of the moment.
    std::function<ContactServerAddress()> server;
    std::function<bool()> mayModifyGlobalContacts;
    ContactSyncState* state = nullptr;
    // The local store named by "SynchWith"; null for one this build cannot open.
    std::function<std::unique_ptr<LocalContactSource>(const ContactsSettings&)> makeLocal;
    // Called on this frame's thread: a run's progress lines, and its end.
    std::function<void(std::string_view)> showStatus;
    std::function<void(ContactSyncOutcome)> finished;
};

// The store "SynchWith" names: the desktop's address book for "WAB", vCard folders for
// "MAPI"; null for any other value.
std::unique_ptr<LocalContactSource> openLocalContactStore(const ContactsSettings& settings,
                                                          bool useDefaultFileAsName);

class CMainFrame_AddrBookSync final : public Frame {
    Q_OBJECT
  public:
    CMainFrame_AddrBookSync(AddressBookFrameDeps deps, const Clock& clock);
    ~CMainFrame_AddrBookSync() override;

  protected:
    LResult handleMessage(Message& message) override;
    void onTimer(int id) override;
    void quitPosted() override;

  private:
    ContactsSettings settings() const;
    void restartTimer();
    void runSync();

    AddressBookFrameDeps deps_;
    std::mutex serverMutex_;
    HttpContactServer* server_ = nullptr;  // the running sync's, while it runs
    bool quitting_ = false;
};

}  // namespace vellix
