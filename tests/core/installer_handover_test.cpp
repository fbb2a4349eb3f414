#include "core/installer_handover.h"

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

class HandOverTest : public ::testing::Test {
  protected:
    std::string at(const std::string& name) const { return dir_.file(name); }
    void put(const std::string& name, const std::string& bytes) const { dir_.write(name, bytes); }
    test::TempFolder dir_;
};

TEST_F(HandOverTest, FirstPassCopiesVellixSectionWithoutExtensionKeys) {
    put("vellix.tmp",
        "[Vellix]\r\nURL=http://new/\r\nX-Interval=9\r\nx-lower=1\r\nProxyPort=8080\r\n"
        "[LDAP]\r\nEnableSync=Yes\r\n");
    put("Vellix.ini", "[Vellix]\nURL=http://old/\nLastEntry=2\n");
    ProfileFile ini(at("Vellix.ini"));
    ASSERT_TRUE(copyHandOverToIni(at("vellix.tmp"), ini));
    EXPECT_EQ(ini.readText("Vellix", "URL"), "http://new/");
    EXPECT_EQ(ini.readInt("Vellix", "ProxyPort", 0), 8080);
    EXPECT_EQ(ini.readInt("Vellix", "LastEntry", 0), 2);
    EXPECT_FALSE(ini.hasKey("Vellix", "X-Interval"));
    EXPECT_FALSE(ini.hasKey("Vellix", "Interval"));
    EXPECT_FALSE(ini.hasKey("Vellix", "x-lower"));
    EXPECT_FALSE(ini.hasKey("LDAP", "EnableSync"));
    EXPECT_TRUE(fileExists(at("vellix.tmp")));  // the second pass still needs it

    ProfileFile untouched(at("other.ini"));
    EXPECT_TRUE(copyHandOverToIni(at("missing.tmp"), untouched));
    EXPECT_FALSE(fileExists(at("other.ini")));
}

TEST_F(HandOverTest, SecondPassFillsMissingValuesAndCopiesLdap) {
    put("vellix.tmp",
        "[Vellix]\nX-Interval=15\nX-PlaySounds=No\nPlaySounds=Yes\nX-TipFolder=INBOX\n"
        "Unrelated=1\nX-=empty name\n"
        "[LDAP]\nEnableSync=Yes\nSyncInterval=60\nX-PublicFolder=Shared\n"
        "[Other]\nX-Colour=3\nPlain=4\n");
    put("settings.tmp", "[Vellix]\nTipFolder=Sent\nInterval=\n[LDAP]\nEnableSync=No\n");
    for (const char* sync : {"private.ini", "public.ini", "ldpublic.ini", "ldprivate.ini"}) {
        put(sync, "[x]\n");
    }
    put("keep.ini", "[x]\n");
    ProfileFile settings(at("settings.tmp"));
    ASSERT_TRUE(applyHandOverToAccount(at("vellix.tmp"), settings, at("")));

    struct Expect {
        const char* section;
        const char* key;
        const char* value;
    };
    const Expect expected[] = {
        {"Vellix", "Interval", "15"},       // empty counts as missing
        {"Vellix", "PlaySounds", "Yes"},    // the plain entry beats the X- value
        {"Vellix", "TipFolder", "Sent"},    // present: kept
        {"Vellix", "Unrelated", "<none>"},  // plain keys outside LDAP are ignored
        {"LDAP", "EnableSync", "Yes"},      // LDAP plain keys overwrite
        {"LDAP", "SyncInterval", "60"},    {"LDAP", "PublicFolder", "Shared"},
        {"Other", "Colour", "3"},          {"Other", "Plain", "<none>"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(settings.readText(e.section, e.key, "<none>"), e.value)
            << e.section << "/" << e.key;
    }
    EXPECT_FALSE(settings.hasKey("Vellix", "X-Interval"));
    EXPECT_FALSE(settings.hasKey("Vellix", ""));
    for (const char* gone :
         {"vellix.tmp", "private.ini", "public.ini", "ldpublic.ini", "ldprivate.ini"}) {
        EXPECT_FALSE(fileExists(at(gone))) << gone;
    }
    EXPECT_TRUE(fileExists(at("keep.ini")));
}

TEST_F(HandOverTest, SecondPassKeepsSyncStateWithoutHandOverOrWhenSettingsAreUnwritable) {
    put("public.ini", "[x]\n");
    ProfileFile settings(at("settings.tmp"));
    ASSERT_TRUE(applyHandOverToAccount(at("vellix.tmp"), settings, at("")));
    EXPECT_TRUE(fileExists(at("public.ini")));
    EXPECT_FALSE(fileExists(at("settings.tmp")));

    // A hand-over that cannot be applied is kept for next time.
    put("vellix.tmp", "[LDAP]\nEnableSync=Yes\n");
    ProfileFile nowhere(at("missing/settings.tmp"));
    EXPECT_FALSE(applyHandOverToAccount(at("vellix.tmp"), nowhere, at("")));
    EXPECT_TRUE(fileExists(at("vellix.tmp")));
    EXPECT_TRUE(fileExists(at("public.ini")));
}

}  // namespace
}  // namespace vellix
