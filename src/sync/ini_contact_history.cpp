#include "sync/ini_contact_history.h"

#include <array>
#include <utility>

#include "core/atomic_file.h"

namespace vellix {
namespace {

struct HistoryKey {
    const char* key;
    ContactText field;
};

using T = ContactText;
constexpr std::array<HistoryKey, 34> kKeys = {{
    {"hbHomeAddress", T::homeAddress},
    {"hbHomeCity", T::homeCity},
    {"hbHomeState", T::homeState},
    {"hbHomeZipcode", T::homeZipcode},
    {"hbHomeCountry", T::homeCountry},
    {"hbHomePhone", T::homePhone},
    {"hbHomeFax", T::homeFax},
    {"hbHomeMobile", T::homeMobile},
    {"hbHomeWebAddress", T::homeWebAddress},
    {"hbBusCompany", T::busCompany},
    {"hbBusAddress", T::busAddress},
    {"hbBusCity", T::busCity},
    {"hbBusState", T::busState},
    {"hbBusZipCode", T::busZipCode},
    {"hbBusCountry", T::busCountry},
    {"hbBusTitle", T::busTitle},
    {"hbBusDepartment", T::busDepartment},
    {"hbBusOffice", T::busOffice},
    {"hbBusPhone", T::busPhone},
    {"hbBusFax", T::busFax},
    {"hbBusPager", T::busPager},
    {"hbBusWebAddress", T::busWebAddress},
    {"hbComment", T::comment},
    {"hbFirstName", T::firstName},
    {"hbMiddleName", T::middleName},
    {"hbLastName", T::lastName},
    {"hbNickName", T::nickName},
    {"hbSpouse", T::spouse},
    {"hbBusManager", T::busManager},
    // The vCard folders keep five fields more.
    {"hbBusIPPhone", T::busIPPhone},
    {"hbEmail2", T::email2},
    {"hbEmail3", T::email3},
    {"hbCategories", T::categories},
    {"hbBusAssistant", T::busAssistant},
}};

std::size_t keyCount(HistoryFields fields) {
    return fields == HistoryFields::SystemBook ? 29 : kKeys.size();
}

}  // namespace

std::vector<ContactText> historyFieldsOf(HistoryFields fields) {
    std::vector<ContactText> out;
    for (std::size_t i = 0; i < keyCount(fields); ++i) out.push_back(kKeys[i].field);
    return out;
}

std::string escapeHistoryValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string unescapeHistoryValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() &&
            (value[i + 1] == 'r' || value[i + 1] == 'n')) {
            out += value[++i] == 'r' ? '\r' : '\n';
        } else {
            out += value[i];
        }
    }
    return out;
}

void IniContactHistory::open(const std::string& path) {
    path_ = path;
    changed_ = false;
    const auto bytes = readFileBytes(path);
    document_ = ProfileDocument::parse(bytes && *bytes ? std::string_view(**bytes) : "");
}

Status IniContactHistory::save() const {
    return writeFileAtomically(path_, document_.serialize());
}

int IniContactHistory::Put(const ContactRecord& record) {
    if (record.email().empty()) return kFailed;
    std::vector<ProfileEntry> entries;
    if (!record.fullName().empty()) {
        entries.push_back({"cn", escapeHistoryValue(record.fullName())});
    }
    for (std::size_t i = 0; i < keyCount(fields_); ++i) {
        entries.push_back({kKeys[i].key, escapeHistoryValue(record.text(kKeys[i].field))});
    }
    changed_ = true;
    return document_.replaceSection(record.email(), entries) ? 0 : kFailed;
}

int IniContactHistory::Get(const std::string& email, ContactRecord& out) const {
    if (email.empty()) return kFailed;
    ContactTexts texts{};
    std::vector<std::string> values;
    values.reserve(keyCount(fields_) + 1);
    texts[static_cast<std::size_t>(T::email)] = email;
    values.push_back(unescapeHistoryValue(document_.find(email, "cn").value_or("")));
    texts[static_cast<std::size_t>(T::fullName)] = values.back();
    for (std::size_t i = 0; i < keyCount(fields_); ++i) {
        values.push_back(unescapeHistoryValue(document_.find(email, kKeys[i].key).value_or("")));
        texts[static_cast<std::size_t>(kKeys[i].field)] = values.back();
    }
    out = ContactRecord();
    out.setTexts(texts);
    return 0;
}

bool IniContactHistory::Contains(const std::string& email) const {
    return !email.empty() && document_.find(email, "cn").has_value();
}

int IniContactHistory::Remove(const std::string& email) {
    if (email.empty()) return kFailed;
    changed_ = true;
    document_.removeSection(email);
    return 0;
}

void IniContactHistory::Emails(std::vector<std::string>& out) const {
    for (auto& name : document_.sectionNames()) out.push_back(std::move(name));
}

}  // namespace vellix
