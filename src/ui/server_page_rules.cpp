#include "ui/server_page_rules.h"

#include <charconv>

namespace vellix {

std::string withScheme(std::string url) {
    if (url.starts_with("https://") || url.starts_with("http://")) return url;
    return "http://" + url;
}

std::optional<int> parseWholeNumber(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    int value = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (error != std::errc() || stop != last) return std::nullopt;
    return value;
}

bool proxyServerMissing(const ServerForm& form) {
    return form.connectionType == 1 && form.proxyServer.find_first_not_of(' ') == std::string::npos;
}

ServerApplyPlan planServerApply(const ServerForm& form, const ServerCurrent& current,
                                ServerEdits edits) {
    ServerApplyPlan plan;
    const std::optional<int> interval = parseWholeNumber(form.interval);
    if (!interval || *interval < kMinInterval || *interval > kMaxInterval) {
        plan.intervalRejected = true;
        return plan;
    }
    plan.interval = *interval;
    plan.proxyPort = parseWholeNumber(form.proxyPort).value_or(80);
    plan.url = withScheme(form.url);

    const bool differs =
        form.user != current.user || form.password != current.password || plan.url != current.url;
    if (edits.account && differs) {
        plan.account = current.loggedIn ? AccountAction::AskThenRelogin : AccountAction::Relogin;
    } else if (!current.loggedIn && current.savedAccount) {
        plan.account = AccountAction::Login;
    }
    plan.restartTimer = plan.interval != current.runningInterval && current.loggedIn;
    plan.handToSession = !current.loggedIn;
    plan.restartNotice = edits.connection;
    return plan;
}

}  // namespace vellix
