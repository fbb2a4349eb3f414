#include "sync/eds_contact_fields.h"

#include <libebook/libebook.h>

#include <algorithm>
#include <array>
#include <string>

#include "sync/glib_handles.h"
#include "sync/ini_contact_history.h"

namespace vellix {
namespace {

using T = ContactText;

struct StringField {
    EContactField eds;
    T field;
};
constexpr std::array<StringField, 16> kStrings = {{
    {E_CONTACT_FULL_NAME, T::fullName},
    {E_CONTACT_EMAIL_1, T::email},
    {E_CONTACT_NICKNAME, T::nickName},
    {E_CONTACT_SPOUSE, T::spouse},
    {E_CONTACT_NOTE, T::comment},
    {E_CONTACT_PHONE_HOME, T::homePhone},
    {E_CONTACT_PHONE_HOME_FAX, T::homeFax},
    {E_CONTACT_PHONE_MOBILE, T::homeMobile},
    {E_CONTACT_ORG, T::busCompany},
    {E_CONTACT_TITLE, T::busTitle},
    {E_CONTACT_ORG_UNIT, T::busDepartment},
    {E_CONTACT_OFFICE, T::busOffice},
    {E_CONTACT_PHONE_BUSINESS, T::busPhone},
    {E_CONTACT_PHONE_BUSINESS_FAX, T::busFax},
    {E_CONTACT_PHONE_PAGER, T::busPager},
    {E_CONTACT_MANAGER, T::busManager},
}};

// street, locality, region, code, country
struct AddressFields {
    EContactField eds;
    std::array<T, 5> parts;
};
constexpr std::array<AddressFields, 2> kAddresses = {{
    {E_CONTACT_ADDRESS_HOME,
     {T::homeAddress, T::homeCity, T::homeState, T::homeZipcode, T::homeCountry}},
    {E_CONTACT_ADDRESS_WORK,
     {T::busAddress, T::busCity, T::busState, T::busZipCode, T::busCountry}},
}};

// The two web addresses are URL properties told apart by their type; the book's own
// untyped "home page" counts as the home one.
struct UrlField {
    const char* type;
    T field;
};
constexpr std::array<UrlField, 2> kUrls = {
    {{"HOME", T::homeWebAddress}, {"WORK", T::busWebAddress}}};

// The book keeps LF line breaks, records CR LF.
std::string fromBook(const char* value) {
    std::string out;
    if (!value) return out;
    for (const char* c = value; *c; ++c) {
        if (*c == '\n' && (c == value || c[-1] != '\r')) out += '\r';
        out += *c;
    }
    return out;
}

std::string toBook(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r') {
            out += '\n';
            if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

// The C string of a value, or null (which removes the property) for an empty one.
const char* orNull(const std::string& value) {
    return value.empty() ? nullptr : value.c_str();
}

void replace(gchar*& part, std::string_view value) {
    g_free(part);
    part = value.empty() ? nullptr : g_strdup(toBook(value).c_str());
}

bool isEmpty(const gchar* part) {
    return !part || !*part;
}

EVCardAttribute* findUrl(EVCard* card, const char* type) {
    EVCardAttribute* untyped = nullptr;
    for (GList* at = e_vcard_get_attributes(card); at; at = at->next) {
        auto* attribute = static_cast<EVCardAttribute*>(at->data);
        if (g_ascii_strcasecmp(e_vcard_attribute_get_name(attribute), EVC_URL) != 0) continue;
        if (e_vcard_attribute_has_type(attribute, type)) return attribute;
        if (!untyped && !e_vcard_attribute_has_type(attribute, "WORK") &&
            !e_vcard_attribute_has_type(attribute, "HOME")) {
            untyped = attribute;
        }
    }
    return g_str_equal(type, "HOME") ? untyped : nullptr;
}

void setUrl(EVCard* card, const char* type, std::string_view value) {
    EVCardAttribute* attribute = findUrl(card, type);
    const std::string text = toBook(value);
    if (text.empty()) {
        if (attribute) e_vcard_remove_attribute(card, attribute);
    } else if (attribute) {
        e_vcard_attribute_remove_values(attribute);
        e_vcard_attribute_add_value(attribute, text.c_str());
    } else {
        attribute = e_vcard_attribute_new(nullptr, EVC_URL);
        e_vcard_attribute_add_param_with_value(attribute, e_vcard_attribute_param_new(EVC_TYPE),
                                               type);
        e_vcard_append_attribute_with_value(card, attribute, text.c_str());
    }
}

}  // namespace

ContactRecord recordFromEContact(EContact* contact) {
    std::array<std::string, kContactTextCount> values;
    auto at = [&values](T field) -> std::string& {
        return values[static_cast<std::size_t>(field)];
    };
    for (const auto& entry : kStrings) {
        const glib::Chars value(static_cast<gchar*>(e_contact_get(contact, entry.eds)));
        at(entry.field) = fromBook(value.get());
    }
    if (auto* name = static_cast<EContactName*>(e_contact_get(contact, E_CONTACT_NAME))) {
        at(T::firstName) = fromBook(name->given);
        at(T::middleName) = fromBook(name->additional);
        at(T::lastName) = fromBook(name->family);
        e_contact_name_free(name);
    }
    for (const auto& address : kAddresses) {
        auto* read = static_cast<EContactAddress*>(e_contact_get(contact, address.eds));
        if (!read) continue;
        const std::array<const gchar*, 5> parts = {read->street, read->locality, read->region,
                                                   read->code, read->country};
        for (std::size_t i = 0; i < parts.size(); ++i) at(address.parts[i]) = fromBook(parts[i]);
        e_contact_address_free(read);
    }
    auto* card = reinterpret_cast<EVCard*>(contact);
    for (const auto& url : kUrls) {
        if (EVCardAttribute* attribute = findUrl(card, url.type)) {
            const glib::Chars value(e_vcard_attribute_get_value(attribute));
            at(url.field) = fromBook(value.get());
        }
    }
    ContactTexts texts{};
    for (std::size_t i = 0; i < values.size(); ++i) texts[i] = values[i];
    ContactRecord record;
    record.setTexts(texts);
    return record;
}

bool applyRecordToEContact(const ContactRecord& record, EContact* contact) {
    // The fields kept are the ones the history keeps.
    static const std::vector<T> kept = historyFieldsOf(HistoryFields::SystemBook);
    const ContactRecord held = recordFromEContact(contact);
    if (held.fullName() == record.fullName() && held.email() == record.email() &&
        std::ranges::all_of(kept,
                            [&](T field) { return held.text(field) == record.text(field); })) {
        return false;
    }

    // Read before the full name is set, which makes up name parts of its own where there
    // are none; written after it. An empty name stays as empty parts.
    auto* name = static_cast<EContactName*>(e_contact_get(contact, E_CONTACT_NAME));
    if (!name) name = e_contact_name_new();
    for (const auto& entry : kStrings) {
        e_contact_set(contact, entry.eds, orNull(toBook(record.text(entry.field))));
    }
    replace(name->given, record.firstName());
    replace(name->additional, record.middleName());
    replace(name->family, record.lastName());
    e_contact_set(contact, E_CONTACT_NAME, name);
    e_contact_name_free(name);

    for (const auto& address : kAddresses) {
        auto* write = static_cast<EContactAddress*>(e_contact_get(contact, address.eds));
        if (!write) write = e_contact_address_new();
        const std::array<gchar**, 5> parts = {&write->street, &write->locality, &write->region,
                                              &write->code, &write->country};
        bool empty = isEmpty(write->po) && isEmpty(write->ext);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            replace(*parts[i], record.text(address.parts[i]));
            empty = empty && isEmpty(*parts[i]);
        }
        e_contact_set(contact, address.eds, empty ? nullptr : write);
        e_contact_address_free(write);
    }
    auto* card = reinterpret_cast<EVCard*>(contact);
    for (const auto& url : kUrls) setUrl(card, url.type, record.text(url.field));
    return true;
}

}  // namespace vellix
