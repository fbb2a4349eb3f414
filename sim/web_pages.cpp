#include "web_pages.h"

namespace vellix::sim {
namespace {

std::string field(const Fields& query, const char* key) {
    const std::string* v = find_field(query, key);
    return v ? *v : std::string();
}

// Every page names its view in a meta tag and lists what was asked, so tests and people
// can see where the browser landed.
HttpResponse page(std::string_view view, const std::string& title, const std::string& content,
                  const Fields& query) {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">";
    html += "<meta name=\"skyloom-view\" content=\"" + html_escape(view) + "\">";
    html += "<title>" + html_escape(title) + " - Skyloom</title></head><body>\n";
    html += "<h1>" + html_escape(title) + "</h1>\n" + content + "\n<h2>Request</h2>\n<dl>\n";
    for (const auto& [k, v] : query) {
        if (iequals(k, "Session")) continue;
        html += "<dt>" + html_escape(k) + "</dt><dd>" + html_escape(v) + "</dd>\n";
    }
    html += "</dl>\n</body></html>\n";
    return text_reply(200, std::move(html), "text/html; charset=utf-8");
}

HttpResponse folder_page(SimState& state, const std::string& address, const Fields& query) {
    const std::string name =
        field(query, "NextFolder").empty() ? "INBOX" : field(query, "NextFolder");
    const auto folder = state.view_folder(address, name);
    if (!folder) return page("list", "Folder " + name + " not found", "", query);
    std::string content = "<p>" + std::to_string(folder->total) + " messages, " +
                          std::to_string(folder->unread) + " unread</p>\n<ul>\n";
    for (const auto& m : folder->messages) {
        content += std::string("<li class=\"") + (m.read ? "read" : "unread") + "\">" +
                   html_escape(m.from) + ": " + html_escape(m.subject) + "</li>\n";
    }
    content += "</ul>";
    return page("list", "Folder " + folder->display, content, query);
}

HttpResponse message_page(SimState& state, const std::string& address, const Fields& query) {
    const std::string name =
        field(query, "NextFolder").empty() ? "INBOX" : field(query, "NextFolder");
    const auto message = state.open_first_unread(address, name);
    if (!message) return page("message", "No unread messages in " + name, "", query);
    const std::string content = "<p>From: " + html_escape(message->from) +
                                "</p>\n<p>Subject: " + html_escape(message->subject) +
                                "</p>\n<pre>" + html_escape(message->body) + "</pre>";
    return page("message", "Message in " + name, content, query);
}

HttpResponse compose_page(const Fields& query) {
    std::string content = "<form>\n";
    for (const char* key : {"NextTo", "NextSubject", "NextBody"}) {
        content += std::string("<label>") + (key + 4) + " <input name=\"" + key + "\" value=\"" +
                   html_escape(field(query, key)) + "\"></label><br>\n";
    }
    content += "</form>";
    return page("compose", "New message", content, query);
}

HttpResponse installer(SimState& state) {
    HttpResponse r;
    r.content_type = "application/octet-stream";
    r.shared_body = state.installer();
    r.headers.emplace_back("Content-Disposition", "attachment; filename=\"VellixInstall.exe\"");
    return r;
}

HttpResponse installer_signature(SimState& state) {
    HttpResponse r;
    r.shared_body = state.installer_signature();
    if (!r.shared_body) {
        r.status = 404;
        r.content_type = "text/plain";
        r.body = "no signature";
        return r;
    }
    r.content_type = "application/octet-stream";
    return r;
}

}  // namespace

HttpResponse serve_page(SimState& state, const Fields& query) {
    const std::string session = field(query, "Session");
    const auto address = state.session_account(session);
    if (!address) {
        // What a webmail server shows a browser without a valid session.
        return page("login", "Sign in to Skyloom",
                    "<p>Your session has expired or is not valid. Please sign in.</p>", query);
    }
    const std::string view = field(query, "View");
    const std::string next_view = field(query, "NextView");
    if (iequals(view, "VellixInstall.exe")) return installer(state);
    if (iequals(view, "VellixInstall.exe.sig")) return installer_signature(state);
    if (iequals(view, "List")) return folder_page(state, *address, query);
    if (iequals(view, "Message")) return message_page(state, *address, query);
    if (iequals(view, "Compose")) return compose_page(query);
    if (iequals(next_view, "CalendarWeekView")) {
        return page("calendar", "Calendar week of " + state.account_name(*address),
                    "<p>No appointments this week.</p>", query);
    }
    if (iequals(view, "Vellix")) {
        const std::string link = "?Session=" + url_encode(session) +
                                 "&amp;View=VellixInstall.exe&amp;Frames=No&amp;AutoUpdate=Yes";
        return page("download", "Download Vellix",
                    "<p><a href=\"" + link + "\">VellixInstall.exe</a></p>", query);
    }
    return page("home", "Skyloom webmail for " + state.account_name(*address), "", query);
}

}  // namespace vellix::sim
