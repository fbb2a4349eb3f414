#include "im/messaging_frame.h"

#include "im/im_events.h"

namespace vellix {

CMainFrame_IMInterface::CMainFrame_IMInterface(MessagingFrameDeps deps)
    // Shares its title with the server frame; nothing looks it up by title.
    : Frame("Vellix ServerInterface", deps.clock), deps_(std::move(deps)) {
}

LResult CMainFrame_IMInterface::handleMessage(Message& message) {
    if (message.id == UM_SEND_IM) {
        auto job = message.take<SendJob>();
        if (!job) return 0;
        std::string result = sendMessage(job->request);
        if (job->done) job->done(std::move(result));
        return 0;
    }
    return Frame::handleMessage(message);
}

std::string CMainFrame_IMInterface::sendMessage(const SendRequest& request) {
    const std::string serverUrl = deps_.serverUrl();
    if (serverUrl.empty()) return sendResultText(std::nullopt);
    const std::string url = sendMessageUrl(serverUrl, deps_.session.get().sessionId);
    return sendResultText(exchange(url, sendMessageBody(request)));
}

std::optional<std::string> CMainFrame_IMInterface::exchange(const std::string& url,
                                                            const std::string& body) {
    auto opened = InternetSession::open(
        {"VellixPostIM", deps_.connection(), deps_.limits, nullptr, deps_.trace});
    if (!opened) return std::nullopt;
    auto reply = opened.value()->exchange(url, &body);
    const auto* http = std::get_if<HttpReply>(&reply);
    if (!http) return std::nullopt;
    std::string text = readReplyText(http->body);
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace vellix
