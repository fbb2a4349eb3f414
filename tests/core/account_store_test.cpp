#include "core/account_store.h"

#include <gtest/gtest.h>

#include "core/password_codec.h"
#include "core/settings_keys.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

class AccountStoreTest : public ::testing::Test {
  protected:
    void put(const std::string& bytes) const { dir_.write("Vellix.ini", bytes); }
    std::string text(const std::string& key) const {
        return ProfileFile(ini_.path()).readText("Vellix", key, "<missing>");
    }
    test::TempFolder dir_;
    ProfileFile ini_{dir_.file("Vellix.ini")};
};

TEST_F(AccountStoreTest, OldSingleAccountKeysMoveToSlotOne) {
    put("[Vellix]\nURL=http://mail.example/\nUser=ann\nPassword=" + encodePassword("pw") +
        "\nPwdSaveFlag=Yes\nProxyPort=3128\n");
    const AccountSettings settings = loadAccountSettings(ini_);
    EXPECT_EQ(settings.url, "http://mail.example/");
    EXPECT_EQ(settings.user, "ann");
    EXPECT_EQ(settings.password, "pw");
    EXPECT_TRUE(settings.remember);
    EXPECT_EQ(settings.connectionType, 0);
    EXPECT_EQ(settings.proxyPort, 3128);
    EXPECT_EQ(text("User1"), "ann");
    EXPECT_EQ(decodePassword(text("Password1")), "pw");
    EXPECT_EQ(text("PwdSaveFlag1"), "Yes");
    EXPECT_EQ(text("LastEntry"), "1");
    EXPECT_EQ(text("LastUser"), "1");
    for (const char* old : {"User", "Password", "PwdSaveFlag"}) EXPECT_EQ(text(old), "<missing>");

    // A second load finds LastEntry set and converts nothing again.
    ASSERT_TRUE(ProfileFile(ini_.path()).writeText("Vellix", "User", "stale"));
    EXPECT_EQ(loadAccountSettings(ini_).user, "ann");
    EXPECT_EQ(text("User"), "stale");
}

TEST_F(AccountStoreTest, SlotsFillUpAndWrapToSlotOne) {
    put("[Vellix]\nLastEntry=0\n");
    ASSERT_TRUE(convertOldAccountKeys(ini_));  // the empty old account takes slot 1
    struct Step {
        const char* user;
        int slot;
        int lastEntry;
    };
    const Step steps[] = {
        {"b", 2, 2}, {"c", 3, 3}, {"d", 4, 4}, {"e", 5, 5}, {"f", 1, 1} /* sixth account */,
        {"g", 2, 2}, {"C", 3, 2}, {"h", 3, 3}};
    for (const auto& step : steps) {
        auto slot = saveAccount(ini_, step.user, "pw", true);
        ASSERT_TRUE(slot) << slot.error();
        EXPECT_EQ(*slot, step.slot) << step.user;
        EXPECT_EQ(text("LastEntry"), std::to_string(step.lastEntry)) << step.user;
        EXPECT_EQ(text("LastUser"), std::to_string(step.slot)) << step.user;
        EXPECT_EQ(text("User" + std::to_string(step.slot)), step.user);
        EXPECT_EQ(loadAccountSettings(ini_).user, step.user);
    }
}

TEST_F(AccountStoreTest, NameMatchIgnoresCaseAndTakesTheLastSlot) {
    put("[Vellix]\nLastEntry=4\nUser1=Bob\nUser2=ann\nUser3=BOB\nUser4=carl\n");
    auto slot = saveAccount(ini_, "bob", "x", false);
    ASSERT_TRUE(slot);
    EXPECT_EQ(*slot, 3);
    EXPECT_EQ(text("User3"), "bob");
    EXPECT_EQ(text("User1"), "Bob");
    EXPECT_EQ(text("LastEntry"), "4");
    EXPECT_EQ(text("LastUser"), "3");
}

TEST_F(AccountStoreTest, RememberFlagControlsTheStoredPassword) {
    put("[Vellix]\nLastEntry=1\nUser1=ann\nPassword1=" + encodePassword("old") +
        "\nPwdSaveFlag1=YES\n");
    ASSERT_TRUE(saveAccount(ini_, "ann", "new", false));
    EXPECT_EQ(text("Password1"), "");
    EXPECT_EQ(text("PwdSaveFlag1"), "NO");
    const AccountSettings cleared = loadAccountSettings(ini_);
    EXPECT_EQ(cleared.password, "");
    EXPECT_FALSE(cleared.remember);

    ASSERT_TRUE(saveAccount(ini_, "ann", "new", true));
    EXPECT_EQ(text("Password1"), encodePassword("new"));
    EXPECT_EQ(text("PwdSaveFlag1"), "YES");
    EXPECT_TRUE(loadAccountSettings(ini_).remember);
}

TEST_F(AccountStoreTest, RememberedAccountsListNonEmptySlots) {
    put("[Vellix]\nLastEntry=4\nUser1=ann\nPassword1=" + encodePassword("a1") +
        "\nPwdSaveFlag1=YES\nUser2=\nUser3=bob\nPassword3=" + encodePassword("b3") +
        "\nPwdSaveFlag3=NO\nUser4=carl\n");
    const auto accounts = rememberedAccounts(ini_);
    ASSERT_EQ(accounts.size(), 3u);
    EXPECT_EQ(accounts[0].slot, 1);
    EXPECT_EQ(accounts[0].password, "a1");
    EXPECT_TRUE(accounts[0].remember);
    EXPECT_EQ(accounts[1].user, "bob");
    EXPECT_EQ(accounts[1].password, "");  // stored, but not to be offered
    EXPECT_FALSE(accounts[1].remember);
    EXPECT_EQ(accounts[2].slot, 4);
}

TEST_F(AccountStoreTest, UnsavableNamesFailWithoutTouchingTheFile) {
    put("[Vellix]\nLastEntry=1\nUser1=ann\n");
    EXPECT_FALSE(saveAccount(ini_, "two\nlines", "x", true));
    EXPECT_EQ(text("LastEntry"), "1");
    EXPECT_EQ(text("User2"), "<missing>");
}

}  // namespace
}  // namespace vellix
