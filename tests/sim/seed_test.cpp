#include "seed.h"

#include <gtest/gtest.h>

namespace vellix::sim {
namespace {

TEST(SimSeed, ReadsAccountsFoldersAndContacts) {
    const SeedResult r = parse_seed(
        "# comment\n[server]\nversion = 9.1.0\n[account A@x.test]\npassword = p w\n"
        "flags = calendar, instantmessaging\nfolder = INBOX:In box:5:2:1:1\nfolder = Junk\n"
        "buddy = b@x.test\nsettings = a\\nb\ncontact = f@x|Friend\n[account b@x.test]\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.data.version, "9.1.0");
    ASSERT_EQ(r.data.accounts.size(), 2u);
    const AccountSeed& a = r.data.accounts[0];
    EXPECT_EQ(a.password, "p w");
    EXPECT_EQ(a.flags, (std::set<std::string>{"calendar", "instantmessaging"}));
    ASSERT_EQ(a.folders.size(), 2u);
    EXPECT_EQ(a.folders[0].display, "In box");
    EXPECT_EQ(a.folders[0].unread, 2);
    EXPECT_EQ(a.folders[1].display, "Junk");
    EXPECT_EQ(a.folders[1].total, 0);
    EXPECT_EQ(a.buddies[0].name, "b@x.test");  // no name given: the address
    EXPECT_EQ(a.settings, "a\nb");
    EXPECT_EQ(r.data.accounts[1].folders[0].name, "INBOX");
}

TEST(SimSeed, ErrorsNameTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"[account a@x]\nflags = admin\n", "line 2: unknown flag admin"},
        {"[account a@x]\n[account A@X]\n", "line 2: duplicate account"},
        {"[accounts]\n", "line 1: unknown section [accounts]"},
        {"version = 1\n", "line 1: key outside a section"},
        {"[server\n", "line 1: unclosed section header"},
        {"[account a@x]\nfolder = INBOX:In:x\n", "line 2: bad folder INBOX:In:x"},
        {"[account a@x]\nfolder = :In\n", "line 2: bad folder :In"},
        {"[account a@x]\njunk\n", "line 2: expected key = value"},
    };
    for (const auto& c : cases) {
        const SeedResult r = parse_seed(c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.error, c.error) << c.text;
    }
}

TEST(SimSeed, ContactsXmlHasTheClientLayout) {
    const std::string xml = contacts_xml({{"a@x", "Ann"}});
    EXPECT_TRUE(xml.starts_with(
        "<?xml version=\"1.0\"?>\r\n<addressBook>\r\n<contact>\r\n<guid><![CDATA["));
    EXPECT_NE(xml.find("]]></guid>\r\n<email><![CDATA[a@x]]></email>\r\n<fullName><![CDATA[Ann]]></"
                       "fullName>\r\n"
                       "</contact>\r\n</addressBook>\r\n"),
              std::string::npos);
    EXPECT_EQ(contacts_xml({{"A@X", ""}}).substr(64, 32),
              xml.substr(64, 32));  // stable per address
    EXPECT_EQ(contacts_xml({}), "<?xml version=\"1.0\"?>\r\n<addressBook>\r\n</addressBook>\r\n");
}

}  // namespace
}  // namespace vellix::sim
