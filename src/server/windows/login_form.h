#pragma once
// What the login dialog shows and answers, without widgets.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/account_store.h"
#include "server/server_dialogs.h"

namespace vellix {

// The position of the account of `slot` in the list; -1 when no account has that slot.
int accountIndexOfSlot(const std::vector<RememberedAccount>& accounts, int slot);

struct LoginFill {
    std::string password;
    bool remember = false;
};

// The password field and the remember box for the account at `index`: its password only
// when it is remembered. An index outside the list gives both empty.
LoginFill loginFillFor(const std::vector<RememberedAccount>& accounts, int index);

// The answer on OK: the user name without surrounding blanks. Nothing while it is empty,
// which keeps OK disabled.
std::optional<LoginAnswer> loginAnswerFrom(std::string_view user, std::string password,
                                           bool remember);

}  // namespace vellix
