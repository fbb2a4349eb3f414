#include "im/send_result.h"

#include "core/ascii_case.h"
#include "core/password_codec.h"
#include "server/reply_tags.h"
#include "server/text_codecs.h"

namespace vellix {

std::string encodeMessageText(std::string_view typed) {
    return UrlEncode(encodeWithKeyTable(typed));
}

std::string sendMessageUrl(std::string_view serverUrl, std::string_view sessionId) {
    std::string url(serverUrl);
    url += "?Session=";
    url += sessionId;
    url += "&View=StatusCheck&SendMessage=yes";
    return url;
}

std::string sendMessageBody(const SendRequest& request) {
    return "MessageTo=" + request.recipients + "&MessageText=" + request.encodedText;
}

std::string sendResultText(const std::optional<std::string>& reply) {
    std::string result;
    if (!reply) {
        result = kServerErrorResult;
    } else {
        constexpr std::string_view kClose = "</sendresult>";
        std::size_t from = 0;
        // Each element is read on its own: a later one never disturbs an earlier value.
        for (;;) {
            const std::size_t close = reply->find(kClose, from);
            if (close == std::string::npos) break;
            const std::size_t end = close + kClose.size();
            result += GetTagValue(*reply, from, end, "sendresult");
            result += "\r\n";
            from = end;
            if (result.size() > kMaxSendResultBytes) break;
        }
    }
    if (result.size() > kMaxSendResultBytes) result.resize(kMaxSendResultBytes);
    return result;
}

SendVerdict judgeSendResult(std::string_view result) {
    if (result.empty()) return SendVerdict::NoResult;
    if (asciiLowerCopy(result).find("success") != std::string::npos) return SendVerdict::Delivered;
    return SendVerdict::Undelivered;
}

}  // namespace vellix
