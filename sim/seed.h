// Accounts, folders, buddies and contacts the sim starts with, and the seed file that
// describes them.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/version.h"

namespace vellix::sim {

struct MailMessage {
    std::string from;
    std::string subject;
    std::string body;
    bool read = false;
};

struct MailFolder {
    std::string name;
    std::string display;
    int total = 0;
    int unread = 0;
    int fresh = 0;  // the "new" count
    int recent = 0;
    std::vector<MailMessage> messages;  // only mail delivered while running; counts may be larger
};

struct BuddyEntry {
    std::string email;
    std::string name;
};

struct ContactEntry {
    std::string email;
    std::string full_name;
};

struct AccountSeed {
    std::string address;
    std::string password;
    std::string name;
    std::set<std::string> flags;  // lower-case capability and groupware flags that are on
    std::vector<MailFolder> folders;
    std::vector<BuddyEntry> buddies;
    std::string settings;                // the account settings text (IMSettings)
    std::vector<ContactEntry> contacts;  // private contact folder
};

struct SeedData {
    std::string version{vellix::kProgramVersion};
    std::string autoupdate = "yes";
    std::string installer_path;  // empty: a generated installer
    // The installer's detached signature; empty: "<installer_path>.sig" when it exists.
    std::string installer_signature_path;
    std::vector<AccountSeed> accounts;
    std::vector<ContactEntry> public_contacts;
};

struct SeedResult {
    bool ok = false;
    SeedData data;
    std::string error;  // "line N: why" when not ok
};

// Flags a seed may set; anything else is a seed error.
const std::set<std::string>& known_flags();

SeedResult parse_seed(std::string_view text);
SeedResult load_seed_file(const std::string& path);

// Accounts of the demo and of a sim started without a seed file.
SeedData default_seed();

// Address-book XML of a contact list, in the layout the client writes.
std::string contacts_xml(const std::vector<ContactEntry>& contacts);

}  // namespace vellix::sim
