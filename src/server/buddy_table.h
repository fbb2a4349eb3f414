#pragma once
// The buddy table (the user's own list with each buddy's status word, localized) and the
// user list (everyone on the server). Both are replaced whole by each list reply and read
// through copies under their lock.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

struct BuddyRecord {
    std::string email;
    std::string name;
    std::string status;  // the localized word, or the server's word when it is not one of four
};

struct UserRecord {
    std::string name;
    std::string email;
};

// What a status change did to a buddy, for the caller's signals.
struct BuddyStatusChange {
    std::string name;
    std::string status;
};

class BuddyTable {
  public:
    // A list reply; `filled()` is true from then on until the next clear.
    void replace(std::vector<BuddyRecord> buddies);
    void clear();
    bool filled() const;
    std::vector<BuddyRecord> copy() const;
    // Both look-ups ignore letter case.
    std::optional<BuddyRecord> findByEmail(std::string_view email) const;
    std::optional<BuddyRecord> findByName(std::string_view name) const;
    // Stores a new status word for the buddy whose address equals the lower-cased `email`
    // when it differs (ignoring case) from the one held; the change, or nothing.
    std::optional<BuddyStatusChange> updateStatus(std::string_view email, std::string_view status);

  private:
    mutable std::mutex mutex_;
    std::vector<BuddyRecord> buddies_;
    bool filled_ = false;
};

class UserList {
  public:
    void replace(std::vector<UserRecord> users);
    std::vector<UserRecord> copy() const;

  private:
    mutable std::mutex mutex_;
    std::vector<UserRecord> users_;
};

}  // namespace vellix
