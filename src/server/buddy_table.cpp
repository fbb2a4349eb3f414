#include "server/buddy_table.h"

#include "core/ascii_case.h"

namespace vellix {
namespace {

std::optional<BuddyRecord> findIn(const std::vector<BuddyRecord>& buddies,
                                  std::string BuddyRecord::*field, std::string_view value) {
    for (const BuddyRecord& buddy : buddies) {
        if (equalsNoCase(buddy.*field, value)) return buddy;
    }
    return std::nullopt;
}

}  // namespace

void BuddyTable::replace(std::vector<BuddyRecord> buddies) {
    std::lock_guard lock(mutex_);
    buddies_ = std::move(buddies);
    filled_ = true;
}

void BuddyTable::clear() {
    std::lock_guard lock(mutex_);
    buddies_.clear();
    filled_ = false;
}

bool BuddyTable::filled() const {
    std::lock_guard lock(mutex_);
    return filled_;
}

std::vector<BuddyRecord> BuddyTable::copy() const {
    std::lock_guard lock(mutex_);
    return buddies_;
}

std::optional<BuddyRecord> BuddyTable::findByEmail(std::string_view email) const {
    std::lock_guard lock(mutex_);
    return findIn(buddies_, &BuddyRecord::email, email);
}

std::optional<BuddyRecord> BuddyTable::findByName(std::string_view name) const {
    std::lock_guard lock(mutex_);
    return findIn(buddies_, &BuddyRecord::name, name);
}

std::optional<BuddyStatusChange> BuddyTable::updateStatus(std::string_view email,
                                                          std::string_view status) {
    const std::string key = asciiLowerCopy(email);
    std::lock_guard lock(mutex_);
    for (BuddyRecord& buddy : buddies_) {
        // The table holds addresses as the server sent them; the key is lower case only.
        if (buddy.email != key) continue;
        if (equalsNoCase(buddy.status, status)) return std::nullopt;
        buddy.status = std::string(status);
        return BuddyStatusChange{buddy.name, buddy.status};
    }
    return std::nullopt;
}

void UserList::replace(std::vector<UserRecord> users) {
    std::lock_guard lock(mutex_);
    users_ = std::move(users);
}

std::vector<UserRecord> UserList::copy() const {
    std::lock_guard lock(mutex_);
    return users_;
}

}  // namespace vellix
