#include "sync/contact_sync_run.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/ascii_case.h"
#include "core/version.h"
#include "server/reply_tags.h"
#include "sync/contact_sync_engine.h"
#include "sync/xml_contact_source.h"

namespace vellix {
namespace {

namespace fs = std::filesystem;

bool exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

void remove(const std::string& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool writeWhole(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isEnabled(std::string_view reply, std::string_view tag) {
    return equalsNoCase(GetTagValue(reply, tag), "enabled");
}

}  // namespace

std::string syncStatusText(std::string_view folder, std::string_view line) {
    std::string text(folder);
    text += " Contacts:\n";
    text += line;
    return text;
}

struct ContactSyncRun::Pass {
    bool isPublic;
    std::string folderName;  // the configured local folder
    std::string folderId;    // from confolder.dat
    std::string_view upper() const { return isPublic ? "Public" : "Private"; }
    std::string_view lower() const { return isPublic ? "public" : "private"; }
};

ContactSyncRun::ContactSyncRun(ContactSyncRunDeps deps)
    : deps_(std::move(deps)), log_([this](std::string_view line) { write(line); }, deps_.clock) {
}

ContactSyncRun::~ContactSyncRun() {
    if (logFile_) std::fclose(logFile_);
}

void ContactSyncRun::openLog() {
    const std::string path = file("synch.log");
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!error && size > static_cast<std::uintmax_t>(kSyncLogLimit)) remove(path);
    logFile_ = std::fopen(path.c_str(), "ab");  // a log that cannot be opened stays silent
}

void ContactSyncRun::write(std::string_view text) {
    if (!logFile_) return;
    std::fwrite(text.data(), 1, text.size(), logFile_);
    std::fflush(logFile_);
}

bool ContactSyncRun::mayStart(const ContactsSettings& settings) {
    if (deps_.sessionId.empty()) {
        log_.Write(" Session ID not found, exiting synch function\n");
        return false;
    }
    if (equalsNoCase(settings.synchWith, kStoreVcardFolders)) {
        const auto reply = deps_.server->checkSession();
        if (reply && isEnabled(*reply, "groupwareenabled") && isEnabled(*reply, "groupwareuser")) {
            log_.Write(" Outlook(MAPI) synchronization is disabled for Tarnlink user\n");
            return false;
        }
    }
    if (!settings.publicOn() && !settings.privateOn()) {
        log_.Write(" No folders to sync\n");
        return false;
    }
    return true;
}

ContactSyncOutcome ContactSyncRun::run(const ContactsSettings& settings) {
    openLog();
    write("\n");
    log_.Write(" Opening Vellix synch log\n");
    log_.Write(" Version: " + std::string(kProgramVersion) + "\n");

    std::unique_ptr<LocalContactSource> local;
    const bool systemBook = equalsNoCase(settings.synchWith, kStoreSystemBook);
    ContactSyncOutcome outcome = ContactSyncOutcome::Skipped;
    if (mayStart(settings)) {
        local = deps_.makeLocal ? deps_.makeLocal(settings.synchWith) : nullptr;
        outcome = ContactSyncOutcome::Failed;
        if (!local) {
            log_.Write(" No local contact store for SynchWith=" + settings.synchWith + "\n");
        } else {
            log_.Write(systemBook ? " Using the Windows Address Book as the local contact source\n"
                                  : " Using MAPI as the local contact source\n");
            const auto read = readContactFolders(file("confolder.dat"));
            if (!read) log_.Write(" Damaged confolder.dat, using the root folders\n");
            const ContactFolderIds ids = read.valueOr(ContactFolderIds{});
            bool stored = true;
            if (settings.publicOn()) {
                stored = folderPass(Pass{true, settings.publicFolder, ids.publicId}, *local);
            }
            if (settings.privateOn()) {
                stored = folderPass(Pass{false, settings.privateFolder, ids.privateId}, *local) &&
                         stored;
            }
            if (cancelled_) {
                outcome = ContactSyncOutcome::Cancelled;
            } else if (stored) {
                outcome = ContactSyncOutcome::Done;
            }
        }
    }

    remove(file("contact.tmp"));
    if (local) {
        local.reset();
        log_.Write(systemBook ? " Destroying local WAB contact source\n"
                              : " Destroying local MAPI contact source\n");
    }
    if (logFile_) {
        log_.Write(" Closing Vellix synch log\n");
        std::fclose(logFile_);
        logFile_ = nullptr;
    }
    return outcome;
}

bool ContactSyncRun::folderPass(const Pass& pass, LocalContactSource& local) {
    const std::string localFile = file(std::string(pass.lower()) + "-local.xml");
    const std::string remoteFile = file(std::string(pass.lower()) + "-remote.xml");
    // Half a pair of private histories would turn the missing half into deletions.
    if (!pass.isPublic && !(exists(localFile) && exists(remoteFile))) {
        remove(localFile);
        remove(remoteFile);
    }
    local.SetHistoryFile(localFile);
    XmlContactSource remote(deps_.clock);
    remote.SetHistoryFile(remoteFile);

    log_.Write(" Opening local folder" + pass.folderName +
               (pass.isPublic ? " as public folder\n" : " as private folder\n"));
    log_.Write(pass.isPublic ? " Public5\n" : " Private5\n");
    if (!local.OpenFolder(pass.folderId, pass.folderName)) {
        log_.Write(pass.isPublic ? " Error opening local contact source public folder\n"
                                 : " Error opening local contact source private folder\n");
        return false;
    }
    const auto reply = deps_.server->fetchContacts(pass.lower());
    if (!reply || reply->find("</addressBook>") == std::string::npos) {
        log_.Write(pass.isPublic ? " Error receiving public contacts from server\n"
                                 : " Errror receiving private contacts from server\n");
        return false;
    }
    const std::string received = file("contact.tmp");
    if (!writeWhole(received, *reply)) {
        log_.Write(" Error Opening received contacts temp file\n");
        return false;
    }
    (void)remote.LoadContacts(received);

    SyncContext context;
    context.cancelRequested = &deps_.state->cancelRequested;
    context.folderName = std::string(pass.upper());
    context.mayModifyGlobalContacts = deps_.state->mayModifyGlobalContacts.load();
    if (deps_.showStatus) {
        context.showStatus = [this, folder = pass.upper()](std::string_view line) {
            deps_.showStatus(syncStatusText(folder, line));
        };
    }
    ContactSyncEngine engine(context, log_);
    // Without a local history, every local contact counts as unchanged since the server's.
    if (pass.isPublic && !exists(localFile) && exists(remoteFile)) engine.PrimeHistory(local);
    const int result = engine.Synchronize(SYNCH_SYNCH, &remote, &local);
    if (const Status written = local.finishPass(); !written) {
        log_.Write(" Error writing to the local contact source: " + written.error() + "\n");
    }
    // Saved now: a store that saved later would bring back a history deleted below.
    local.SetHistoryFile(std::string());
    if (result == ContactSyncEngine::kDone && !remote.SaveContacts(remoteFile)) {
        // Never send an old list: the server would take what it lacks for deletions.
        log_.Write(" Error saving the remote history, the contacts were not sent\n");
        remove(remoteFile);
        remove(localFile);
        return false;
    }
    return finishPass(pass, result, remoteFile);
}

bool ContactSyncRun::finishPass(const Pass& pass, int result, const std::string& remoteFile) {
    const std::string localFile = file(std::string(pass.lower()) + "-local.xml");
    if (result == ContactSyncEngine::kFailed) {
        log_.Write(pass.isPublic ? " Error in public synch\n" : " Error in private synch\n");
        return false;
    }
    if (result == ContactSyncEngine::kCancelled) {
        remove(remoteFile);
        remove(localFile);
        log_.Write(pass.isPublic ? " Public synch was cancelled, the next synch will merge the "
                                   "local and remote contacts\n"
                                 : " Private synch was canceled, the next synch will merge the "
                                   "local and remote contacts\n");
        cancelled_ = true;
        return false;
    }
    const auto reply = deps_.server->storeContacts(pass.lower(), readWhole(remoteFile));
    if (reply && reply->find(">success<") != std::string::npos) return true;
    // Not stored: the next run merges instead of taking the server's list for a deletion.
    remove(remoteFile);
    remove(localFile);
    if (pass.isPublic) {
        std::error_code error;
        fs::copy_file(file("contact.tmp"), remoteFile, fs::copy_options::overwrite_existing, error);
        if (!error) remove(localFile);
    }
    log_.Write(pass.isPublic ? " The server did not store the public contacts\n"
                             : " The server did not store the private contacts\n");
    return false;
}

}  // namespace vellix
