// Sessions, presence, event queues and the request log.
#include "sim_state.h"

#include <algorithm>

#include "replies.h"
#include "sim_state_internal.h"
#include "text_util.h"

namespace vellix::sim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMaxEvents = 10000;
constexpr size_t kMaxLog = 100000;
constexpr size_t kMaxLoggedBody = 64 * 1024;
constexpr auto kTombstoneLife = std::chrono::minutes(2);
// Beyond this many sessions the least recently used one is ended, as a real server would
// expire idle sessions.
constexpr size_t kMaxSessions = 20000;
constexpr auto kClientCheck = std::chrono::milliseconds(1000);

}  // namespace

std::string offer_key(const std::string& sender, const std::string& recipient,
                      const std::string& name) {
    return to_lower(sender) + "\n" + to_lower(recipient) + "\n" + to_lower(name);
}

SimState::SimState(SeedData seed) : rng_(std::random_device{}()) {
    version_.version = seed.version;
    version_.autoupdate = seed.autoupdate;
    for (auto& a : seed.accounts) {
        auto acc = std::make_unique<Account>();
        acc->address = a.address;
        acc->password = a.password;
        acc->name = a.name;
        acc->flags = a.flags;
        acc->folders = std::move(a.folders);
        acc->buddies = std::move(a.buddies);
        acc->settings = std::move(a.settings);
        acc->private_contacts = contacts_xml(a.contacts);
        accounts_[to_lower(a.address)] = std::move(acc);
    }
    public_contacts_ = contacts_xml(seed.public_contacts);
    installer_ = load_installer(seed.installer_path);
    installer_signature_ = load_installer_signature(seed);
}

SimState::~SimState() = default;

void SimState::shutdown() {
    std::lock_guard lock(mu_);
    stopping_ = true;
    for (auto& [key, a] : accounts_) a->wake.notify_all();
}

SimState::Account* SimState::find_account(const std::string& address) const {
    const auto it = accounts_.find(to_lower(trim(address)));
    return it == accounts_.end() ? nullptr : it->second.get();
}

SimState::Session* SimState::find_session(const std::string& id) {
    const auto it = sessions_.find(id);
    return it == sessions_.end() ? nullptr : it->second.get();
}

bool SimState::has_account(const std::string& address) const {
    std::lock_guard lock(mu_);
    return find_account(address) != nullptr;
}

int SimState::waiting(const std::string& address) const {
    std::lock_guard lock(mu_);
    const Account* a = find_account(address);
    return a ? a->waiting : 0;
}

std::string SimState::new_id(size_t length) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string id;
    while (true) {
        id.clear();
        for (size_t i = 0; i < length; ++i) id.push_back(kHex[rng_() & 15]);
        if (!sessions_.count(id) && !files_.count(id)) return id;
    }
}

SimState::VersionInfo SimState::version_info() const {
    std::lock_guard lock(mu_);
    return version_;
}

void SimState::set_version(std::optional<std::string> version,
                           std::optional<std::string> autoupdate,
                           std::optional<std::string> disconnect) {
    std::lock_guard lock(mu_);
    if (version) version_.version = *version;
    if (autoupdate) version_.autoupdate = *autoupdate;
    if (disconnect) version_.disconnect = *disconnect;
}

bool SimState::account_online(const Account& a) const {
    return a.live_sessions > 0 && !iequals(a.status, "Offline");
}

std::string SimState::visible_status(const Account& a) const {
    if (!account_online(a) || iequals(a.status, "Invisible")) return "Offline";
    return a.status;
}

void SimState::enqueue(Account& a, std::string event) {
    if (a.events.size() >= kMaxEvents) a.events.pop_front();
    a.events.push_back(std::move(event));
    a.wake.notify_all();
}

void SimState::broadcast_presence(Account& a, const std::string& before) {
    const std::string after = visible_status(a);
    if (iequals(before, after)) return;
    for (auto& [key, other] : accounts_) {
        if (other.get() == &a || other->live_sessions == 0) continue;
        const bool watches =
            std::any_of(other->buddies.begin(), other->buddies.end(),
                        [&](const BuddyEntry& b) { return iequals(b.email, a.address); });
        if (watches) enqueue(*other, replies::status_event(a.address, after));
    }
}

void SimState::end_session(Session& s, int reason) {
    if (s.end != kLive) return;
    s.end = reason;
    s.ended_at = Clock::now();
    if (Account* a = find_account(s.address)) {
        const std::string before = visible_status(*a);
        --a->live_sessions;
        if (a->live_sessions == 0) a->status = "Offline";
        broadcast_presence(*a, before);
        a->wake.notify_all();
    }
}

void SimState::end_other_sessions(const Account& a, const Session* keep) {
    for (auto& [id, s] : sessions_) {
        if (s.get() != keep && s->end == kLive && s->address == to_lower(a.address)) {
            end_session(*s, kReplaced);
        }
    }
}

LoginResult SimState::login(const std::string& user, const std::string& password,
                            const std::string* session, bool take_over) {
    std::lock_guard lock(mu_);
    const auto now = Clock::now();
    std::erase_if(sessions_, [&](const auto& kv) {
        return kv.second->end != kLive && now - kv.second->ended_at > kTombstoneLife;
    });
    LoginResult result;
    Account* a = find_account(user);
    if (!a || a->password != password) {
        result.status = LoginResult::Status::BadLogin;
        return result;
    }
    result.address = a->address;
    result.name = a->name;
    result.flags = a->flags;
    if (session && !session->empty()) {
        Session* s = find_session(*session);
        if (!s || s->end != kLive || !iequals(s->address, a->address)) {
            result.status = LoginResult::Status::InvalidSession;
            return result;
        }
        if (!s->pending_disconnect.empty()) {
            result.status = LoginResult::Status::Disconnect;
            result.disconnect = s->pending_disconnect;
            end_session(*s, kDeleted);
            return result;
        }
        s->last_use = now;
        if (take_over) end_other_sessions(*a, s);
        result.status = LoginResult::Status::Ok;
        result.session = s->id;
        return result;
    }
    const std::string before = visible_status(*a);
    if (take_over) end_other_sessions(*a, nullptr);
    if (a->live_sessions == 0) {
        a->events.clear();  // nothing stale from an earlier sign-in
        a->status = "Online";
    }
    if (sessions_.size() >= kMaxSessions) {
        auto oldest = std::min_element(
            sessions_.begin(), sessions_.end(),
            [](const auto& x, const auto& y) { return x.second->last_use < y.second->last_use; });
        end_session(*oldest->second, kDeleted);
        sessions_.erase(oldest);
    }
    auto s = std::make_unique<Session>();
    s->id = new_id(24);
    s->address = to_lower(a->address);
    s->last_use = now;
    result.session = s->id;
    sessions_[s->id] = std::move(s);
    ++a->live_sessions;
    broadcast_presence(*a, before);
    result.status = LoginResult::Status::Ok;
    return result;
}

std::optional<std::string> SimState::session_account(const std::string& session) {
    std::lock_guard lock(mu_);
    Session* s = find_session(session);
    if (!s || s->end != kLive) return std::nullopt;
    s->last_use = Clock::now();
    const Account* a = find_account(s->address);
    if (!a) return std::nullopt;
    return a->address;
}

std::optional<LoginResult> SimState::session_check(const std::string& session) {
    std::lock_guard lock(mu_);
    Session* s = find_session(session);
    if (!s || s->end != kLive) return std::nullopt;
    const Account* a = find_account(s->address);
    if (!a) return std::nullopt;
    s->last_use = Clock::now();
    LoginResult result;
    result.status = LoginResult::Status::Ok;
    result.session = s->id;
    result.address = a->address;
    result.name = a->name;
    result.flags = a->flags;
    return result;
}

bool SimState::delete_session(const std::string& session) {
    std::lock_guard lock(mu_);
    Session* s = find_session(session);
    if (!s || s->end != kLive) return false;
    end_session(*s, kDeleted);
    return true;
}

int SimState::delete_sessions_of(const std::string& address) {
    std::lock_guard lock(mu_);
    int n = 0;
    for (auto& [id, s] : sessions_) {
        if (s->end == kLive && s->address == to_lower(trim(address))) {
            end_session(*s, kDeleted);
            ++n;
        }
    }
    return n;
}

int SimState::disconnect(const std::string& address_or_session, const std::string& text) {
    std::lock_guard lock(mu_);
    int n = 0;
    for (auto& [id, s] : sessions_) {
        if (s->end != kLive) continue;
        if (id == address_or_session || s->address == to_lower(trim(address_or_session))) {
            s->pending_disconnect = text.empty() ? "Disconnected by the administrator." : text;
            if (Account* a = find_account(s->address)) a->wake.notify_all();
            ++n;
        }
    }
    return n;
}

std::string SimState::sessions_json() const {
    std::lock_guard lock(mu_);
    std::string out = "[";
    for (const auto& [id, s] : sessions_) {
        if (s->end != kLive) continue;
        const Account* a = find_account(s->address);
        if (out.size() > 1) out += ",";
        out += "{\"session\":" + json_quote(id) +
               ",\"account\":" + json_quote(a ? a->address : "") +
               ",\"status\":" + json_quote(a ? a->status : "") +
               ",\"queued\":" + std::to_string(a ? a->events.size() : 0) +
               ",\"waiting\":" + std::to_string(a ? a->waiting : 0) + "}";
    }
    return out + "]";
}

void SimState::set_status(const std::string& address, const std::string& word) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a) return;
    const std::string before = visible_status(*a);
    a->status = word;
    broadcast_presence(*a, before);
}

WaitResult SimState::wait_event(const std::string& session, std::chrono::milliseconds timeout,
                                const std::function<bool()>& client_gone) {
    std::unique_lock lock(mu_);
    Session* s = find_session(session);
    if (!s || s->end != kLive) return {std::string(replies::kInvalidSession), {}, false, false};
    Account* a = find_account(s->address);
    if (!a) return {std::string(replies::kInvalidSession), {}, false, false};
    const uint64_t gen = ++a->wait_gen;
    a->wake.notify_all();
    const auto deadline = Clock::now() + timeout;
    ++a->waiting;
    struct Leave {
        int& n;
        ~Leave() { --n; }
    } leave{a->waiting};
    while (true) {
        s = find_session(session);
        if (!s || s->end == kDeleted)
            return {std::string(replies::kSessionDeleted), {}, false, false};
        if (s->end == kReplaced || a->wait_gen != gen) {
            return {std::string(replies::kWaitReplaced), {}, false, false};
        }
        if (!s->pending_disconnect.empty())
            return {std::string(replies::kGoneOffline), {}, false, false};
        if (stopping_) return {std::string(replies::kIdle), {}, false, false};
        // A client that has gone would never read the event: leave it for the next poll.
        if (client_gone && client_gone()) return {{}, {}, false, true};
        if (!a->events.empty()) {
            WaitResult r{std::move(a->events.front()), a->address, true, false};
            a->events.pop_front();
            s->last_use = Clock::now();
            return r;
        }
        const auto now = Clock::now();
        if (now >= deadline) return {std::string(replies::kIdle), {}, false, false};
        a->wake.wait_until(lock, std::min(deadline, now + kClientCheck));
    }
}

void SimState::requeue_front(const std::string& address, std::string event) {
    std::lock_guard lock(mu_);
    if (Account* a = find_account(address)) {
        a->events.push_front(std::move(event));
        a->wake.notify_all();
    }
}

bool SimState::push_event(const std::string& address, std::string event) {
    std::lock_guard lock(mu_);
    Account* a = find_account(address);
    if (!a) return false;
    enqueue(*a, std::move(event));
    return true;
}

std::vector<std::string> SimState::send_message(const std::string& from, const std::string& to_list,
                                                const std::string& text) {
    std::lock_guard lock(mu_);
    std::vector<std::string> results;
    const Account* sender = find_account(from);
    const std::string from_address = sender ? sender->address : from;
    for (const auto& recipient : split_tokens(to_list, ", ")) {
        Account* r = find_account(recipient);
        if (!r) {
            results.push_back("User " + recipient + " does not exist");
        } else if (!account_online(*r)) {
            results.push_back("User " + recipient + " is offline");
        } else {
            enqueue(*r, replies::message_event(to_list, from_address, "", text));
            results.emplace_back("Success");
        }
    }
    return results;
}

void SimState::log_request(LogEntry entry) {
    std::lock_guard lock(mu_);
    entry.seq = ++log_seq_;
    entry.body_size = std::max(entry.body_size, entry.body.size());
    if (entry.body.size() > kMaxLoggedBody) entry.body.resize(kMaxLoggedBody);
    if (log_.size() >= kMaxLog) log_.pop_front();
    log_.push_back(std::move(entry));
}

std::vector<LogEntry> SimState::log_entries() const {
    std::lock_guard lock(mu_);
    return {log_.begin(), log_.end()};
}

std::string SimState::log_json() const {
    std::lock_guard lock(mu_);
    std::string out = "[";
    for (const auto& e : log_) {
        if (out.size() > 1) out += ",\n";
        out += "{\"seq\":" + std::to_string(e.seq) + ",\"method\":" + json_quote(e.method) +
               ",\"path\":" + json_quote(e.path) + ",\"query\":" + json_quote(e.query) +
               ",\"body\":" + json_quote(e.body) + ",\"body_size\":" + std::to_string(e.body_size) +
               ",\"user_agent\":" + json_quote(e.user_agent) + "}";
    }
    return out + "]\n";
}

void SimState::clear_log() {
    std::lock_guard lock(mu_);
    log_.clear();
}

}  // namespace vellix::sim
