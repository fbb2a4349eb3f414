// File transfer and contact folders.
#include <memory>

#include "replies.h"
#include "status_words.h"

namespace vellix::sim {
namespace {

const std::string* need(const Fields& fields, const char* key, std::string& missing) {
    const std::string* v = find_field(fields, key);
    if ((!v || v->empty()) && missing.empty()) missing = key;
    return v;
}

// "public" or "private"; anything else is a bad request.
std::optional<bool> folder_kind(const Fields& query, const char* key) {
    const std::string* v = find_field(query, key);
    if (!v) return std::nullopt;
    if (iequals(*v, "public")) return true;
    if (iequals(*v, "private")) return false;
    return std::nullopt;
}

}  // namespace

HttpResponse handle_file_request(StatusCall& call) {
    std::string missing;
    const std::string* to = need(call.query, "TransferTo", missing);
    const std::string* name = need(call.query, "FileName", missing);
    const std::string* size = need(call.query, "FileSize", missing);
    if (!missing.empty()) return bad_request("missing field " + missing);
    unsigned long long bytes = 0;
    if (!parse_uint(*size, bytes)) return bad_request("bad FileSize");
    call.state.offer_file(call.address, *to, *name, bytes);
    return text_reply(200, std::string(replies::kSuccess));
}

HttpResponse handle_file_response(StatusCall& call) {
    std::string missing;
    const std::string* answer = need(call.query, "FileTransferResponse", missing);
    const std::string* from = need(call.query, "TransferFrom", missing);
    const std::string* name = need(call.query, "FileName", missing);
    if (!missing.empty()) return bad_request("missing field " + missing);
    if (!call.state.answer_offer(call.address, *from, *name, iequals(*answer, "yes"))) {
        return text_reply(404, replies::error("no such file offer"));
    }
    return text_reply(200, std::string(replies::kSuccess));
}

HttpResponse handle_file_upload(StatusCall& call) {
    std::string missing;
    const std::string* to = need(call.query, "TransferTo", missing);
    const std::string* name = need(call.query, "FileName", missing);
    if (!missing.empty()) return bad_request("missing field " + missing);
    std::shared_ptr<SpoolFile> file = std::move(call.request.spool);
    if (!file) {  // an empty or chunked body arrived in memory
        std::string reason;
        if (!call.spool) return text_reply(507, replies::error("no upload space"));
        file = call.spool->create(call.request.body.size(), &reason);
        if (!file || !file->append(call.request.body, &reason)) {
            return text_reply(507, replies::error(reason));
        }
    }
    const std::string id = call.state.store_upload(call.address, *to, *name, std::move(file));
    if (id.empty()) return text_reply(404, replies::error("no accepted file offer"));
    return text_reply(200, std::string(replies::kSuccess) + replies::tag("fileid", id));
}

HttpResponse handle_file_download(StatusCall& call) {
    std::string missing;
    const std::string* id = need(call.query, "FileID", missing);
    need(call.query, "TransferFrom", missing);
    need(call.query, "FileName", missing);
    if (!missing.empty()) return bad_request("missing field " + missing);
    const auto file = call.state.find_file(call.address, *id);
    if (!file) return text_reply(404, replies::error("no such file"));
    HttpResponse reply;
    reply.content_type = "application/octet-stream";
    reply.file_body = file->file;
    reply.on_written = [&state = call.state, file_id = file->id] {
        state.download_finished(file_id);
    };
    return reply;
}

HttpResponse handle_get_contacts(StatusCall& call) {
    const auto is_public = folder_kind(call.query, "GetContacts");
    if (!is_public) return bad_request("GetContacts must be public or private");
    return text_reply(200, call.state.contacts(call.address, *is_public));
}

HttpResponse handle_set_contacts(StatusCall& call) {
    const auto is_public = folder_kind(call.query, "SetContacts_80");
    if (!is_public) return bad_request("SetContacts_80 must be public or private");
    switch (call.state.store_contacts(call.address, *is_public, call.request.body)) {
        case SimState::ContactStore::Stored:
            return text_reply(200, std::string(replies::kSuccess));
        case SimState::ContactStore::Denied:
            return text_reply(403, "<result>permission denied</result>");
        case SimState::ContactStore::Malformed:
            return bad_request("malformed address book");
        case SimState::ContactStore::NoAccount:
            break;
    }
    return text_reply(200, std::string(replies::kInvalidSession));
}

}  // namespace vellix::sim
