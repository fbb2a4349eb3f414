#include "http_response.h"

namespace vellix::sim {

HttpResponse text_reply(int status, std::string body, std::string content_type) {
    HttpResponse r;
    r.status = status;
    r.body = std::move(body);
    r.content_type = std::move(content_type);
    return r;
}

std::string_view reason_phrase(int status) {
    switch (status) {
        case 100:
            return "Continue";
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 407:
            return "Proxy Authentication Required";
        case 408:
            return "Request Timeout";
        case 413:
            return "Payload Too Large";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 502:
            return "Bad Gateway";
        case 503:
            return "Service Unavailable";
        case 507:
            return "Insufficient Storage";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Status";
    }
}

std::string serialize_head(const HttpResponse& response, size_t content_length, bool keep_alive) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " ";
    head += reason_phrase(response.status);
    head += "\r\nServer: skyloom-sim\r\nCache-Control: no-cache\r\n";
    if (!response.content_type.empty()) head += "Content-Type: " + response.content_type + "\r\n";
    head += "Content-Length: " + std::to_string(content_length) + "\r\n";
    for (const auto& [k, v] : response.headers) head += k + ": " + v + "\r\n";
    head += keep_alive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    head += "\r\n";
    return head;
}

}  // namespace vellix::sim
