#include "im/buddy_list_form.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "server/text_codecs.h"

namespace vellix {
namespace {

bool listed(const std::vector<UserRecord>& list, std::string_view address) {
    return std::any_of(list.begin(), list.end(),
                       [&](const UserRecord& entry) { return equalsNoCase(entry.email, address); });
}

}  // namespace

std::size_t addBuddyEntries(std::vector<UserRecord>& list,
                            const std::vector<UserRecord>& candidates,
                            std::string_view ownAddress) {
    std::size_t added = 0;
    for (const auto& candidate : candidates) {
        if (equalsNoCase(candidate.email, ownAddress) || listed(list, candidate.email)) continue;
        list.push_back(candidate);
        ++added;
    }
    return added;
}

std::vector<UserRecord> usersNotListed(const std::vector<UserRecord>& users,
                                       const std::vector<UserRecord>& list) {
    std::vector<UserRecord> out;
    for (const auto& user : users) {
        if (!listed(list, user.email)) out.push_back(user);
    }
    return out;
}

EntryProblem checkManualEntry(std::string_view address) {
    if (address.empty()) return EntryProblem::MissingAddress;
    const auto at = address.find('@');
    if (at == 0 || at == std::string_view::npos || at + 1 == address.size() ||
        address.find('@', at + 1) != std::string_view::npos) {
        return EntryProblem::MalformedAddress;
    }
    const bool blank = std::any_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == '\x7f';
    });
    return blank ? EntryProblem::MalformedAddress : EntryProblem::None;
}

std::string buddyListFormText(const std::vector<UserRecord>& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        if (i > 0) text += '&';
        text += "BuddyEmail" + number + "=" + UrlEncode(list[i].email) + "&BuddyName" + number +
                "=" + UrlEncode(list[i].name);
    }
    return text;
}

}  // namespace vellix
