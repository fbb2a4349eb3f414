#include "core/settings_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/atomic_file.h"
#include "core/contact_folders_file.h"
#include "support/temp_folder.h"

namespace vellix {
namespace {

TEST(SettingsPathsTest, XdgBasesFallBackToHome) {
    struct Case {
        Environment env;
        std::string config;
        std::string data;
    };
    const Case cases[] = {
        {{{"HOME", "/home/u"}}, "/home/u/.config", "/home/u/.local/share"},
        {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/dat"}},
         "/cfg",
         "/dat"},
        {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", "rel/ative"}},
         "/home/u/.config",
         "/home/u/.local/share"},
        {{}, "", ""},
        {{{"HOME", "relative"}}, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(configHome(c.env), c.config);
        EXPECT_EQ(dataHome(c.env), c.data);
    }
}

TEST(SettingsPathsTest, LocateCreatesEveryLevelOrFallsBackBesideTheExecutable) {
    test::TempFolder dir;
    const std::string root = dir.path();
    const std::string exe = root + "/bin/vellix";
    const SettingsLocation found =
        locateSettings({{"HOME", root + "/home"}, {"XDG_DATA_HOME", root + "/d/e/f"}}, exe);
    EXPECT_EQ(found.iniPath, root + "/home/.config/Vellix/Vellix.ini");
    EXPECT_EQ(found.dataFolder, root + "/d/e/f/Vellix/");
    EXPECT_TRUE(std::filesystem::is_directory(root + "/home/.config/Vellix"));
    EXPECT_TRUE(std::filesystem::is_directory(root + "/d/e/f/Vellix"));

    dir.write("blocker", "file");
    const SettingsLocation fallback = locateSettings(
        {{"XDG_CONFIG_HOME", root + "/blocker/cfg"}, {"XDG_DATA_HOME", root + "/blocker"}}, exe);
    EXPECT_EQ(fallback.iniPath, exe + ".ini");
    EXPECT_EQ(fallback.dataFolder, root + "/bin/");
    EXPECT_EQ(locateSettings({}, exe).iniPath, exe + ".ini");
    EXPECT_EQ(handOverFilePath(exe), exe + ".tmp");
}

TEST(SettingsPathsTest, AccountFolderNames) {
    const std::pair<std::string, std::string> cases[] = {{"ann@example.com", "ann@example.com"},
                                                         {"Ann Smith", "Ann Smith"},
                                                         {"..", "%2E%2E"},
                                                         {".", "%2E"},
                                                         {"...", "..."},
                                                         {"../x", "..%2Fx"},
                                                         {"a\\b", "a%5Cb"},
                                                         {"50%", "50%25"},
                                                         {"%2E%2E", "%252E%252E"},
                                                         {std::string("nul\0x", 5), "nul%00x"},
                                                         {"tab\tnl\n", "tab%09nl%0A"},
                                                         {"\xE4\xB8\xAD", "\xE4\xB8\xAD"}};
    for (const auto& [account, expected] : cases) {
        auto folder = accountFolderName(account);
        ASSERT_TRUE(folder) << account;
        EXPECT_EQ(*folder, expected);
    }
    EXPECT_FALSE(accountFolderName(""));
    EXPECT_TRUE(accountFolderName(std::string(255, 'a')));
    EXPECT_FALSE(accountFolderName(std::string(86, '/')));
    auto user = userFolderPath("/data/Vellix", "a/b");
    ASSERT_TRUE(user);
    EXPECT_EQ(*user, "/data/Vellix/a%2Fb/");
}

TEST(ContactFoldersFileTest, RoundTripAndDamagedFiles) {
    test::TempFolder dir;
    const std::string path = dir.file("confolder.dat");
    auto none = readContactFolders(path);
    ASSERT_TRUE(none);
    EXPECT_EQ(*none, ContactFolderIds{});

    const ContactFolderIds ids{std::string("pub\0id", 6), "private"};
    ASSERT_TRUE(writeContactFolders(path, ids));
    const std::string bytes = encodeContactFolders(ids);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x06\x00\x00\x00", 4));
    EXPECT_EQ(bytes.size(), 4u + 6u + 4u + 7u);
    auto back = readContactFolders(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, ids);

    const std::string damaged[] = {
        "",
        std::string("\x01\x00", 2),
        bytes.substr(0, bytes.size() - 1),
        bytes + "x",
        std::string("\xFF\xFF\xFF\xFF", 4) + "abc",
        std::string("\x00\x00\x00\x00\x05\x00\x00\x00", 8) + "abc",
    };
    for (const auto& bad : damaged) EXPECT_FALSE(decodeContactFolders(bad)) << bad.size();
    EXPECT_FALSE(writeContactFolders(path, {std::string(kMaxContactFolderIdBytes + 1, 'x'), ""}));
    EXPECT_EQ(*readContactFolders(path), ids);
}

}  // namespace
}  // namespace vellix
