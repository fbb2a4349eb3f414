#pragma once
// A desktop address-book contact and a record: the thirty-one fields that store keeps
// (full name, first e-mail and the twenty-nine of its history) through the service's own
// contact fields. Line breaks are LF in the book and CR LF in records. Whatever else a
// contact holds (a photo, more e-mails, a birthday) is left as it is.

#include "sync/contact_record.h"

using EContact = struct _EContact;

namespace vellix {

ContactRecord recordFromEContact(EContact* contact);
// Writes the record's fields into the contact; false when it already held them all.
bool applyRecordToEContact(const ContactRecord& record, EContact* contact);

}  // namespace vellix
