#pragma once
// What the server frame knows of the logged-in session; written only by that frame.

#include <string>

namespace vellix {

struct SessionState {
    std::string sessionId;  // empty while logged out
    std::string lastSessionUser;  // user name of the last complete login
    std::string account;    // canonical address from the login
    std::string displayName;
    bool loggedIn = false;
    bool messagingEnabled = false;
    bool mayModifyGlobalContacts = false;
    bool calendar = false;
    bool loginCancelled = false;
    bool updateAvailable = false;
};

}  // namespace vellix
