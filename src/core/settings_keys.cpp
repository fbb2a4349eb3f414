#include "core/settings_keys.h"

namespace vellix {

namespace ini {
std::string userKeyName(int slot) {
    return "User" + std::to_string(slot);
}
std::string passwordKeyName(int slot) {
    return "Password" + std::to_string(slot);
}
std::string pwdSaveFlagKeyName(int slot) {
    return "PwdSaveFlag" + std::to_string(slot);
}
}  // namespace ini

namespace account {
std::string customColorKeyName(int index) {
    return "CustomColor" + std::to_string(index);
}
std::string entryKeyName(int entry, std::string_view field) {
    return "Entry" + std::to_string(entry) + ":" + std::string(field);
}
int readPollInterval(const ProfileFile& file) {
    const int minutes = readKey(file, kInterval);
    return minutes < 1 ? kInterval.fallback : minutes;
}
int readPollInterval(const ProfileDocument& doc) {
    const int minutes = readKey(doc, kInterval);
    return minutes < 1 ? kInterval.fallback : minutes;
}
}  // namespace account

namespace contacts {
int readSyncInterval(const ProfileFile& file) {
    const int minutes = readKey(file, kSyncInterval);
    return minutes < 1 ? kSyncInterval.fallback : minutes;
}
}  // namespace contacts

}  // namespace vellix
