// Everything the server knows: accounts, sessions, presence, event queues, mail, files,
// contacts and the request log. One mutex guards it; long polls wait on a condition
// variable per account and hold no lock while they wait.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "seed.h"
#include "spool.h"

namespace vellix::sim {

struct LogEntry {
    uint64_t seq = 0;
    std::string method;
    std::string path;
    std::string query;
    std::string body;  // cut to 64 KiB; body_size has the full length
    size_t body_size = 0;
    std::string user_agent;
};

struct LoginResult {
    enum class Status { Ok, BadLogin, InvalidSession, Disconnect } status = Status::BadLogin;
    std::string session;
    std::string address;
    std::string name;
    std::set<std::string> flags;
    std::string disconnect;
};

struct CountsResult {
    std::string alert;
    std::string disconnect;
    std::vector<MailFolder> folders;  // messages left out
};

struct WaitResult {
    std::string reply;
    std::string address;  // the account whose event this is, when `is_event`
    bool is_event = false;
    bool abandoned = false;  // the client went away; nothing was taken
};

struct StoredFile {
    std::string id;
    std::string sender;
    std::string recipient;
    std::string name;
    std::shared_ptr<const SpoolFile> file;  // on disk until downloaded
};

class SimState {
  public:
    explicit SimState(SeedData seed);
    ~SimState();
    SimState(const SimState&) = delete;
    SimState& operator=(const SimState&) = delete;

    // Ends every long poll at once; later waits return immediately.
    void shutdown();

    // Version check.
    struct VersionInfo {
        std::string version, autoupdate, disconnect;
    };
    VersionInfo version_info() const;
    void set_version(std::optional<std::string> version, std::optional<std::string> autoupdate,
                     std::optional<std::string> disconnect);

    // Sessions.
    LoginResult login(const std::string& user, const std::string& password,
                      const std::string* session, bool take_over);
    // Address of a live session, or nothing.
    std::optional<std::string> session_account(const std::string& session);
    // A live session's account with its flags, as a login with a held session answers; the
    // address-book thread checks its session this way, without the password.
    std::optional<LoginResult> session_check(const std::string& session);
    bool delete_session(const std::string& session);
    int delete_sessions_of(const std::string& address);
    // The next status reply of the session (counts or login) carries `text`; its long poll
    // ends at once and the session is gone afterwards.
    int disconnect(const std::string& address_or_session, const std::string& text);
    std::string sessions_json() const;

    // Mail.
    // Nothing when the session is not live.
    std::optional<CountsResult> counts(const std::string& session);
    bool deliver(const std::string& address, const std::string& folder, const MailMessage& mail,
                 int count);
    bool mark_read(const std::string& address, const std::string& folder);
    bool set_alert(const std::string& address, const std::string& text);
    // Copy of a folder with its messages; viewing it clears "recent".
    std::optional<MailFolder> view_folder(const std::string& address, const std::string& folder);
    // The first unread message, marked read; nothing when the folder has none.
    std::optional<MailMessage> open_first_unread(const std::string& address,
                                                 const std::string& folder);
    std::string account_name(const std::string& address) const;

    // Presence, lists and settings.
    void set_status(const std::string& address, const std::string& word);
    std::vector<std::array<std::string, 3>> buddy_list(const std::string& address) const;
    std::vector<BuddyEntry> user_list() const;
    void save_buddies(const std::string& address, std::vector<BuddyEntry> buddies);
    std::string im_settings(const std::string& address) const;
    void save_im_settings(const std::string& address, std::string text);

    // Messaging.
    WaitResult wait_event(const std::string& session, std::chrono::milliseconds timeout,
                          const std::function<bool()>& client_gone);
    void requeue_front(const std::string& address, std::string event);
    bool push_event(const std::string& address, std::string event);
    // One result text per recipient, in the order given.
    std::vector<std::string> send_message(const std::string& from, const std::string& to_list,
                                          const std::string& text);

    // Files.
    void offer_file(const std::string& from, const std::string& to_list, const std::string& name,
                    unsigned long long size);
    bool answer_offer(const std::string& recipient, const std::string& sender,
                      const std::string& name, bool accepted);
    std::string store_upload(const std::string& sender, const std::string& recipient,
                             const std::string& name, std::shared_ptr<const SpoolFile> file);
    void upload_abandoned(const std::string& sender, const std::string& recipient,
                          const std::string& name);
    std::optional<StoredFile> find_file(const std::string& recipient, const std::string& id) const;
    void download_finished(const std::string& id);

    // Contacts.
    enum class ContactStore { Stored, Denied, Malformed, NoAccount };
    std::string contacts(const std::string& address, bool is_public) const;
    ContactStore store_contacts(const std::string& address, bool is_public, std::string xml);

    // Installer bytes (shared, never copied).
    std::shared_ptr<const std::string> installer() const;
    // Its detached signature; null when the seed names none.
    std::shared_ptr<const std::string> installer_signature() const;

    // Request log.
    void log_request(LogEntry entry);
    std::string log_json() const;
    std::vector<LogEntry> log_entries() const;
    void clear_log();

    bool has_account(const std::string& address) const;
    // Long polls of the account held right now.
    int waiting(const std::string& address) const;

  private:
    struct Account;
    struct Session;

    Account* find_account(const std::string& address) const;
    Session* find_session(const std::string& id);
    std::string new_id(size_t length);
    std::string visible_status(const Account& a) const;
    void broadcast_presence(Account& a, const std::string& before);
    void end_session(Session& s, int reason);
    // A take-over: every live session of the account but `keep` is replaced.
    void end_other_sessions(const Account& a, const Session* keep);
    void enqueue(Account& a, std::string event);
    bool account_online(const Account& a) const;

    mutable std::mutex mu_;
    std::map<std::string, std::unique_ptr<Account>> accounts_;  // key: lower-case address
    std::map<std::string, std::unique_ptr<Session>> sessions_;
    std::map<std::string, StoredFile> files_;
    std::map<std::string, bool> offers_;  // sender/recipient/file name -> accepted
    std::string public_contacts_;
    VersionInfo version_;
    std::shared_ptr<const std::string> installer_;
    std::shared_ptr<const std::string> installer_signature_;
    std::deque<LogEntry> log_;
    uint64_t log_seq_ = 0;
    bool stopping_ = false;
    std::mt19937_64 rng_;
};

}  // namespace vellix::sim
