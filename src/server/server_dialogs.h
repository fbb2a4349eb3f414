#pragma once
// The windows the server frame needs of the user: the login dialog and the error window.
// Implemented on the GUI thread; the server frame may block on askLogin only.

#include <optional>
#include <string>
#include <vector>

#include "core/account_store.h"

namespace vellix {

struct LoginAnswer {
    std::string user;
    std::string password;
    bool remember = false;
};

class ServerDialogs {
  public:
    virtual ~ServerDialogs() = default;
    // The login dialog, modal: the remembered accounts, the one of `selectedSlot` chosen.
    // Nothing when the user cancels.
    virtual std::optional<LoginAnswer> askLogin(const std::vector<RememberedAccount>& accounts,
                                                int selectedSlot) = 0;
    // The error window with `text`, unless one is open already (one at a time). Returns at
    // once.
    virtual void showError(const std::string& text) = 0;
    // Closes an open error window.
    virtual void closeError() = 0;
};

}  // namespace vellix
