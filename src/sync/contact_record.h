#pragma once
// One contact or contact group as the server, the local stores and the history files
// exchange it. All texts are bytes, kept exactly as received.
//
// Most of the forty texts are empty in real address books, so a record keeps only the
// ones that are not, packed in one block: an empty field costs nothing.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellix {

// The text fields in the order a contact element is written: X(name, Name).
#define VELLIX_CONTACT_TEXTS(X)                                             \
    X(guid, Guid)                                                           \
    X(email, Email)                                                         \
    X(email2, Email2)                                                       \
    X(email3, Email3)                                                       \
    X(firstName, FirstName)                                                 \
    X(middleName, MiddleName)                                               \
    X(lastName, LastName)                                                   \
    X(fullName, FullName)                                                   \
    X(categories, Categories)                                               \
    X(comment, Comment)                                                     \
    X(IMAddress, IMAddress)                                                 \
    X(nickName, NickName)                                                   \
    X(spouse, Spouse)                                                       \
    X(homeAddress, HomeAddress) /* line breaks held as CR LF */             \
    X(homeCity, HomeCity)                                                   \
    X(homeState, HomeState)                                                 \
    X(homeZipcode, HomeZipcode)                                             \
    X(homeCountry, HomeCountry)                                             \
    X(homePhone, HomePhone)                                                 \
    X(homeFax, HomeFax)                                                     \
    X(homeMobile, HomeMobile)                                               \
    X(homeWebAddress, HomeWebAddress)                                       \
    X(busCompany, BusCompany)                                               \
    X(busAddress, BusAddress) /* line breaks held as CR LF */               \
    X(busCity, BusCity)                                                     \
    X(busState, BusState)                                                   \
    X(busZipCode, BusZipCode)                                               \
    X(busCountry, BusCountry)                                               \
    X(busTitle, BusTitle)                                                   \
    X(busDepartment, BusDepartment)                                         \
    X(busOffice, BusOffice)                                                 \
    X(busPhone, BusPhone)                                                   \
    X(busFax, BusFax)                                                       \
    X(busIPPhone, BusIPPhone)                                               \
    X(busWebAddress, BusWebAddress)                                         \
    X(busPager, BusPager)                                                   \
    X(busAssistant, BusAssistant)                                           \
    X(busManager, BusManager)                                               \
    X(modified, Modified) /* "YYYY-MM-DD hh:mm" of the last local change */ \
    X(TNEF, TNEF)         /* opaque, carried unchanged */

enum class ContactText : std::uint8_t {
#define VELLIX_ENUM_ENTRY(name, Name) name,
    VELLIX_CONTACT_TEXTS(VELLIX_ENUM_ENTRY)
#undef VELLIX_ENUM_ENTRY
};

inline constexpr std::size_t kContactTextCount = 40;
using ContactTexts = std::array<std::string_view, kContactTextCount>;

class ContactRecord {
  public:
    // Thirty-six text fields are numbered for the field-by-field merge and the store maps.
    static constexpr int kFieldCount = 36;

    std::int32_t imapUID = 0;  // 0 = none
    bool isGroup = false;
    std::vector<ContactRecord> members;

    ContactRecord() = default;
    ContactRecord(const ContactRecord& other);
    ContactRecord& operator=(const ContactRecord& other);
    ContactRecord(ContactRecord&&) noexcept = default;
    ContactRecord& operator=(ContactRecord&&) noexcept = default;
    ~ContactRecord() = default;

    std::string_view text(ContactText field) const;
    void setText(ContactText field, std::string_view value);
    // Every text at once, in one allocation (readers and the merge build records so).
    void setTexts(const ContactTexts& values);
    ContactTexts texts() const;

#define VELLIX_ACCESSORS(name, Name)         \
    std::string_view name() const {          \
        return text(ContactText::name);      \
    }                                        \
    void set##Name(std::string_view value) { \
        setText(ContactText::name, value);   \
    }
    VELLIX_CONTACT_TEXTS(VELLIX_ACCESSORS)
#undef VELLIX_ACCESSORS

    // Index outside 0..35: empty text / no change.
    std::string GetField(int index) const;
    void SetField(int index, std::string value);

    bool operator==(const ContactRecord& other) const;

  private:
    // [mask: 64 bits, bit i = text i present][end offset of each present text: 32 bits]
    // [the present texts' bytes]; null when every text is empty.
    std::unique_ptr<char[]> block_;
};

// The text behind a field number, or none outside 0..35.
std::optional<ContactText> contactFieldText(int index);

}  // namespace vellix
