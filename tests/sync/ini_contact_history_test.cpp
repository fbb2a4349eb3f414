#include <gtest/gtest.h>

#include "sync/ini_contact_history.h"
#include "sync_test_support.h"

namespace vellix {
namespace {

TEST(IniContactHistoryTest, EscapesLineBreaksOnlyAndReadsBackSlashSequencesAsBreaks) {
    const struct {
        const char* value;
        const char* stored;
        const char* readBack;
    } cases[] = {
        {"line 1\r\nline 2", "line 1\\r\\nline 2", "line 1\r\nline 2"},
        {"a\\nb", "a\\nb", "a\nb"},  // a written backslash-n reads as a line feed
        {"back\\slash = x", "back\\slash = x", "back\\slash = x"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeHistoryValue(c.value), c.stored) << c.value;
        EXPECT_EQ(unescapeHistoryValue(escapeHistoryValue(c.value)), c.readBack) << c.value;
    }
}

TEST(IniContactHistoryTest, KeepsTheStoresFieldsAcrossASaveAndTheCnRule) {
    test::TempFolder dir;
    ContactRecord full = testing::contact("Ann@X", "Ann", "g");
    full.setComment("two\r\nlines");
    full.setEmail2("second@x");
    ContactRecord unnamed = testing::contact("nameless@x");
    unnamed.setHomeCity("Town");
    for (const auto fields : {HistoryFields::SystemBook, HistoryFields::VcardFolders}) {
        IniContactHistory history(fields);
        history.open(dir.file("h.ini"));
        ASSERT_EQ(history.Put(full), 0);
        ASSERT_EQ(history.Put(unnamed), 0);
        EXPECT_NE(history.Put(testing::contact("")), 0);
        ASSERT_TRUE(history.save().ok());

        IniContactHistory reread(fields);
        reread.open(dir.file("h.ini"));
        ContactRecord read;
        ASSERT_EQ(reread.Get("ann@x", read), 0);
        EXPECT_EQ(read.fullName(), "Ann");
        EXPECT_EQ(read.comment(), "two\r\nlines");
        EXPECT_EQ(read.email2(), fields == HistoryFields::VcardFolders ? "second@x" : "");
        EXPECT_EQ(read.guid(), "");  // not a stored field
        EXPECT_TRUE(reread.Contains("ANN@x"));
        // Without a full name there is no "cn", so the copy does not count.
        EXPECT_FALSE(reread.Contains("nameless@x"));
        ASSERT_EQ(reread.Get("nameless@x", read), 0);
        EXPECT_EQ(read.homeCity(), "Town");
        ASSERT_EQ(reread.Get("missing@x", read), 0);
        EXPECT_EQ(read.email(), "missing@x");
        EXPECT_EQ(reread.Remove("ann@x"), 0);
        EXPECT_FALSE(reread.Contains("ann@x"));
        EXPECT_NE(reread.Get("", read), 0);
        EXPECT_NE(reread.Remove(""), 0);
    }
}

}  // namespace
}  // namespace vellix
