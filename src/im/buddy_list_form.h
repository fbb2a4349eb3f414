#pragma once
// The buddy-list page's rules as plain functions: which users may join the list, what a
// hand-typed entry must look like, and the form text the server stores the list from.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/buddy_table.h"

namespace vellix {

// Appends each candidate, in order, unless it is the account itself or its address is
// already in `list` (letter case aside). Returns how many were added.
std::size_t addBuddyEntries(std::vector<UserRecord>& list,
                            const std::vector<UserRecord>& candidates, std::string_view ownAddress);

// The users not in `list`, in user-list order: the choices of the page's left list.
std::vector<UserRecord> usersNotListed(const std::vector<UserRecord>& users,
                                       const std::vector<UserRecord>& list);

enum class EntryProblem { None, MissingAddress, MalformedAddress };

// A hand-typed address needs one "@" with text on both sides and no blanks or controls.
EntryProblem checkManualEntry(std::string_view address);

// "BuddyEmail1=<address>&BuddyName1=<name>&BuddyEmail2=..." in list order, values
// URL-encoded; empty for an empty list.
std::string buddyListFormText(const std::vector<UserRecord>& list);

}  // namespace vellix
