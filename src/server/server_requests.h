#pragma once
// The request URLs and form bodies of the status interface, byte for byte. `url` is the
// configured server URL as typed, `session` the session identifier.

#include <cstdint>
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

// Address-book synchronization: the session check, and a folder's list ("public" or
// "private") fetched and stored.
std::string contactsSession(std::string_view url, std::string_view session);
std::string getContacts(std::string_view url, std::string_view session, std::string_view folder);
std::string setContacts(std::string_view url, std::string_view session, std::string_view folder);

// File transfer. Addresses and file names go in as they stand; only bytes that would end or
// change the query (blanks, '&', '#', '%', '+', controls, bytes above 127) are
// percent-encoded, which the server decodes back to the same name.
std::string fileOffer(std::string_view url, std::string_view session, std::string_view to,
                      std::string_view fileName, std::uint64_t size);
std::string fileAnswer(std::string_view url, std::string_view session, bool accepted,
                       std::string_view from, std::string_view fileName);
std::string fileUpload(std::string_view url, std::string_view session, std::string_view to,
                       std::string_view fileName);
std::string fileDownload(std::string_view url, std::string_view session, std::string_view fileId,
                         std::string_view from, std::string_view fileName);

}  // namespace vellix::requests
