#include "core/user_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/atomic_file.h"
#include "core/spelling_setup.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

// Records every call; the file lists read back what was set.
class RecordingSpelling final : public SpellingEngine {
  public:
    std::vector<std::string> calls;
    std::string main, user = "userdic.tlx,other.tlx";

    void setRegTreeName(const std::string& v) override { calls.push_back("reg " + v); }
    void setHelpFile(const std::string& v) override { calls.push_back("help " + v); }
    void setMainLexPath(const std::string& v) override { calls.push_back("mainpath " + v); }
    std::string mainLexFiles() const override { return main; }
    void setMainLexFiles(const std::string& v) override { calls.push_back("main " + v); }
    std::string userLexFiles() const override { return user; }
    void setUserLexFiles(const std::string& v) override { calls.push_back("user " + (user = v)); }
    void setUserLexPath(const std::string& v) override { calls.push_back("userpath " + v); }
};

TEST(SpellingSetupTest, ConfiguresInOrderAndKeepsWhatIsAlreadyConfigured) {
    struct Case {
        std::string main, user;
        std::vector<std::string> tail;
    } cases[] = {
        {"", "", {"main ssceam.tlx,ssceam2.clx", "user userdic.tlx"}},
        {"mine.tlx", "", {"user userdic.tlx"}},
        {"", "own.tlx", {"main ssceam.tlx,ssceam2.clx"}},
        {"mine.tlx", "own.tlx", {}},
    };
    for (const auto& c : cases) {
        RecordingSpelling engine;
        engine.main = c.main;
        engine.user = c.user;
        setUpSpellingEngine(engine, "/opt/vellix");
        std::vector<std::string> expected = {"reg SOFTWARE\\Brisgate Technologies\\Vellix\\SSCE",
                                             "help /opt/vellix/ssce.hlp",
                                             "mainpath /opt/vellix/lex"};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(engine.calls, expected);
    }
}

using test::readFile;

class UserSettingsTest : public ::testing::Test {
  protected:
    std::string data() const { return dir_.path() + "/data/Vellix/"; }
    AccountSettingsTarget target(const std::string& account) {
        return {data(), account, &spelling_, &settings_};
    }
    test::TempFolder dir_;
    RecordingSpelling spelling_;
    AccountSettingsFile settings_;
};

TEST_F(UserSettingsTest, ReceivingCreatesTheFolderSeedsTheDictionaryAndStampsVersion) {
    auto folder = receiveAccountSettings("[Vellix]\r\nInterval=0\r\n", target("ann@example"));
    ASSERT_TRUE(folder) << folder.error();
    EXPECT_EQ(*folder, data() + "ann@example/");
    EXPECT_EQ(settings_.path(), data() + "ann@example/settings.tmp");
    ASSERT_EQ(spelling_.calls, std::vector<std::string>{"userpath " + data() + "ann@example/lex"});
    EXPECT_EQ(readFile(data() + "ann@example/lex/userdic.tlx"),
              "#LID 24941\nBrisgate\ti\nVellix\ti\nOrvith\ti\nHarbane\ti\nTolvern\ti\n"
              "Skyloom\ti\n");
    EXPECT_FALSE(fileExists(data() + "ann@example/lex/other.tlx"));
    // The server's bytes stay as sent, CRLF included; the stamp follows their line ends.
    EXPECT_EQ(readFile(settings_.path()), "[Vellix]\r\nInterval=0\r\nVersion=9.0.0\r\n");
    EXPECT_EQ(settings_.read(account::kInterval), 0);
    EXPECT_EQ(account::readPollInterval(settings_.file()), 5);
}

TEST_F(UserSettingsTest, AnExistingDictionaryIsKeptAndTheTextReplaced) {
    const std::string lex = data() + "bob/lex/";
    dir_.write("data/Vellix/bob/lex/mine.tlx", "#LID 24941\nwords\ti\n");
    spelling_.user = " mine.tlx ";
    ASSERT_TRUE(receiveAccountSettings("[Vellix]\nTipFolder=INBOX\nStale=1\n", target("bob")));
    ASSERT_TRUE(receiveAccountSettings("[Vellix]\nTipFolder=Sent\n", target("bob")));
    EXPECT_EQ(readFile(lex + "mine.tlx"), "#LID 24941\nwords\ti\n");
    EXPECT_EQ(readFile(data() + "bob/settings.tmp"), "[Vellix]\nTipFolder=Sent\nVersion=9.0.0\n");
}

TEST_F(UserSettingsTest, NothingReceivedDeletesTheLocalCopy) {
    ASSERT_TRUE(receiveAccountSettings("[Vellix]\nInterval=9\n", target("ann")));
    ASSERT_TRUE(fileExists(settings_.path()));
    auto none = receiveAccountSettings(std::nullopt, target("ann"));
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, "");
    EXPECT_FALSE(fileExists(settings_.path()));
    EXPECT_EQ(settings_.read(account::kInterval), 5);
    // Unknown path: nothing to delete, nothing fails.
    AccountSettingsFile fresh;
    EXPECT_TRUE(receiveAccountSettings(std::nullopt, {data(), "ann", nullptr, &fresh}));
}

TEST_F(UserSettingsTest, AccountNamesNeverLeaveTheDataFolder) {
    for (const char* name : {"..", "../../etc", "a/b", "/abs", "."}) {
        auto folder = receiveAccountSettings("[Vellix]\n", target(name));
        ASSERT_TRUE(folder) << name << ": " << folder.error();
        const auto parent = std::filesystem::path(*folder).parent_path().parent_path();
        EXPECT_EQ(parent.string() + "/", data()) << name;
        EXPECT_TRUE(fileExists(*folder + "settings.tmp")) << name;
    }
    EXPECT_FALSE(receiveAccountSettings("[Vellix]\n", target("")));
}

TEST_F(UserSettingsTest, FolderThatCannotBeMadeFailsButKeepsThePath) {
    dir_.write("data/Vellix", "a file, not a folder");
    auto folder = receiveAccountSettings("[Vellix]\n", target("ann"));
    EXPECT_FALSE(folder);
    EXPECT_EQ(settings_.path(), data() + "ann/settings.tmp");
    EXPECT_EQ(settings_.read(account::kFolderInMenu), 10);
}

TEST_F(UserSettingsTest, ReadingTheAccountSettings) {
    const std::string path =
        dir_.write("settings.tmp",
                   "[Vellix]\nTipFolder=INBOX\nBkgrndColor=255\nDefaultBlinkIcon=No\n"
                   "DefaultShowNotice=yes\nEntry0:Name=INBOX\nEntry0:PlaySound=0\n"
                   "Entry0:InWindow=1\nEntry1:Name=Sent\nEntry3:Name=Unreached\nInterval=-4\n");
    const UserSettings settings = readUserSettings(ProfileFile(path));
    EXPECT_EQ(settings.tipFolder, "INBOX");
    EXPECT_EQ(settings.bkgrndColor, 255);
    EXPECT_EQ(settings.textColor, 0);
    EXPECT_FALSE(settings.defaultBlinkIcon);
    EXPECT_TRUE(settings.defaultPlaySound);
    EXPECT_TRUE(settings.defaultShowNotice);
    EXPECT_FALSE(settings.defaultOpenMessage);
    ASSERT_EQ(settings.entries.size(), 2u);
    EXPECT_EQ(settings.entries[0].rules, (std::array<int, 6>{2, 0, 2, 2, 2, 1}));
    EXPECT_EQ(settings.entries[1].name, "Sent");
    EXPECT_EQ(settings.interval, 5);
}

TEST_F(UserSettingsTest, AccessorFollowsThePathAcrossThreads) {
    EXPECT_FALSE(settings_.writeInt("Vellix", "Interval", 3));  // no path yet
    EXPECT_EQ(settings_.read(account::kInterval), 5);
    const std::string first = dir_.write("one.tmp", "[Vellix]\nInterval=7\n");
    const std::string second = dir_.write("two.tmp", "[Vellix]\nInterval=8\n");
    std::atomic<bool> stop{false};
    std::atomic<int> odd{0};
    std::thread reader([&] {
        while (!stop) {
            const int value = settings_.read(account::kInterval);
            if (value != 5 && value != 7 && value != 8) ++odd;
        }
    });
    for (int i = 0; i < 200; ++i) settings_.setPath(i % 2 ? first : second);
    stop = true;
    reader.join();
    EXPECT_EQ(odd.load(), 0);
    EXPECT_EQ(settings_.path(), first);
    ASSERT_TRUE(settings_.writeBool("Vellix", "PlaySounds", false));
    EXPECT_FALSE(ProfileFile(first).readBool("Vellix", "PlaySounds", true));
}

}  // namespace
}  // namespace vellix
