#include "server/webmail_url.h"

#include <filesystem>
#include <system_error>

#include "core/profile_document.h"
#include "server/text_codecs.h"

namespace vellix {
namespace {

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

bool namesExistingFile(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

std::string buildWebmailUrl(std::string_view serverUrl, std::string_view sessionId,
                            const WebmailLink& link) {
    std::string url(serverUrl);
    if (!endsWithIgnoreCase(url, ".cgi") && !endsWithIgnoreCase(url, ".dll") &&
        !endsWithIgnoreCase(url, "/")) {
        url += '/';
    }
    url += "?Session=";
    url += sessionId;

    std::string request = link.format;
    std::size_t from = 0;
    for (const std::string& argument : link.arguments) {
        const auto at = request.find("%s", from);
        if (at == std::string::npos) break;
        const std::string encoded = UrlEncode(argument);
        request.replace(at, 2, encoded);
        // An argument's own text is never searched for further places.
        from = at + encoded.size();
    }
    url += request;
    url += "&Frames=Yes";
    return url;
}

std::string_view trimCommandText(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

MailClientCommand parseMailClient(std::string_view text) {
    text = trimCommandText(text);
    MailClientCommand command;
    if (namesExistingFile(std::string(text))) {
        command.program = text;
        return command;
    }
    std::string_view rest;
    if (const auto open = text.find('"'); open != std::string_view::npos) {
        const auto close = text.find('"', open + 1);
        command.program = text.substr(
            open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
        if (close != std::string_view::npos) rest = text.substr(close + 1);
    } else {
        const auto blank = text.find(' ');
        command.program = text.substr(0, blank);
        if (blank != std::string_view::npos) rest = text.substr(blank + 1);
    }
    command.parameters = trimCommandText(rest);
    return command;
}

}  // namespace vellix
