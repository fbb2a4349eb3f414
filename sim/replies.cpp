#include "replies.h"

namespace vellix::sim::replies {

std::string tag(std::string_view name, std::string_view value) {
    std::string out;
    out.reserve(name.size() * 2 + value.size() + 5);
    out += '<';
    out += name;
    out += '>';
    out += value;
    out += "</";
    out += name;
    out += '>';
    return out;
}

std::string error(std::string_view text) {
    return tag("error", text);
}

std::string folder_block(std::string_view name, std::string_view display, int total, int unread,
                         int fresh, int recent) {
    return "<folder>" + tag("name", name) + tag("displayname", display) +
           tag("total", std::to_string(total)) + tag("unread", std::to_string(unread)) +
           tag("new", std::to_string(fresh)) + tag("recent", std::to_string(recent)) + "</folder>";
}

std::string buddy_block(std::string_view email, std::string_view name, std::string_view status) {
    return "<buddy>" + tag("email", email) + tag("name", name) + tag("status", status) + "</buddy>";
}

std::string user_block(std::string_view name, std::string_view email) {
    return "<user>" + tag("name", name) + tag("email", email) + "</user>";
}

std::string message_event(std::string_view to, std::string_view from, std::string_view subject,
                          std::string_view text) {
    return "<message>" + tag("to", to) + tag("from", from) + tag("subject", subject) +
           tag("message_text", text) + "</message>";
}

std::string status_event(std::string_view email, std::string_view status) {
    return "<statusupdate>" + tag("email", email) + tag("status", status) + "</statusupdate>";
}

std::string file_request_event(std::string_view from, std::string_view filename,
                               unsigned long long size) {
    return "<filetransferrequest>" + tag("from", from) + tag("filename", filename) +
           tag("filesize", std::to_string(size)) + "</filetransferrequest>";
}

std::string file_response_event(std::string_view from, bool accepted, std::string_view filename) {
    return "<filetransferresponse>" + tag("from", from) + tag("sendfile", accepted ? "yes" : "no") +
           tag("filename", filename) + "</filetransferresponse>";
}

std::string file_available_event(std::string_view from, std::string_view filename,
                                 unsigned long long size, std::string_view file_id) {
    return "<filetransferstatus>" + tag("from", from) + tag("filename", filename) +
           tag("status", "available") + tag("filesize", std::to_string(size)) +
           tag("fileid", file_id) + "</filetransferstatus>";
}

std::string file_status_event(std::string_view from, std::string_view filename,
                              std::string_view status) {
    return "<filetransferstatus>" + tag("from", from) + tag("filename", filename) +
           tag("status", status) + "</filetransferstatus>";
}

}  // namespace vellix::sim::replies
