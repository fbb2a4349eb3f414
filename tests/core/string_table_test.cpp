#include "core/string_table.h"

#include <gtest/gtest.h>

namespace vellix {
namespace {

const StringTable kEnglish(Language::English);
const StringTable kChinese(Language::Chinese);

TEST(StringTable, EveryIdHasTextInBothLanguagesAndUnknownIdsNone) {
    ASSERT_FALSE(StringTable::ids().empty());
    for (int id : StringTable::ids()) {
        EXPECT_FALSE(kEnglish.text(id).empty()) << id;
        EXPECT_FALSE(kChinese.text(id).empty()) << id;
        EXPECT_NE(kEnglish.text(id), kChinese.text(id)) << id;
    }
    for (int id : {0, -1, 159, 32786, 99999}) EXPECT_EQ(kChinese.text(id) + kEnglish.text(id), "");
}

TEST(StringTable, StatusWordsMapBothWays) {
    struct Case {
        const char* protocol;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {"Online", "Online", "联机"},
        {"Away", "Away", "离开"},
        {"Invisible", "Invisible", "隐身"},
        {"Offline", "Offline", "脱机"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kEnglish.localizedStatus(c.protocol), c.english);
        EXPECT_EQ(kChinese.localizedStatus(c.protocol), c.chinese);
        EXPECT_EQ(kEnglish.protocolStatus(c.english), c.protocol);
        EXPECT_EQ(kChinese.protocolStatus(c.chinese), c.protocol);
    }
    // The server's letter case is ignored; words outside the four pass unchanged both ways,
    // and a Chinese table does not take English words for its own.
    EXPECT_EQ(kChinese.localizedStatus("away"), "离开");
    EXPECT_EQ(kChinese.localizedStatus("OFFLINE"), "脱机");
    EXPECT_EQ(kChinese.localizedStatus("Busy"), "Busy");
    EXPECT_EQ(kChinese.protocolStatus("Busy"), "Busy");
    EXPECT_EQ(kChinese.protocolStatus("Away"), "Away");
    EXPECT_EQ(kEnglish.protocolStatus("离开"), "离开");
    EXPECT_EQ(kEnglish.localizedStatus(""), "");
}

TEST(StringTable, LanguageFromLocaleName) {
    const std::pair<const char*, Language> cases[] = {
        {"zh_CN.UTF-8", Language::Chinese}, {"zh_TW", Language::Chinese}, {"zh", Language::Chinese},
        {"en_US.UTF-8", Language::English}, {"C", Language::English},     {"", Language::English},
        {"ZH_CN", Language::English},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(languageFromLocaleName(name), expected) << name;
    }
}

}  // namespace
}  // namespace vellix
