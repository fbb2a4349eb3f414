#include "tray/mailto.h"

#include <cctype>

namespace vellix {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string parseMailto(std::string_view text) {
    if (startsWithNoCase(text, "mailto:")) text.remove_prefix(7);
    while (!text.empty() && text.front() == '/') text.remove_prefix(1);

    std::string to, subject, body;
    const auto question = text.find('?');
    to = std::string(text.substr(0, question));
    if (question != std::string_view::npos) {
        std::string_view rest = text.substr(question + 1);
        while (true) {
            const auto amp = rest.find('&');
            const std::string_view param = rest.substr(0, amp);
            if (startsWithNoCase(param, "to=")) {
                if (!to.empty()) to += ',';
                to += param.substr(3);
            } else if (startsWithNoCase(param, "subject=")) {
                subject = param.substr(8);
            } else if (startsWithNoCase(param, "body=")) {
                body = param.substr(5);
            }
            if (amp == std::string_view::npos) break;
            rest.remove_prefix(amp + 1);
        }
    }

    std::string request = "&View=Compose&NextNew=Yes";
    if (!to.empty()) request += "&NextTo=" + to;
    if (!subject.empty()) request += "&NextSubject=" + subject;
    if (!body.empty()) request += "&NextBody=" + body;
    return request;
}

WebmailLink mailtoLink(std::string_view text) {
    return WebmailLink{parseMailto(text), {}, TrayState::Keep};
}

}  // namespace vellix
