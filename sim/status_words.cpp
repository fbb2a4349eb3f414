// Word table, version check, login and message counts.
#include "status_words.h"

#include "replies.h"

namespace vellix::sim {
namespace {

using replies::tag;

std::string flag(const std::set<std::string>& flags, const char* name) {
    return tag(name, flags.count(name) ? "enabled" : "disabled");
}

HttpResponse handle_version(StatusCall& call) {
    const auto v = call.state.version_info();
    std::string body = tag("vxversion", v.version) + tag("autoupdate", v.autoupdate);
    if (!v.disconnect.empty()) body += tag("disconnect", v.disconnect);
    return text_reply(200, std::move(body));
}

HttpResponse handle_login(StatusCall& call) {
    const Fields form = parse_form(call.request.body);
    const std::string* user = find_field(form, "User");
    const std::string* password = find_field(form, "Password");
    const std::string* take_over = find_field(call.query, "TakeOver");
    const std::string* session = find_field(call.query, "Session");
    LoginResult r;
    if (!user && !password && session && !session->empty()) {
        // A session check: the session's own account and flags, or the refusal.
        r.status = LoginResult::Status::InvalidSession;
        if (auto checked = call.state.session_check(*session)) r = std::move(*checked);
    } else if (!user || !password) {
        return bad_request(user ? "missing field Password" : "missing field User");
    } else {
        r = call.state.login(*user, *password, session, take_over && iequals(*take_over, "Yes"));
    }
    switch (r.status) {
        case LoginResult::Status::BadLogin:
            return text_reply(200, std::string(replies::kBadLogin));
        case LoginResult::Status::InvalidSession:
            return text_reply(200, std::string(replies::kInvalidSession));
        case LoginResult::Status::Disconnect:
            return text_reply(200, tag("disconnect", r.disconnect));
        case LoginResult::Status::Ok:
            break;
    }
    std::string body = tag("session", r.session) + tag("email", r.address) + tag("name", r.name);
    for (const char* f : {"instantmessaging", "modifyglobalcontacts", "calendar",
                          "groupwareenabled", "groupwareuser"}) {
        body += flag(r.flags, f);
    }
    return text_reply(200, std::move(body));
}

HttpResponse handle_counts(StatusCall& call) {
    const auto counts = call.state.counts(call.session);
    if (!counts) return text_reply(200, std::string(replies::kInvalidSession));
    // The alert and the disconnect text come first: the client reads both over the rest of
    // the reply before each folder block, so a later alert would show once per block.
    std::string body;
    if (!counts->alert.empty()) body += tag("alert", counts->alert);
    if (!counts->disconnect.empty()) body += tag("disconnect", counts->disconnect);
    for (const auto& f : counts->folders) {
        body += replies::folder_block(f.name, f.display, f.total, f.unread, f.fresh, f.recent);
    }
    return text_reply(200, std::move(body));
}

struct Entry {
    std::string_view word;
    StatusHandler handler;
    bool needs_session;
};

constexpr Entry kHandlers[] = {
    {"GetVersion", handle_version, false},
    {"GetSession", handle_login, false},
    {"GetMessageCounts", handle_counts, false},  // tells a disconnected session why
    {"SetStatus", handle_set_status, true},
    {"GetBuddyList", handle_buddy_list, true},
    {"GetUserList", handle_user_list, true},
    {"SaveBuddyList", handle_save_buddy_list, true},
    {"GetIMSettings", handle_get_settings, true},
    {"SaveIMSettings", handle_save_settings, true},
    {"WaitForIM", handle_wait, false},  // answers an ended session with its own error
    {"SendMessage", handle_send_message, true},
    {"FileTransferRequest", handle_file_request, true},
    {"FileTransferResponse", handle_file_response, true},
    {"FileUpload", handle_file_upload, true},
    {"FileDownload", handle_file_download, true},
    {"GetContacts", handle_get_contacts, true},
    {"SetContacts_80", handle_set_contacts, true},
};

}  // namespace

HttpResponse bad_request(std::string_view why) {
    return text_reply(400, replies::error(why));
}

StatusHandler find_status_handler(std::string_view word, bool& needs_session) {
    for (const auto& e : kHandlers) {
        if (iequals(e.word, word)) {
            needs_session = e.needs_session;
            return e.handler;
        }
    }
    return nullptr;
}

}  // namespace vellix::sim
