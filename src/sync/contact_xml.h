#pragma once
// The address-book XML file: what the server sends and accepts, and the history files.
// It is written and read line by line with plain substring searches, not as general XML,
// so that it stays byte-compatible with every peer that exchanges it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sync/contact_list.h"
#include "sync/contact_record.h"

namespace vellix {

// The tags of the 41 fields of a contact element in the order a contact is written: the
// forty texts in their ContactText order, then imapUID, the one number.
extern const std::array<std::string_view, 41> kContactXmlTags;
inline constexpr std::size_t kImapUidTag = kContactTextCount;

inline constexpr std::string_view kContactXmlHeader =
    "<?xml version=\"1.0\"?>\r\n<addressBook>\r\n";
inline constexpr std::string_view kContactXmlTrailer = "</addressBook>\r\n";
// Reading works on pieces of at most this many bytes, each ending after a line feed.
inline constexpr std::size_t kContactXmlPiece = 2047;

// Appends one contact or group element.
void appendContactXml(const ContactRecord& record, std::string& out);
// The whole file as it is written.
std::string contactXmlText(const ContactList& list);

// A record from the text of one element; a tag not found leaves its field empty.
ContactRecord parseContactElement(std::string_view text);
// The decoded value of the first <tag>...</tag> in text (CDATA, entities, then "<BR>" in
// the two address fields).
std::string contactTagValue(std::string_view text, std::string_view tag);
// Signed decimal as the old runtime reads it: leading blanks, a sign, digits; else 0.
std::int32_t parseImapUid(std::string_view text);

// Reads a file's bytes in any chunking and adds its records to a list.
class ContactXmlReader {
  public:
    explicit ContactXmlReader(ContactList& list) : list_(list) {}
    void feed(std::string_view bytes);
    // End of input: a last piece without a line feed counts; an open element is dropped.
    void finish();

  private:
    void line(std::string_view piece);

    ContactList& list_;
    std::string carry_;  // start of a piece not yet complete
    std::string groupText_;
    std::string contactText_;
    std::vector<ContactRecord> members_;
    bool inGroup_ = false;
    bool inContact_ = false;
};

// Adds the records of a whole file held in memory.
void readContactXmlText(std::string_view bytes, ContactList& list);

}  // namespace vellix
