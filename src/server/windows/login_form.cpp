#include "server/windows/login_form.h"

#include <algorithm>
#include <utility>

namespace vellix {

int accountIndexOfSlot(const std::vector<RememberedAccount>& accounts, int slot) {
    const auto it = std::ranges::find(accounts, slot, &RememberedAccount::slot);
    return it == accounts.end() ? -1 : static_cast<int>(it - accounts.begin());
}

LoginFill loginFillFor(const std::vector<RememberedAccount>& accounts, int index) {
    if (index < 0 || index >= static_cast<int>(accounts.size())) return {};
    const RememberedAccount& account = accounts[static_cast<std::size_t>(index)];
    return {account.remember ? account.password : std::string(), account.remember};
}

std::optional<LoginAnswer> loginAnswerFrom(std::string_view user, std::string password,
                                           bool remember) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = user.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = user.find_last_not_of(kBlanks);
    return LoginAnswer{std::string(user.substr(first, last - first + 1)), std::move(password),
                       remember};
}

}  // namespace vellix
