// The control interface: /_sim/<command>?token=T&... on the server's own port.
#include "replies.h"
#include "service.h"

namespace vellix::sim {
namespace {

struct ControlCall {
    SimState& state;
    FaultTable& faults;
    const Fields& args;
    const HttpRequest& request;

    std::string arg(const char* key, std::string fallback = {}) const {
        const std::string* v = find_field(args, key);
        return v ? *v : fallback;
    }
    bool has(const char* key) const { return find_field(args, key) != nullptr; }
};

HttpResponse ok(std::string text = "ok\n") {
    return text_reply(200, std::move(text), "text/plain");
}
HttpResponse json(std::string text) {
    return text_reply(200, std::move(text), "application/json");
}
HttpResponse fail(int status, const std::string& why) {
    return text_reply(status, why + "\n", "text/plain");
}

bool read_int(const ControlCall& c, const char* key, long long fallback, long long& out) {
    const std::string v = c.arg(key);
    if (v.empty()) {
        out = fallback;
        return true;
    }
    const bool negative = v[0] == '-';
    unsigned long long n = 0;
    if (!parse_uint(negative ? std::string_view(v).substr(1) : std::string_view(v), n))
        return false;
    out = negative ? -static_cast<long long>(n) : static_cast<long long>(n);
    return true;
}

// The account named by "account", or by the session given as "session".
std::string target_account(const ControlCall& c) {
    if (c.has("account")) return c.arg("account");
    if (const auto a = c.state.session_account(c.arg("session"))) return *a;
    return {};
}

HttpResponse deliver(ControlCall& c) {
    long long count = 1;
    if (!read_int(c, "count", 1, count) || count < 1 || count > 100000)
        return fail(400, "bad count");
    MailMessage m{c.arg("from", "sender@example.com"), c.arg("subject", "Test message"),
                  c.arg("body", "Hello from skyloom-sim."), false};
    if (!c.state.deliver(c.arg("account"), c.arg("folder", "INBOX"), m, static_cast<int>(count))) {
        return fail(404, "no such account");
    }
    return ok();
}

HttpResponse fault(ControlCall& c) {
    const auto kind = parse_fault_kind(c.arg("kind"));
    if (!kind || c.arg("word").empty()) return fail(400, "need word and kind");
    Fault f;
    f.kind = *kind;
    long long remaining = 1;
    if (!read_int(c, "value", 0, f.value) || !read_int(c, "count", 1, remaining) ||
        remaining == 0 || remaining < -1 || remaining > 1000000) {
        return fail(400, "bad value or count");
    }
    f.remaining = static_cast<int>(remaining);
    if (f.kind == Fault::Kind::Status && (f.value < 100 || f.value > 599)) {
        return fail(400, "status needs a value from 100 to 599");
    }
    c.faults.add(c.arg("word"), f);
    return ok();
}

HttpResponse dispatch(const std::string& command, ControlCall& c) {
    SimState& s = c.state;
    if (command == "ping") return ok();
    if (command == "deliver") return deliver(c);
    if (command == "mark-read") {
        return s.mark_read(c.arg("account"), c.arg("folder")) ? ok() : fail(404, "no such folder");
    }
    if (command == "alert") {
        return s.set_alert(c.arg("account"), c.arg("text")) ? ok() : fail(404, "no such account");
    }
    if (command == "disconnect") {
        const std::string who = c.has("session") ? c.arg("session") : c.arg("account");
        const int n = s.disconnect(who, c.arg("text"));
        return n > 0 ? ok(std::to_string(n) + "\n") : fail(404, "no live session");
    }
    if (command == "delete-session") {
        const int n = c.has("session") ? (s.delete_session(c.arg("session")) ? 1 : 0)
                                       : s.delete_sessions_of(c.arg("account"));
        return n > 0 ? ok(std::to_string(n) + "\n") : fail(404, "no live session");
    }
    if (command == "version") {
        const auto opt = [&](const char* key) {
            return c.has(key) ? std::optional<std::string>(c.arg(key)) : std::nullopt;
        };
        s.set_version(opt("version"), opt("autoupdate"), opt("disconnect"));
        return ok();
    }
    if (command == "push") {
        const std::string event = c.has("event") ? c.arg("event") : c.request.body;
        const std::string account = target_account(c);
        if (event.empty()) return fail(400, "empty event");
        return s.push_event(account, event) ? ok() : fail(404, "no such account");
    }
    if (command == "send-im") {
        if (!s.has_account(c.arg("from"))) return fail(404, "no such sender");
        std::string out;
        for (const auto& r : s.send_message(c.arg("from"), c.arg("to"), c.arg("text"))) {
            out += replies::tag("sendresult", r);
        }
        return ok(out + "\n");
    }
    if (command == "status") {
        if (!s.has_account(c.arg("account")) || c.arg("word").empty())
            return fail(400, "need account and word");
        s.set_status(c.arg("account"), c.arg("word"));
        return ok();
    }
    if (command == "log") return json(s.log_json());
    if (command == "clear-log") {
        s.clear_log();
        return ok();
    }
    if (command == "fault") return fault(c);
    if (command == "faults") return json(c.faults.json());
    if (command == "clear-faults") {
        c.faults.clear();
        return ok();
    }
    if (command == "sessions") return json(s.sessions_json());
    if (command == "waiting") return ok(std::to_string(s.waiting(c.arg("account"))) + "\n");
    return fail(404, "unknown control command " + command);
}

}  // namespace

HttpResponse Service::handle_control(const HttpRequest& request) {
    Fields args = parse_form(request.query);
    const std::string* type = request.header("Content-Type");
    if (type && istarts_with(*type, "application/x-www-form-urlencoded")) {
        for (auto& kv : parse_form(request.body)) args.push_back(std::move(kv));
    }
    if (!config_.control_token.empty()) {
        const std::string* token = find_field(args, "token");
        if (!token || *token != config_.control_token) return fail(403, "bad control token");
    }
    ControlCall call{state_, faults_, args, request};
    return dispatch(request.path.substr(kControlPrefix.size()), call);
}

}  // namespace vellix::sim
