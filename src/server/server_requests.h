#pragma once
// The request URLs and form bodies of the status interface, byte for byte. `url` is the
// configured server URL as typed, `session` the session identifier.

#include <string>
#include <string_view>

namespace vellix::requests {

std::string version(std::string_view url);
// "Session=...&" only when a session is held; "&TakeOver=Yes" when taking the session over.
std::string login(std::string_view url, std::string_view session, bool takeOver);
// The user name and password converted to UTF-8 and URL-encoded.
std::string loginBody(const std::string& user, const std::string& password);
std::string messageCounts(std::string_view url, std::string_view session);
std::string setStatus(std::string_view url, std::string_view session, std::string_view word);
std::string buddyList(std::string_view url, std::string_view session);
std::string userList(std::string_view url, std::string_view session);
std::string saveBuddyList(std::string_view url, std::string_view session);
std::string imSettings(std::string_view url, std::string_view session);
std::string saveImSettings(std::string_view url, std::string_view session);
std::string saveImSettingsBody(std::string_view settingsText);

}  // namespace vellix::requests
