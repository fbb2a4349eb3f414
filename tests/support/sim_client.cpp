#include "support/sim_client.h"

#include <curl/curl.h>

#include <memory>

namespace vellix::test {
namespace {

size_t append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

struct GlobalInit {
    GlobalInit() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

}  // namespace

HttpResult http_request(const HttpCall& call) {
    static GlobalInit init;
    HttpResult result;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    curl_slist* headers = nullptr;
    curl_easy_setopt(curl.get(), CURLOPT_URL, call.url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_USERAGENT, call.user_agent.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, call.timeout_ms);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    if (call.body) {
        curl_easy_setopt(curl.get(), CURLOPT_POST, 1L);
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, call.body->data());
        curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(call.body->size()));
        headers = curl_slist_append(headers, ("Content-Type: " + call.content_type).c_str());
        curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers);
    }
    if (!call.basic_auth.empty()) {
        curl_easy_setopt(curl.get(), CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(curl.get(), CURLOPT_USERPWD, call.basic_auth.c_str());
    }
    if (call.insecure) {
        curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYHOST, 0L);
    }
    result.curl_code = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &result.status);
    const char* type = nullptr;
    curl_easy_getinfo(curl.get(), CURLINFO_CONTENT_TYPE, &type);
    if (type) result.content_type = type;
    curl_slist_free_all(headers);
    return result;
}

HttpResult http_get(const std::string& url, const std::string& user_agent) {
    HttpCall call;
    call.url = url;
    call.user_agent = user_agent;
    return http_request(call);
}

HttpResult http_post(const std::string& url, const std::string& body,
                     const std::string& user_agent) {
    HttpCall call;
    call.url = url;
    call.body = body;
    call.user_agent = user_agent;
    return http_request(call);
}

std::optional<std::string> reply_tag(const std::string& reply, const std::string& name) {
    const std::string open = "<" + name + ">";
    const size_t b = reply.find(open);
    if (b == std::string::npos) return std::nullopt;
    const size_t e = reply.find("</" + name + ">", b + open.size());
    if (e == std::string::npos) return std::nullopt;
    return reply.substr(b + open.size(), e - b - open.size());
}

std::string query_string(const std::vector<std::pair<std::string, std::string>>& params) {
    std::string out;
    for (const auto& [k, v] : params) {
        if (!out.empty()) out += "&";
        char* escaped = curl_easy_escape(nullptr, v.c_str(), static_cast<int>(v.size()));
        out += k + "=" + (escaped ? escaped : "");
        curl_free(escaped);
    }
    return out;
}

}  // namespace vellix::test
