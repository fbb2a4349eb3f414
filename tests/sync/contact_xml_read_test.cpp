#include <gtest/gtest.h>

#include <climits>

#include "sync/contact_list.h"
#include "sync/contact_xml.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

ContactList readList(const std::string& text) {
    ContactList list;
    readContactXmlText(text, list);
    return list;
}

std::vector<ContactRecord> readText(const std::string& text) {
    return testing::records(readList(text));
}

TEST(ContactXmlReadTest, DecodesFieldValues) {
    struct Case {
        const char* element;  // the lines between <contact> and </contact>
        ContactText field;
        std::string expected;
    } cases[] = {
        {"<email>a&amp;b</email>", ContactText::email, "a&b"},
        {"<email>&amp;lt;</email>", ContactText::email, "&lt;"},  // decoded once
        {"<email><![CDATA[a&amp;b]]></email>", ContactText::email, "a&amp;b"},
        {"<email>&lt;&gt;&apos;&quot;&nbsp;&</email>", ContactText::email, "<>'\"&nbsp;&"},
        {"<email><![CDATA[]]></email>", ContactText::email, ""},
        {"<email><![CDATA[x]]</email>", ContactText::email, "<![CDATA[x]]"},
        {"<email>]]></email>", ContactText::email, "]]>"},
        {"<email>a</email>b</email>", ContactText::email, "a"},
        {"<email><![CDATA[a</email>b]]></email>", ContactText::email, "<![CDATA[a"},
        {"</email>x<email>y</email>", ContactText::email, "y"},
        {"<email>no end", ContactText::email, ""},
        {"<email2>two</email2>", ContactText::email, ""},
        {"<email2>two</email2>", ContactText::email2, "two"},
        {"<EMAIL>upper</EMAIL>", ContactText::email, ""},
        {"<fullName> padded  </fullName>", ContactText::fullName, " padded  "},
        {"<homeAddress>l1<BR>l2<br>l3</homeAddress>", ContactText::homeAddress, "l1\r\nl2<br>l3"},
        {"<busAddress><![CDATA[l1<BR>l2]]></busAddress>", ContactText::busAddress, "l1\r\nl2"},
        {"<busAddress>&lt;BR&gt;</busAddress>", ContactText::busAddress, "\r\n"},
        {"<comment>l1<BR>l2</comment>", ContactText::comment, "l1<BR>l2"},
        {"<homeZipcode>z</homeZipcode><busZipCode>b</busZipCode>", ContactText::homeZipcode, "z"},
        {"<comment>line 1\r\nline 2</comment>", ContactText::comment, "line 1\r\nline 2"},
        {"<TNEF>opaque</TNEF><modified>2004-03-01 17:05</modified>", ContactText::TNEF, "opaque"},
    };
    for (const auto& c : cases) {
        const auto read = readText(std::string("<contact>\r\n") + c.element + "\r\n</contact>\r\n");
        ASSERT_EQ(read.size(), 1u) << c.element;
        EXPECT_EQ(read[0].text(c.field), c.expected) << c.element;
    }
}

TEST(ContactXmlReadTest, ReadsImapUidAsSignedDecimal) {
    const std::pair<const char*, std::int32_t> cases[] = {{"-5", -5},
                                                          {"<![CDATA[42]]>", 42},
                                                          {"abc", 0},
                                                          {"12abc", 12},
                                                          {"  +7", 7},
                                                          {"", 0},
                                                          {"99999999999", INT_MAX},
                                                          {"-99999999999", INT_MIN},
                                                          {"- 1", 0}};
    for (const auto& [raw, expected] : cases) {
        const auto read =
            readText(std::string("<contact><imapUID>") + raw + "</imapUID></contact>\r\n");
        ASSERT_EQ(read.size(), 1u) << raw;
        EXPECT_EQ(read[0].imapUID, expected) << raw;
    }
}

TEST(ContactXmlReadTest, FindsElementsLineByLine) {
    const std::string longPad(2038, 'x');  // "<contact>" still ends inside the first piece
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> emails;
    } cases[] = {
        {"duplicate guids in any letter case keep the first",
         "<contact>\r\n<guid>AB12</guid>\r\n<email>1</email>\r\n</contact>\r\n"
         "<contact>\r\n<guid>ab12</guid>\r\n<email>2</email>\r\n</contact>\r\n",
         {"1"}},
        {"one line per element", "<contact><email>1</email></contact>\n<contact><email>2", {"1"}},
        {"text outside elements is ignored",
         "junk <email>0</email>\r\n<contact>\r\n<email>1</email>\r\n</contact>\r\ntrailing",
         {"1"}},
        {"a last line without a line feed counts",
         "<contact>\n<email>1</email>\n</contact>",
         {"1"}},
        {"an unclosed contact is dropped",
         "<contact><email>1</email></contact>\n<contact>\n",
         {"1"}},
        {"an unclosed group is dropped with its members",
         "<contact><email>1</email></contact>\n<group>\n<contact><email>2</email></contact>\n",
         {"1"}},
        {"a tag split at the piece size is not seen",
         std::string(2043, 'x') + "<contact><email>1</email></contact>\n",
         {}},
        {"a tag just inside the piece size is seen",
         longPad + "<contact><email>1</email></contact>\n",
         {"1"}},
        {"a closing tag on the same line as the group's own tags",
         "<group><fullName>T</fullName></group>\n<contact><email>2</email></contact>\n",
         {"", "2"}},
    };
    for (const auto& c : cases) EXPECT_EQ(testing::emailsOf(readList(c.text)), c.emails) << c.name;
}

TEST(ContactXmlReadTest, ReadsGroupsWithTheirMembers) {
    const std::string text =
        "<group>\r\n<guid>G1</guid>\r\n<fullName>Team</fullName>\r\n"
        "  <contact>\r\n  <guid>m1</guid>\r\n  <email>m1@x</email>\r\n"
        "  <fullName>Member</fullName>\r\n  <comment>c</comment>\r\n  </contact>\r\n"
        "  <contact>\r\n  <email>m2@x</email>\r\n  </contact>\r\n"
        "<comment>after the members</comment>\r\n</group>\r\n";
    const auto read = readText(text);
    ASSERT_EQ(read.size(), 1u);
    ASSERT_EQ(read[0].members.size(), 2u);
    // The group keeps its own name, not its member's; a member without guid is given one.
    ContactRecord group = testing::contact("", "Team", "G1");
    group.isGroup = true;
    group.setComment("after the members");
    ContactRecord first = testing::contact("m1@x", "Member", "m1");
    first.setComment("c");
    group.members = {first, testing::contact("m2@x", "", read[0].members[1].guid())};
    EXPECT_EQ(read[0], group);
    EXPECT_TRUE(testing::isGuidText(read[0].members[1].guid()));
}

TEST(ContactXmlReadTest, ReadingAddsToTheListAndFailsOnlyWhenUnreadable) {
    test::TempFolder dir;
    const std::string path = dir.file("two.xml");
    test::writeFile(path,
                    "<contact><guid>g1</guid><email>1</email></contact>\n"
                    "<contact><guid>g2</guid><email>2</email></contact>\n");
    ContactList list;
    list.Append(testing::contact("0", "", "g0"));
    list.Append(testing::contact("x", "", "g2"));
    ASSERT_TRUE(list.ReadXml(path));
    EXPECT_EQ(testing::emailsOf(list), (std::vector<std::string>{"0", "x", "1"}));

    const auto before = testing::records(list);
    EXPECT_FALSE(list.ReadXml(dir.file("missing.xml")));
    EXPECT_FALSE(list.ReadXml(dir.path()));  // a folder
    EXPECT_EQ(testing::records(list), before);
}

// Arbitrary bytes are left to the fuzz target; here, values it cannot reach.
TEST(ContactXmlReadTest, HugeValuesAndNulBytesAreReadWhole) {
    // A value of megabytes on one line: its closing tag falls across pieces, which only
    // the element boundaries care about.
    const std::string big(3 * 1024 * 1024 + 5, 'v');
    const auto read = readText("<contact>\r\n<guid>g</guid><comment>" + big +
                               std::string("</comment><email>a\0b</email>\r\n</contact>\r\n", 42));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].comment(), big);
    EXPECT_EQ(read[0].email(), std::string("a\0b", 3));
}

}  // namespace
}  // namespace vellix
