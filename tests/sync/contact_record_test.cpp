#include <gtest/gtest.h>

#include <set>

#include "sync/contact_guid.h"
#include "sync/contact_record.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

TEST(ContactRecordTest, FieldNumbersReachTheirFields) {
    struct Case {
        int index;
        std::string ContactRecord::*member;
    } cases[] = {
        {0, &ContactRecord::fullName},        {1, &ContactRecord::firstName},
        {2, &ContactRecord::middleName},      {3, &ContactRecord::lastName},
        {4, &ContactRecord::homeAddress},     {5, &ContactRecord::homeCity},
        {6, &ContactRecord::homeState},       {7, &ContactRecord::homeZipcode},
        {8, &ContactRecord::homeCountry},     {9, &ContactRecord::homePhone},
        {10, &ContactRecord::homeFax},        {11, &ContactRecord::homeMobile},
        {12, &ContactRecord::homeWebAddress}, {13, &ContactRecord::busCompany},
        {14, &ContactRecord::busAddress},     {15, &ContactRecord::busCity},
        {16, &ContactRecord::busState},       {17, &ContactRecord::busZipCode},
        {18, &ContactRecord::busCountry},     {19, &ContactRecord::busTitle},
        {20, &ContactRecord::busDepartment},  {21, &ContactRecord::busOffice},
        {22, &ContactRecord::busPhone},       {23, &ContactRecord::busFax},
        {24, &ContactRecord::busPager},       {25, &ContactRecord::busIPPhone},
        {26, &ContactRecord::busWebAddress},  {27, &ContactRecord::busManager},
        {28, &ContactRecord::busAssistant},   {29, &ContactRecord::comment},
        {30, &ContactRecord::email2},         {31, &ContactRecord::email3},
        {32, &ContactRecord::IMAddress},      {33, &ContactRecord::categories},
        {34, &ContactRecord::nickName},       {35, &ContactRecord::spouse},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(ContactRecord::kFieldCount));
    for (const auto& c : cases) {
        ContactRecord record;
        record.SetField(c.index, "value " + std::to_string(c.index));
        ContactRecord expected;
        expected.*c.member = "value " + std::to_string(c.index);
        EXPECT_EQ(record, expected) << "index " << c.index;
        EXPECT_EQ(record.GetField(c.index), expected.*c.member) << "index " << c.index;
    }
}

TEST(ContactRecordTest, NumbersOutsideTheTableReadEmptyAndChangeNothing) {
    ContactRecord record = testing::contact("a@x", "A", "g");
    record.comment = "c";
    const ContactRecord before = record;
    for (int index : {-1, 36, 41, 1000}) {
        record.SetField(index, "x");
        EXPECT_EQ(record.GetField(index), "") << index;
    }
    EXPECT_EQ(record, before);
}

TEST(ContactGuidTest, ThirtyTwoLowerCaseHexDigitsThatDifferEachTime) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string guid = newGuidText();
        EXPECT_TRUE(testing::isGuidText(guid)) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace vellix
