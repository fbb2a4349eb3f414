#include "sync/vcard_folder_source.h"

#include <algorithm>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/atomic_file_writer.h"
#include "sync/contact_guid.h"
#include "sync/vcard_codec.h"

namespace vellix {
namespace {

namespace fs = std::filesystem;

std::string readCard(const std::string& path) {
    const auto bytes = readFileBytes(path);
    return bytes && *bytes ? **bytes : std::string();
}

}  // namespace

VcardFolderSource::VcardFolderSource(std::string root, bool useDefaultFileAsName)
    : IniHistoryContactSource(HistoryFields::VcardFolders),
      root_(std::move(root)),
      useDefaultFileAsName_(useDefaultFileAsName) {
}

VcardFolderSource::~VcardFolderSource() {
    saveHistory();
}

void VcardFolderSource::saveHistory() {
    // A history naming cards whose renames may not survive a crash would turn them into
    // deletions on the next run: without a synced folder the old history stays.
    if (!finishPass()) return;
    if (!history_.path().empty() && history_.changed()) (void)history_.save();
}

Status VcardFolderSource::finishPass() {
    if (!folderUnsynced_) return success();
    if (!syncFolder(folder_)) return failure("cannot sync the address book folder " + folder_);
    folderUnsynced_ = false;
    return success();
}

void VcardFolderSource::SetHistoryFile(const std::string& path) {
    saveHistory();
    history_ = IniContactHistory(HistoryFields::VcardFolders);
    history_.open(path);
}

bool VcardFolderSource::IsOpen() {
    std::error_code error;
    return fs::is_directory(root_, error);
}

bool VcardFolderSource::ListFolders(std::vector<std::string>& names) {
    std::error_code error;
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(root_, error)) {
        if (entry.is_directory(error)) found.push_back(entry.path().filename().string());
    }
    if (error) return false;
    std::ranges::sort(found);
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

bool VcardFolderSource::OpenFolder(std::string folderId, std::string folderName) {
    const std::string& name = folderId.empty() ? folderName : folderId;
    // A folder name never leaves the root.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return false;
    }
    std::error_code error;
    const fs::path folder = fs::path(root_) / name;
    if (!fs::is_directory(folder, error)) return false;
    if (!finishPass()) return false;  // the previous folder's changes first
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && entry.path().extension() == ".vcf") {
            files.push_back(entry.path().string());
        }
    }
    if (error) return false;
    std::ranges::sort(files);
    folder_ = folder.string();
    cards_.clear();
    byEmail_.clear();
    for (auto& path : files) {
        const std::string email(parseVcard(readCard(path)).record.email());
        if (email.empty()) continue;  // not a contact synchronization can find
        byEmail_.try_emplace(asciiLowerCopy(email), cards_.size());
        cards_.push_back(Card{std::move(path), email});
    }
    return true;
}

const VcardFolderSource::Card* VcardFolderSource::find(const std::string& email) const {
    const auto it = byEmail_.find(asciiLowerCopy(email));
    return it == byEmail_.end() ? nullptr : &cards_[it->second];
}

int VcardFolderSource::GetContact(const std::string& email, ContactRecord& out) {
    const Card* card = find(email);
    if (!card) return kFailed;
    VcardContact read = parseVcard(readCard(card->path));
    if (!equalsNoCase(read.record.email(), email)) return kFailed;  // changed under us
    out = std::move(read.record);
    return 0;
}

int VcardFolderSource::write(const std::string& path, const ContactRecord& record,
                             const std::string& uid, const std::string& old) {
    const std::string sortAs =
        useDefaultFileAsName_ ? std::string() : std::string(record.fullName());
    const std::string card = keepUnknownProperties(old, writeVcard(record, uid, sortAs));
    AtomicFileWriter writer;
    // The card's bytes are synced before its rename; the folder waits for finishPass.
    if (!writer.open(path) || !writer.write(card)) return kFailed;
    folderUnsynced_ = true;
    return writer.commit(FolderSync::Later) ? 0 : kFailed;
}

int VcardFolderSource::AddContact(const ContactRecord& record) {
    if (folder_.empty() || record.email().empty()) return kFailed;
    const std::string uid = newGuidText();
    const std::string path = (fs::path(folder_) / (uid + ".vcf")).string();
    if (write(path, record, uid, {}) != 0) return kFailed;
    byEmail_.try_emplace(asciiLowerCopy(record.email()), cards_.size());
    cards_.push_back(Card{path, std::string(record.email())});
    return 0;
}

int VcardFolderSource::UpdateContact(const ContactRecord& record) {
    const Card* card = find(std::string(record.email()));
    if (!card) return kFailed;
    const std::string old = readCard(card->path);
    return write(card->path, record, parseVcard(old).uid, old);
}

int VcardFolderSource::RemoveContact(const std::string& email) {
    const Card* card = find(email);
    if (!card) return kFailed;
    folderUnsynced_ = true;
    if (!removeFile(card->path).ok()) return kFailed;
    const auto at = static_cast<std::ptrdiff_t>(card - cards_.data());
    cards_.erase(cards_.begin() + at);
    byEmail_.clear();
    for (std::size_t i = 0; i < cards_.size(); ++i) {
        byEmail_.try_emplace(asciiLowerCopy(cards_[i].email), i);
    }
    return 0;
}

int VcardFolderSource::ContactExists(const std::string& email) {
    return find(email) ? 1 : 2;
}

int VcardFolderSource::ListEmails(std::vector<std::string>& emails) {
    if (folder_.empty()) return kFailed;
    for (const auto& card : cards_) emails.push_back(card.email);
    return 0;
}

}  // namespace vellix
