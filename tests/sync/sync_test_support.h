#pragma once
// Helpers shared by the contact tests: short records and what a list holds.

#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sync/contact_list.h"
#include "sync/contact_record.h"
#include "sync/contact_xml.h"

namespace vellix {

// Failures show a record as the element it would be written as.
inline void PrintTo(const ContactRecord& record, std::ostream* os) {
    std::string text;
    appendContactXml(record, text);
    *os << text << (record.imapUID == 0 ? "(imapUID 0)" : "");
}

}  // namespace vellix

namespace vellix::testing {

inline ContactRecord contact(std::string_view email, std::string_view fullName = {},
                             std::string_view guid = {}) {
    ContactRecord record;
    record.setEmail(email);
    record.setFullName(fullName);
    record.setGuid(guid);
    return record;
}

inline std::vector<ContactRecord> records(const ContactList& list) {
    return std::vector<ContactRecord>(list.begin(), list.end());
}

inline std::vector<std::string> emailsOf(const ContactList& list) {
    std::vector<std::string> out;
    for (const auto& record : list) out.emplace_back(record.email());
    return out;
}

inline bool isGuidText(std::string_view text) {
    return text.size() == 32 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace vellix::testing
