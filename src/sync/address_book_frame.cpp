#include "sync/address_book_frame.h"

#include "core/ascii_case.h"
#include "core/messages.h"
#include "core/settings_paths.h"
#include "sync/eds_contact_source.h"
#include "sync/vcard_folder_source.h"

namespace vellix {

std::unique_ptr<LocalContactSource> openLocalContactStore(const ContactsSettings& settings,
                                                          bool useDefaultFileAsName) {
    if (equalsNoCase(settings.synchWith, kStoreSystemBook)) {
        return std::make_unique<EdsContactSource>();
    }
    if (!equalsNoCase(settings.synchWith, kStoreVcardFolders)) return nullptr;
    std::string root = settings.vcardFolders;
    if (root.empty()) {
        const std::string data = dataHome(processEnvironment());
        if (data.empty()) return nullptr;
        root = data + "/contacts";
    }
    return std::make_unique<VcardFolderSource>(root, useDefaultFileAsName);
}

CMainFrame_AddrBookSync::CMainFrame_AddrBookSync(AddressBookFrameDeps deps, const Clock& clock)
    : Frame("Vellix AddrBook", clock), deps_(std::move(deps)) {
    deps_.state->running = false;
    restartTimer();
}

CMainFrame_AddrBookSync::~CMainFrame_AddrBookSync() {
    killTimer(kSyncTimer);
    deps_.state->running = false;
}

ContactsSettings CMainFrame_AddrBookSync::settings() const {
    const std::string folder = deps_.userFolder();
    if (folder.empty()) return {};
    return ContactsSettings::read(ProfileFile(folder + kContactsIniName));
}

void CMainFrame_AddrBookSync::restartTimer() {
    killTimer(kSyncTimer);
    const ContactsSettings now = settings();
    if (now.enableSync) setTimer(kSyncTimer, Milliseconds(now.periodMilliseconds()));
}

LResult CMainFrame_AddrBookSync::handleMessage(Message& message) {
    if (message.id == UM_SYNC_CONTACTS) {
        restartTimer();
        return 1;
    }
    if (message.id == WM_TIMER) {  // the Address Book page's "Synchronize now"
        onTimer(static_cast<int>(message.w));
        return 0;
    }
    return Frame::handleMessage(message);
}

void CMainFrame_AddrBookSync::onTimer(int id) {
    if (id == kSyncTimer) runSync();
}

void CMainFrame_AddrBookSync::quitPosted() {
    // A run in progress gives up at its next step; the histories it drops make the next
    // run merge, so nothing is lost.
    deps_.state->cancelRequested = true;
    std::lock_guard lock(serverMutex_);
    quitting_ = true;
    if (server_) server_->close();
}

void CMainFrame_AddrBookSync::runSync() {
    ContactSyncState& state = *deps_.state;
    if (state.running) return;
    const ContactsSettings current = settings();
    if (!current.enableSync) return;
    state.running = true;
    state.cancelRequested = false;
    killTimer(kSyncTimer);  // runs never overlap

    const ContactServerAddress address = deps_.server();
    HttpContactServer server(address);
    {
        std::lock_guard lock(serverMutex_);
        if (quitting_) server.close();
        server_ = &server;
    }
    state.mayModifyGlobalContacts = deps_.mayModifyGlobalContacts();
    ContactSyncRunDeps runDeps;
    runDeps.userFolder = deps_.userFolder();
    runDeps.sessionId = address.sessionId;
    runDeps.server = &server;
    runDeps.makeLocal = [this, &current](std::string_view) { return deps_.makeLocal(current); };
    runDeps.state = &state;
    runDeps.showStatus = deps_.showStatus;
    const ContactSyncOutcome outcome = ContactSyncRun(std::move(runDeps)).run(current);
    {
        std::lock_guard lock(serverMutex_);
        server_ = nullptr;
    }

    state.running = false;
    if (deps_.finished) deps_.finished(outcome);
    state.cancelRequested = false;
    restartTimer();
}

}  // namespace vellix
