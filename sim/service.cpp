#include "service.h"

#include "replies.h"
#include "status_words.h"
#include "web_pages.h"

namespace vellix::sim {

const std::vector<std::string_view>& status_words() {
    static const std::vector<std::string_view> words = {
        "GetVersion",           "GetSession",  "GetMessageCounts", "SetStatus",
        "GetBuddyList",         "GetUserList", "SaveBuddyList",    "GetIMSettings",
        "SaveIMSettings",       "WaitForIM",   "SendMessage",      "FileTransferRequest",
        "FileTransferResponse", "FileUpload",  "FileDownload",     "GetContacts",
        "SetContacts_80"};
    return words;
}

Service::Service(SimState& state, FaultTable& faults, ServiceConfig config)
    : state_(state), faults_(faults), config_(std::move(config)) {
    if (!config_.basic_auth.empty()) expected_auth_ = "Basic " + base64_encode(config_.basic_auth);
    spool_ = Spool::open(config_.spool_dir, config_.spool_limit, &spool_error_);
}

std::shared_ptr<SpoolFile> Service::spool_for(const HttpRequest& head, unsigned long long length,
                                              int& status, std::string& reason) {
    if (request_word(head) != "FileUpload") return nullptr;
    if (!spool_) {
        status = 507;
        reason = spool_error_;
        return nullptr;
    }
    auto file = spool_->create(length, &reason);
    if (!file) status = 507;
    return file;
}

std::string Service::request_word(const HttpRequest& request) const {
    if (request.path.starts_with(kControlPrefix)) return "control";
    if (request.path != config_.path) return "unknown";
    const Fields query = parse_form(request.query);
    const std::string* view = find_field(query, "View");
    if (view && iequals(*view, "StatusCheck")) {
        for (const auto& [key, value] : query) {
            for (std::string_view word : status_words()) {
                if (iequals(key, word)) return std::string(word);
            }
        }
        return "unknown";
    }
    if (view && iequals(*view, "VellixInstall.exe")) return "installer";
    if (view && iequals(*view, "VellixInstall.exe.sig")) return "installer-signature";
    return "page";
}

size_t Service::body_limit(const HttpRequest& head) const {
    const std::string word = request_word(head);
    // A contact list of thousands is several megabytes: it gets the upload limit too.
    if (word == "FileUpload" || word == "SetContacts_80") return config_.max_upload;
    return config_.max_body;
}

bool Service::authorized(const HttpRequest& request) const {
    if (expected_auth_.empty() || request.path.starts_with(kControlPrefix)) return true;
    const std::string* auth = request.header("Authorization");
    return auth && *auth == expected_auth_;
}

void Service::body_abandoned(const HttpRequest& head) {
    if (request_word(head) != "FileUpload") return;
    const Fields query = parse_form(head.query);
    const std::string* session = find_field(query, "Session");
    const std::string* to = find_field(query, "TransferTo");
    const std::string* name = find_field(query, "FileName");
    if (!session || !to || !name) return;
    if (const auto sender = state_.session_account(*session)) {
        state_.upload_abandoned(*sender, *to, *name);
    }
}

HttpResponse Service::handle(HttpRequest& request, const RequestContext& context) {
    if (request.path.starts_with(kControlPrefix)) return handle_control(request);
    if (!authorized(request)) {
        HttpResponse r =
            text_reply(401, "<html><body>Authorization required</body></html>", "text/html");
        r.headers.emplace_back("WWW-Authenticate", "Basic realm=\"Skyloom\"");
        return r;
    }
    if (request.method != "GET" && request.method != "POST" && request.method != "HEAD") {
        HttpResponse r = text_reply(405, replies::error("method not allowed"));
        r.headers.emplace_back("Allow", "GET, POST");
        return r;
    }
    if (request.path != config_.path) {
        return text_reply(404, "<html><body>Not found</body></html>", "text/html");
    }
    const Fields query = parse_form(request.query);
    const std::string* view = find_field(query, "View");
    if (view && iequals(*view, "StatusCheck")) return handle_status(request, query, context);
    return serve_page(state_, query);
}

HttpResponse Service::handle_status(HttpRequest& request, const Fields& query,
                                    const RequestContext& context) {
    const std::string word = request_word(request);
    bool needs_session = false;
    const StatusHandler handler = find_status_handler(word, needs_session);
    if (!handler) return text_reply(400, replies::error("unknown request"));
    const std::string* session = find_field(query, "Session");
    StatusCall call{state_, config_, request, query, context, spool_.get(), session ? *session : "",
                    ""};
    if (needs_session) {
        const auto address = state_.session_account(call.session);
        if (!address) return text_reply(200, std::string(replies::kInvalidSession));
        call.address = *address;
    }
    return handler(call);
}

}  // namespace vellix::sim
