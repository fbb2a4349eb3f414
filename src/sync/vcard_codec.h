#pragma once
// One contact as a vCard (3.0, as the vCard-folder tools read and write it): the record's
// fields to and from the card's properties. Cards come from files any program may have
// written, so reading accepts what it does not know and never fails.

#include <string>
#include <string_view>

#include "sync/contact_record.h"

namespace vellix {

struct VcardContact {
    ContactRecord record;
    std::string uid;  // the card's UID; empty when it has none
};

// The first card of the text. Lines may be folded and end with CR LF or LF alone; a
// property of unknown name is ignored.
VcardContact parseVcard(std::string_view text);
// A whole card, CR LF line ends, long lines folded at 75 bytes without splitting a UTF-8
// character. `sortAs`, when not empty, is written as the name's SORT-AS.
std::string writeVcard(const ContactRecord& record, std::string_view uid,
                       std::string_view sortAs = {});

// `fresh` with the lines of `old` whose properties the codec does not map (a photo, a
// birthday, another program's own fields) put back before its END, so rewriting a card
// never drops what the user keeps there.
std::string keepUnknownProperties(std::string_view old, std::string fresh);

}  // namespace vellix
