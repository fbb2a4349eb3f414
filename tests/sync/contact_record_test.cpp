#include <gtest/gtest.h>

#include "sync/contact_record.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

TEST(ContactRecordTest, FieldNumbersReachTheirFieldsAndOtherNumbersNothing) {
    using R = ContactRecord;
    std::string R::*const members[] = {
        &R::fullName,      &R::firstName,     &R::middleName,     &R::lastName,     &R::homeAddress,
        &R::homeCity,      &R::homeState,     &R::homeZipcode,    &R::homeCountry,  &R::homePhone,
        &R::homeFax,       &R::homeMobile,    &R::homeWebAddress, &R::busCompany,   &R::busAddress,
        &R::busCity,       &R::busState,      &R::busZipCode,     &R::busCountry,   &R::busTitle,
        &R::busDepartment, &R::busOffice,     &R::busPhone,       &R::busFax,       &R::busPager,
        &R::busIPPhone,    &R::busWebAddress, &R::busManager,     &R::busAssistant, &R::comment,
        &R::email2,        &R::email3,        &R::IMAddress,      &R::categories,   &R::nickName,
        &R::spouse};
    ASSERT_EQ(std::size(members), static_cast<std::size_t>(R::kFieldCount));
    for (int index = 0; index < R::kFieldCount; ++index) {
        ContactRecord record, expected;
        record.SetField(index, "value " + std::to_string(index));
        expected.*members[index] = "value " + std::to_string(index);
        EXPECT_EQ(record, expected) << "index " << index;
        EXPECT_EQ(record.GetField(index), expected.*members[index]) << "index " << index;
    }
    ContactRecord record = testing::contact("a@x", "A", "g");
    const ContactRecord before = record;
    for (int index : {-1, 36, 41, 1000}) {
        record.SetField(index, "x");
        EXPECT_EQ(record.GetField(index), "") << index;
    }
    EXPECT_EQ(record, before);
}

}  // namespace
}  // namespace vellix
