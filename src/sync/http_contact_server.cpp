#include "sync/http_contact_server.h"

#include <algorithm>
#include <cstring>

#include "server/server_requests.h"

namespace vellix {

HttpContactServer::HttpContactServer(ContactServerAddress address) : address_(std::move(address)) {
}

HttpContactServer::~HttpContactServer() = default;

InternetSession* HttpContactServer::session() {
    std::lock_guard lock(mutex_);
    if (closed_) return nullptr;
    if (!session_) {
        auto opened = InternetSession::open(
            {"Vellix_Addr", address_.connection, kRequestLimits, nullptr, address_.trace});
        if (!opened) return nullptr;
        session_ = std::move(opened.value());
    }
    return session_.get();
}

void HttpContactServer::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    if (session_) session_->close();
}

std::optional<std::string> HttpContactServer::checkSession() {
    InternetSession* http = session();
    if (!http) return std::nullopt;
    return http->request(requests::contactsSession(address_.url, address_.sessionId), nullptr,
                         InternetSession::LineFeeds::Keep);
}

std::optional<std::string> HttpContactServer::fetchContacts(std::string_view folder) {
    InternetSession* http = session();
    if (!http) return std::nullopt;
    return http->request(requests::getContacts(address_.url, address_.sessionId, folder), nullptr,
                         InternetSession::LineFeeds::Keep);
}

std::optional<std::string> HttpContactServer::storeContacts(std::string_view folder,
                                                            const std::string& body) {
    InternetSession* http = session();
    if (!http) return std::nullopt;
    std::size_t sent = 0;
    StreamedBody upload{body.size(), "text/xml; charset=UTF-8",
                        [&](char* buffer, std::size_t capacity) -> std::optional<std::size_t> {
                            const std::size_t n = std::min(capacity, body.size() - sent);
                            std::memcpy(buffer, body.data() + sent, n);
                            sent += n;
                            return n;
                        }};
    auto reply = http->streamExchange(
        requests::setContacts(address_.url, address_.sessionId, folder), &upload, nullptr);
    if (const auto* answer = std::get_if<HttpReply>(&reply)) return answer->body;
    return std::nullopt;
}

}  // namespace vellix
