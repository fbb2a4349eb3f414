#include "sync/eds_contact_source.h"

#include <libebook/libebook.h>

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "core/ascii_case.h"
#include "sync/contact_guid.h"
#include "sync/eds_contact_fields.h"
#include "sync/glib_handles.h"

namespace vellix {
namespace {

// Contacts per call: a first run of thousands takes a handful of calls, and no message
// comes near the bus's size limit.
constexpr std::size_t kBatchSize = 500;
// A book on a server gets this long to connect; after it, it is used from its cache.
constexpr guint32 kRemoteConnectSeconds = 30;
constexpr guint32 kDoNotWait = static_cast<guint32>(-1);

enum class Change { None, Add, Modify, Remove };

std::string textOf(const glib::ErrorPtr& error) {
    return glib::messageOf(error);
}

// Borrowed pointers in a GSList, freed (not their items) with it.
struct PointerList {
    GSList* list = nullptr;
    PointerList() = default;
    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;
    ~PointerList() { g_slist_free(list); }
    void prepend(gpointer item) { list = g_slist_prepend(list, item); }
};

}  // namespace

struct EdsContactSource::Entry {
    glib::Object<EContact> contact;
    std::string email;
    // The copy the book holds, kept while a change to it waits.
    std::optional<ContactRecord> held;
    Change change = Change::None;
};

struct EdsContactSource::Service {
    GMainContext* context = g_main_context_new();
    glib::Object<ESourceRegistry> registry;
    glib::Object<EBookClient> client;
    std::unordered_map<std::string, Entry*> byEmail;  // lower-case e-mail
};

// The library delivers its callbacks to the thread-default context of the thread that made
// its objects: ours, so they never land on a loop that does not expect them.
class EdsContactSource::ContextScope {
  public:
    explicit ContextScope(GMainContext* context) : context_(context) {
        g_main_context_push_thread_default(context_);
    }
    ~ContextScope() { g_main_context_pop_thread_default(context_); }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

  private:
    GMainContext* context_;
};

EdsContactSource::EdsContactSource(Calls* tally)
    : IniHistoryContactSource(HistoryFields::SystemBook),
      service_(std::make_unique<Service>()),
      tally_(tally) {
    ContextScope scope(service_->context);
    GError* raw = nullptr;
    service_->registry.reset(e_source_registry_new_sync(nullptr, &raw));
    const glib::ErrorPtr error(raw);
    if (!service_->registry)
        error_ = "the address-book service cannot be reached: " + textOf(error);
}

EdsContactSource::~EdsContactSource() {
    {
        ContextScope scope(service_->context);
        forgetFolder();
        service_->registry.reset();
        // Callbacks still queued hold references; running them lets everything go.
        for (int i = 0; i < 10000 && g_main_context_iteration(service_->context, FALSE); ++i) {
        }
    }
    g_main_context_unref(service_->context);
}

void EdsContactSource::forgetFolder() {
    service_->byEmail.clear();
    entries_.clear();
    service_->client.reset();
}

bool EdsContactSource::IsOpen() {
    return service_->registry != nullptr;
}

void EdsContactSource::SetHistoryFile(const std::string& path) {
    history_ = IniContactHistory(HistoryFields::SystemBook);
    history_.open(path);
}

bool EdsContactSource::ListFolders(std::vector<std::string>& names) {
    if (!service_->registry) return false;
    ContextScope scope(service_->context);
    GList* sources =
        e_source_registry_list_enabled(service_->registry.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK);
    std::vector<std::string> found;
    for (GList* at = sources; at; at = at->next) {
        const gchar* name = e_source_get_display_name(static_cast<ESource*>(at->data));
        found.emplace_back(name ? name : "");
    }
    g_list_free_full(sources, g_object_unref);
    std::ranges::sort(found);
    names.insert(names.end(), found.begin(), found.end());
    return true;
}

namespace {

glib::Object<ESource> findBook(ESourceRegistry* registry, const std::string& id,
                               const std::string& name) {
    if (!id.empty()) {
        glib::Object<ESource> source(e_source_registry_ref_source(registry, id.c_str()));
        if (source && e_source_has_extension(source.get(), E_SOURCE_EXTENSION_ADDRESS_BOOK) &&
            e_source_registry_check_enabled(registry, source.get())) {
            return source;
        }
    }
    if (id.empty() && name.empty()) {
        return glib::Object<ESource>(e_source_registry_ref_default_address_book(registry));
    }
    glib::Object<ESource> found;
    GList* sources = e_source_registry_list_enabled(registry, E_SOURCE_EXTENSION_ADDRESS_BOOK);
    for (const std::string* wanted : {&id, &name}) {
        for (GList* at = sources; at && !found && !wanted->empty(); at = at->next) {
            auto* source = static_cast<ESource*>(at->data);
            const gchar* display = e_source_get_display_name(source);
            if (display && *wanted == display) {
                found.reset(static_cast<ESource*>(g_object_ref(source)));
            }
        }
    }
    g_list_free_full(sources, g_object_unref);
    return found;
}

bool isLocalBook(ESource* source) {
    auto* backend = static_cast<ESourceBackend*>(
        e_source_get_extension(source, E_SOURCE_EXTENSION_ADDRESS_BOOK));
    const gchar* name = e_source_backend_get_backend_name(backend);
    return name && g_str_equal(name, "local");
}

}  // namespace

bool EdsContactSource::OpenFolder(std::string folderId, std::string folderName) {
    if (!service_->registry) return false;
    ContextScope scope(service_->context);
    forgetFolder();
    const auto source = findBook(service_->registry.get(), folderId, folderName);
    if (!source) {
        error_ = "no address book \"" + (folderId.empty() ? folderName : folderId) + "\"";
        return false;
    }
    const guint32 wait = isLocalBook(source.get()) ? kDoNotWait : kRemoteConnectSeconds;
    GError* raw = nullptr;
    EClient* client = e_book_client_connect_sync(source.get(), wait, nullptr, &raw);
    if (!client) {
        error_ = textOf(glib::ErrorPtr(raw));
        return false;
    }
    service_->client.reset(reinterpret_cast<EBookClient*>(client));

    GSList* contacts = nullptr;
    count(&Calls::queries);
    if (!e_book_client_get_contacts_sync(service_->client.get(), "", &contacts, nullptr, &raw)) {
        error_ = textOf(glib::ErrorPtr(raw));
        forgetFolder();
        return false;
    }
    for (GSList* at = contacts; at; at = at->next) {
        glib::Object<EContact> contact(static_cast<EContact*>(at->data));
        if (e_contact_get(contact.get(), E_CONTACT_IS_LIST)) continue;
        const glib::Chars email(
            static_cast<gchar*>(e_contact_get(contact.get(), E_CONTACT_EMAIL_1)));
        if (!email || !*email) continue;
        // A second contact with the same e-mail stays out of reach: it cannot be told apart.
        if (!service_->byEmail.try_emplace(asciiLowerCopy(email.get()), nullptr).second) continue;
        entries_.push_back(std::make_unique<Entry>(
            Entry{std::move(contact), email.get(), std::nullopt, Change::None}));
        service_->byEmail[asciiLowerCopy(email.get())] = entries_.back().get();
    }
    g_slist_free(contacts);
    error_.clear();
    return true;
}

void EdsContactSource::count(int Calls::*which) {
    ++(own_.*which);
    if (tally_) ++(tally_->*which);
}

EdsContactSource::Entry* EdsContactSource::find(const std::string& email) {
    const auto it = service_->byEmail.find(asciiLowerCopy(email));
    return it == service_->byEmail.end() ? nullptr : it->second;
}

int EdsContactSource::GetContact(const std::string& email, ContactRecord& out) {
    const Entry* entry = find(email);
    if (!entry) return kFailed;
    out = recordFromEContact(entry->contact.get());
    return 0;
}

int EdsContactSource::AddContact(const ContactRecord& record) {
    const std::string email(record.email());
    if (!service_->client || email.empty() || find(email)) return kFailed;
    glib::Object<EContact> contact(e_contact_new());
    // Our own UID tells, after a refused batch, which of its contacts did arrive.
    e_contact_set(contact.get(), E_CONTACT_UID, newGuidText().c_str());
    applyRecordToEContact(record, contact.get());
    entries_.push_back(
        std::make_unique<Entry>(Entry{std::move(contact), email, std::nullopt, Change::Add}));
    service_->byEmail[asciiLowerCopy(email)] = entries_.back().get();
    return 0;
}

int EdsContactSource::UpdateContact(const ContactRecord& record) {
    Entry* entry = find(std::string(record.email()));
    if (!entry) return kFailed;
    std::optional<ContactRecord> held;
    if (entry->change == Change::None) held = recordFromEContact(entry->contact.get());
    if (!applyRecordToEContact(record, entry->contact.get())) return 0;  // nothing to send
    if (entry->change == Change::None) {
        entry->held = std::move(held);
        entry->change = Change::Modify;
    }
    return 0;
}

int EdsContactSource::RemoveContact(const std::string& email) {
    Entry* entry = find(email);
    if (!entry) return kFailed;
    service_->byEmail.erase(asciiLowerCopy(email));
    entry->change = entry->change == Change::Add ? Change::None : Change::Remove;
    entry->email.clear();  // no longer listed
    return 0;
}

int EdsContactSource::ContactExists(const std::string& email) {
    return find(email) ? 1 : 2;
}

int EdsContactSource::ListEmails(std::vector<std::string>& emails) {
    if (!service_->client) return kFailed;
    for (const auto& entry : entries_) {
        if (!entry->email.empty()) emails.push_back(entry->email);
    }
    return 0;
}

namespace {

// One call for the whole batch; on success new contacts learn the UIDs the book gave them.
bool sendBatch(EBookClient* client, Change change, const std::vector<EContact*>& batch,
               glib::ErrorPtr& error) {
    PointerList items;
    for (auto it = batch.rbegin(); it != batch.rend(); ++it) {
        items.prepend(change == Change::Remove
                          ? const_cast<gpointer>(e_contact_get_const(*it, E_CONTACT_UID))
                          : static_cast<gpointer>(*it));
    }
    GError* raw = nullptr;
    bool sent = false;
    if (change == Change::Add) {
        GSList* uids = nullptr;
        sent = e_book_client_add_contacts_sync(client, items.list, E_BOOK_OPERATION_FLAG_NONE,
                                               &uids, nullptr, &raw);
        std::size_t i = 0;
        for (GSList* at = uids; at && i < batch.size(); at = at->next, ++i) {
            e_contact_set(batch[i], E_CONTACT_UID, at->data);
        }
        g_slist_free_full(uids, g_free);
    } else if (change == Change::Modify) {
        sent = e_book_client_modify_contacts_sync(client, items.list, E_BOOK_OPERATION_FLAG_NONE,
                                                  nullptr, &raw);
    } else {
        sent = e_book_client_remove_contacts_sync(client, items.list, E_BOOK_OPERATION_FLAG_NONE,
                                                  nullptr, &raw);
    }
    error.reset(raw);
    return sent;
}

// One contact, to learn whether it was the one a batch failed on. A contact a failed
// batch did add answers that its UID exists: it arrived.
bool sendOne(EBookClient* client, Change change, EContact* contact, glib::ErrorPtr& error) {
    GError* raw = nullptr;
    bool sent = false;
    if (change == Change::Add) {
        gchar* uid = nullptr;
        sent = e_book_client_add_contact_sync(client, contact, E_BOOK_OPERATION_FLAG_NONE, &uid,
                                              nullptr, &raw);
        if (uid) e_contact_set(contact, E_CONTACT_UID, uid);
        g_free(uid);
    } else if (change == Change::Modify) {
        sent = e_book_client_modify_contact_sync(client, contact, E_BOOK_OPERATION_FLAG_NONE,
                                                 nullptr, &raw);
    } else {
        sent = e_book_client_remove_contact_by_uid_sync(
            client, static_cast<const gchar*>(e_contact_get_const(contact, E_CONTACT_UID)),
            E_BOOK_OPERATION_FLAG_NONE, nullptr, &raw);
    }
    error.reset(raw);
    if (!sent && change == Change::Add && error &&
        g_error_matches(error.get(), E_BOOK_CLIENT_ERROR,
                        E_BOOK_CLIENT_ERROR_CONTACT_ID_ALREADY_EXISTS)) {
        return true;
    }
    return sent;
}

}  // namespace

void EdsContactSource::send(int kind, std::vector<Entry*>& refused) {
    const auto change = static_cast<Change>(kind);
    std::vector<Entry*> batch;
    auto flush = [&] {
        if (batch.empty()) return;
        std::vector<EContact*> contacts;
        for (const Entry* entry : batch) contacts.push_back(entry->contact.get());
        glib::ErrorPtr error;
        count(&Calls::batches);
        if (!sendBatch(service_->client.get(), change, contacts, error)) {
            for (Entry* entry : batch) {
                count(&Calls::single);
                if (!sendOne(service_->client.get(), change, entry->contact.get(), error)) {
                    if (error_.empty()) error_ = textOf(error);
                    refused.push_back(entry);
                }
            }
        }
        batch.clear();
    };
    for (const auto& entry : entries_) {
        if (entry->change != change) continue;
        batch.push_back(entry.get());
        if (batch.size() == kBatchSize) flush();
    }
    flush();
}

void EdsContactSource::restoreHistory(const Entry& entry) {
    // The history says what the book holds, so the next run merges instead of deleting.
    if (entry.change == Change::Add) {
        (void)history_.Remove(entry.email);
    } else if (entry.change == Change::Modify && entry.held) {
        (void)history_.Put(*entry.held);
    }
}

Status EdsContactSource::finishPass() {
    std::vector<Entry*> refused;
    error_.clear();
    if (service_->client) {
        ContextScope scope(service_->context);
        for (const Change change : {Change::Remove, Change::Modify, Change::Add}) {
            send(static_cast<int>(change), refused);
        }
    }
    for (const Entry* entry : refused) restoreHistory(*entry);
    std::erase_if(entries_, [](const auto& entry) { return entry->change == Change::Remove; });
    for (const auto& entry : entries_) {
        entry->change = Change::None;
        entry->held.reset();
    }
    const Status saved = history_.path().empty() ? success() : history_.save();
    if (!refused.empty()) {
        return failure(std::to_string(refused.size()) + " contacts were not written (" + error_ +
                       "), the next synch will merge them");
    }
    if (!saved) return failure("the history could not be saved: " + saved.error());
    return success();
}

}  // namespace vellix
