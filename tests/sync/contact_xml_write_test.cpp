#include <gtest/gtest.h>

#include <filesystem>

#include "sync/contact_list.h"
#include "sync/contact_xml.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

using testing::contact;

// The list that tests/sync/data/contact_and_group.xml holds: every field of a contact in
// use, then a group whose members carry their three written fields or only an email.
ContactList fullList() {
    ContactRecord full;
    for (std::size_t i = 0; i < kContactTextCount; ++i) {
        full.setText(static_cast<ContactText>(i), "v-" + std::string(kContactXmlTags[i]));
    }
    full.setGuid("0f3c9a1b2c3d4e5f60718293a4b5c6d7");
    full.setHomeAddress("1 Main St\r\nFlat 2");
    full.setModified("2004-03-01 17:05");
    full.setComment("a & b <i>");
    full.imapUID = -5;

    ContactRecord group = contact("", "Team", "77ab");
    group.isGroup = true;
    group.setComment("Core team");
    group.setBusCity("not written for a group");
    ContactRecord first = contact("m1@example.com", "Member One", "aa01");
    first.setComment("not written for a member");
    group.members = {first, contact("m2@example.com")};

    ContactList list;
    list.Append(full);
    list.Append(group);
    return list;
}

TEST(ContactXmlWriteTest, MatchesTheGoldenFilesByteForByte) {
    ContactList emailOnly;
    emailOnly.Append(contact("ann@example.com"));
    // Take the generated guid away again: only the email is left to write.
    emailOnly.PutByEmail(contact("ann@example.com"));

    const std::pair<const char*, ContactList> cases[] = {
        {"empty.xml", ContactList()},
        {"email_only.xml", emailOnly},
        {"contact_and_group.xml", fullList()},
    };
    test::TempFolder dir;
    for (const auto& [golden, list] : cases) {
        const std::string expected =
            test::readFile(std::string(VELLIX_SOURCE_DIR) + "/tests/sync/data/" + golden);
        EXPECT_EQ(contactXmlText(list), expected) << golden;
        ASSERT_TRUE(list.WriteXml(dir.file(golden))) << golden;
        EXPECT_EQ(test::readFile(dir.file(golden)), expected) << golden;
    }
}

TEST(ContactXmlWriteTest, ReplacesTheFileWholeOrFailsWritingNothing) {
    test::TempFolder dir;
    ContactList list;
    list.Append(contact("a@x", "A", "g"));
    EXPECT_FALSE(list.WriteXml(dir.file("missing-folder/contacts.xml")));
    EXPECT_FALSE(list.WriteXml(""));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    const std::string path = dir.file("public-remote.xml");
    test::writeFile(path, std::string(100000, 'x'));
    ASSERT_TRUE(list.WriteXml(path));
    EXPECT_EQ(test::readFile(path), contactXmlText(list));
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST(ContactXmlWriteTest, WriteThenReadGivesTheSameRecords) {
    ContactList original = fullList();
    ContactRecord plain = contact("b@x", "B", "bb");
    plain.setBusAddress("Line 1\r\nLine 2\r\n");
    plain.setComment("&amp; stays &amp; <BR> too");
    plain.setTNEF(std::string("\x01\x02\xff", 3));
    plain.imapUID = 2147483647;
    original.Append(plain);
    original.Append(contact("c@x", "", "cc"));

    test::TempFolder dir;
    const std::string path = dir.file("round.xml");
    ASSERT_TRUE(original.WriteXml(path));
    ContactList read;
    ASSERT_TRUE(read.ReadXml(path));

    // Groups keep only their written fields; a member without guid is given one.
    std::vector<ContactRecord> expected = testing::records(original);
    const std::vector<ContactRecord> actual = testing::records(read);
    ASSERT_EQ(actual.size(), expected.size());
    expected[1].setBusCity({});
    expected[1].members[0].setComment({});
    ASSERT_EQ(actual[1].members.size(), 2u);
    EXPECT_TRUE(testing::isGuidText(actual[1].members[1].guid()));
    expected[1].members[1].setGuid(actual[1].members[1].guid());
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace vellix
