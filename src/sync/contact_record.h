#pragma once
// One contact or contact group as the server, the local stores and the history files
// exchange it. All texts are bytes, kept exactly as received.

#include <cstdint>
#include <string>
#include <vector>

namespace vellix {

struct ContactRecord {
    // Thirty-six text fields are numbered for the field-by-field merge and the store maps.
    static constexpr int kFieldCount = 36;

    std::int32_t imapUID = 0;  // 0 = none
    std::string guid;
    std::string firstName;
    std::string middleName;
    std::string lastName;
    std::string fullName;
    std::string email;
    std::string email2;
    std::string email3;
    std::string busCompany;
    std::string busTitle;
    std::string busPhone;
    std::string busFax;
    std::string busIPPhone;
    std::string busWebAddress;
    std::string busPager;
    std::string homePhone;
    std::string homeFax;
    std::string homeMobile;
    std::string homeWebAddress;
    std::string IMAddress;
    std::string categories;
    std::string homeAddress;  // line breaks held as CR LF
    std::string homeCity;
    std::string homeState;
    std::string homeZipcode;
    std::string homeCountry;
    std::string busAddress;  // line breaks held as CR LF
    std::string busCity;
    std::string busState;
    std::string busZipCode;
    std::string busCountry;
    std::string busDepartment;
    std::string busOffice;
    std::string busManager;
    std::string busAssistant;
    std::string nickName;
    std::string spouse;
    std::string comment;
    std::string TNEF;      // opaque, carried unchanged
    std::string modified;  // "YYYY-MM-DD hh:mm" of the last local change
    bool isGroup = false;
    std::vector<ContactRecord> members;

    // Index outside 0..35: empty text / no change.
    std::string GetField(int index) const;
    void SetField(int index, std::string value);

    bool operator==(const ContactRecord&) const = default;
};

// The member behind a field number, or nullptr outside 0..35.
std::string ContactRecord::*contactFieldMember(int index);

}  // namespace vellix
