// Mail folders, lists, settings, files, contacts and the installer.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "replies.h"
#include "sim_state.h"
#include "sim_state_internal.h"
#include "text_util.h"

namespace vellix::sim {
namespace {

// Storage bounds: a client that offers or uploads without end cannot exhaust memory.
constexpr size_t kMaxOffers = 10000;
constexpr size_t kMaxFiles = 1000;

MailFolder* find_folder(std::vector<MailFolder>& folders, const std::string& name) {
    for (auto& f : folders) {
        if (iequals(f.name, name)) return &f;
    }
    return nullptr;
}

}  // namespace

namespace {

std::shared_ptr<const std::string> load_file(const std::string& path) {
    if (path.empty()) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::make_shared<const std::string>(bytes.str());
}

}  // namespace

std::shared_ptr<const std::string> load_installer_signature(const SeedData& seed) {
    if (!seed.installer_signature_path.empty()) return load_file(seed.installer_signature_path);
    if (seed.installer_path.empty()) return nullptr;
    return load_file(seed.installer_path + ".sig");
}

std::shared_ptr<const std::string> load_installer(const std::string& path) {
    if (auto bytes = load_file(path)) return bytes;
    // A recognisable, deterministic stand-in of 256 KiB.
    std::string bytes = "VELLIX-INSTALLER-STANDIN\n";
    bytes.reserve(256 * 1024);
    uint32_t x = 2463534242u;
    while (bytes.size() < 256 * 1024) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes.push_back(static_cast<char>(x & 0xff));
    }
    return std::make_shared<const std::string>(std::move(bytes));
}

std::optional<CountsResult> SimState::counts(const std::string& session) {
    std::lock_guard lock(mu_);
    Session* s = find_session(session);
    if (!s || s->end != kLive) return std::nullopt;
    Account* a = find_account(s->address);
    if (!a) return std::nullopt;
    CountsResult r;
    r.alert = std::exchange(a->alert, {});
    if (!s->pending_disconnect.empty()) {
        r.disconnect = s->pending_disconnect;
        end_session(*s, kDeleted);
    }
    for (auto& f : a->folders) {
        MailFolder copy = f;
        copy.messages.clear();
        r.folders.push_back(std::move(copy));
        f.fresh = 0;  // "new" is news once: the next poll reports only later arrivals
    }
    return r;
}

bool SimState::deliver(const std::string& address, const std::string& folder,
                       const MailMessage& mail, int count) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a || count < 1) return false;
    MailFolder* f = find_folder(a->folders, folder);
    if (!f) {
        a->folders.push_back({folder, folder, 0, 0, 0, 0, {}});
        f = &a->folders.back();
    }
    for (int i = 0; i < count; ++i) {
        f->messages.push_back(mail);
        ++f->total;
        ++f->unread;
        ++f->fresh;
        ++f->recent;
    }
    return true;
}

bool SimState::mark_read(const std::string& address, const std::string& folder) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a) return false;
    bool found = false;
    for (auto& f : a->folders) {
        if (!folder.empty() && !iequals(f.name, folder)) continue;
        found = true;
        f.unread = f.fresh = f.recent = 0;
        for (auto& m : f.messages) m.read = true;
    }
    return found;
}

bool SimState::set_alert(const std::string& address, const std::string& text) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a) return false;
    a->alert = text;
    return true;
}

std::optional<MailFolder> SimState::view_folder(const std::string& address,
                                                const std::string& folder) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    MailFolder* f = a ? find_folder(a->folders, folder) : nullptr;
    if (!f) return std::nullopt;
    f->recent = 0;
    return *f;
}

std::optional<MailMessage> SimState::open_first_unread(const std::string& address,
                                                       const std::string& folder) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    MailFolder* f = a ? find_folder(a->folders, folder) : nullptr;
    if (!f || f->unread <= 0) return std::nullopt;
    f->recent = 0;
    --f->unread;
    for (auto& m : f->messages) {
        if (!m.read) {
            m.read = true;
            return m;
        }
    }
    // Seeded counts have no stored text behind them.
    return MailMessage{"postmaster@skyloom.local", "Seeded message", "(seeded message)", true};
}

std::string SimState::account_name(const std::string& address) const {
    std::lock_guard lock(mu_);
    const Account* a = find_account(address);
    return a ? a->name : std::string();
}

std::vector<std::array<std::string, 3>> SimState::buddy_list(const std::string& address) const {
    std::lock_guard lock(mu_);
    std::vector<std::array<std::string, 3>> out;
    const Account* a = find_account(address);
    if (!a) return out;
    for (const auto& b : a->buddies) {
        const Account* other = find_account(b.email);
        out.push_back({b.email, b.name, other ? visible_status(*other) : "Offline"});
    }
    return out;
}

std::vector<BuddyEntry> SimState::user_list() const {
    std::lock_guard lock(mu_);
    std::vector<BuddyEntry> out;
    for (const auto& [key, a] : accounts_) out.push_back({a->address, a->name});
    return out;
}

void SimState::save_buddies(const std::string& address, std::vector<BuddyEntry> buddies) {
    std::lock_guard lock(mu_);
    if (Account* a = find_account(address)) a->buddies = std::move(buddies);
}

std::string SimState::im_settings(const std::string& address) const {
    std::lock_guard lock(mu_);
    const Account* a = find_account(address);
    return a ? a->settings : std::string();
}

void SimState::save_im_settings(const std::string& address, std::string text) {
    std::lock_guard lock(mu_);
    if (Account* a = find_account(address)) a->settings = std::move(text);
}

void SimState::offer_file(const std::string& from, const std::string& to_list,
                          const std::string& name, unsigned long long size) {
    std::lock_guard lock(mu_);
    const Account* sender = find_account(from);
    if (!sender) return;
    for (const auto& recipient : split_tokens(to_list, ", ")) {
        Account* r = find_account(recipient);
        if (!r || r->live_sessions == 0 || offers_.size() >= kMaxOffers) continue;
        offers_[offer_key(sender->address, r->address, name)] = false;
        enqueue(*r, replies::file_request_event(sender->address, name, size));
    }
}

bool SimState::answer_offer(const std::string& recipient, const std::string& sender,
                            const std::string& name, bool accepted) {
    std::lock_guard lock(mu_);
    const Account* r = find_account(recipient);
    Account* s = find_account(sender);
    if (!r || !s) return false;
    const auto it = offers_.find(offer_key(s->address, r->address, name));
    if (it == offers_.end()) return false;
    if (accepted) {
        it->second = true;
    } else {
        offers_.erase(it);
    }
    enqueue(*s, replies::file_response_event(r->address, accepted, name));
    return true;
}

std::string SimState::store_upload(const std::string& sender, const std::string& recipient,
                                   const std::string& name,
                                   std::shared_ptr<const SpoolFile> stored) {
    std::lock_guard lock(mu_);
    const Account* s = find_account(sender);
    Account* r = find_account(recipient);
    if (!s || !r) return {};
    const auto it = offers_.find(offer_key(s->address, r->address, name));
    if (it == offers_.end() || !it->second || files_.size() >= kMaxFiles) return {};
    StoredFile file{new_id(16), s->address, r->address, name, std::move(stored)};
    enqueue(*r, replies::file_available_event(s->address, name, file.file->size(), file.id));
    const std::string id = file.id;
    files_[id] = std::move(file);
    return id;
}

void SimState::upload_abandoned(const std::string& sender, const std::string& recipient,
                                const std::string& name) {
    std::lock_guard lock(mu_);
    const Account* s = find_account(sender);
    Account* r = find_account(recipient);
    if (!s || !r || !offers_.erase(offer_key(s->address, r->address, name))) return;
    enqueue(*r, replies::file_status_event(s->address, name, "cancelled"));
}

std::optional<StoredFile> SimState::find_file(const std::string& recipient,
                                              const std::string& id) const {
    std::lock_guard lock(mu_);
    const auto it = files_.find(id);
    if (it == files_.end() || !iequals(it->second.recipient, recipient)) return std::nullopt;
    return it->second;
}

void SimState::download_finished(const std::string& id) {
    std::lock_guard lock(mu_);
    const auto it = files_.find(id);
    if (it == files_.end()) return;
    const StoredFile& f = it->second;
    offers_.erase(offer_key(f.sender, f.recipient, f.name));
    if (Account* s = find_account(f.sender)) {
        enqueue(*s, replies::file_status_event(f.recipient, f.name, "complete"));
    }
    files_.erase(it);
}

std::string SimState::contacts(const std::string& address, bool is_public) const {
    std::lock_guard lock(mu_);
    if (is_public) return public_contacts_;
    const Account* a = find_account(address);
    return a ? a->private_contacts : std::string();
}

SimState::ContactStore SimState::store_contacts(const std::string& address, bool is_public,
                                                std::string xml) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a) return ContactStore::NoAccount;
    const size_t open = xml.find("<addressBook>");
    if (open == std::string::npos || xml.find("</addressBook>", open) == std::string::npos) {
        return ContactStore::Malformed;
    }
    if (is_public) {
        if (!a->flags.count("modifyglobalcontacts")) return ContactStore::Denied;
        public_contacts_ = std::move(xml);
    } else {
        a->private_contacts = std::move(xml);
    }
    return ContactStore::Stored;
}

std::shared_ptr<const std::string> SimState::installer() const {
    std::lock_guard lock(mu_);
    return installer_;
}

std::shared_ptr<const std::string> SimState::installer_signature() const {
    std::lock_guard lock(mu_);
    return installer_signature_;
}

}  // namespace vellix::sim
