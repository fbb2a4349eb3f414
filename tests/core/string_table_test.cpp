#include "core/string_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace vellix {
namespace {

TEST(StringTable, EveryIdHasTextInBothLanguages) {
    const StringTable english(Language::English);
    const StringTable chinese(Language::Chinese);
    ASSERT_FALSE(StringTable::ids().empty());
    for (int id : StringTable::ids()) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(english.text(id).empty());
        EXPECT_FALSE(chinese.text(id).empty());
        EXPECT_NE(english.text(id), chinese.text(id));
    }
}

TEST(StringTable, KnownTexts) {
    struct Case {
        int id;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {IDS_STATUS_ONLINE, "Online", "联机"},
        {IDS_STATUS_AWAY, "Away", "离开"},
        {IDS_STATUS_INVISIBLE, "Invisible", "隐身"},
        {IDS_STATUS_OFFLINE, "Offline", "脱机"},
        {IDS_EXIT_QUESTION, "Do you really want to close Vellix?", "确认希望关闭Vellix吗？"},
        {IDS_EXIT_DONT_SHOW, "Don't show this message again", "以后不要显示该邮件"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(StringTable(Language::English).text(c.id), c.english);
        EXPECT_EQ(StringTable(Language::Chinese).text(c.id), c.chinese);
    }
}

TEST(StringTable, UnknownIdGivesEmptyText) {
    for (int id : {0, -1, 159, 32784, 99999}) {
        EXPECT_EQ(StringTable(Language::English).text(id), "") << id;
        EXPECT_EQ(StringTable(Language::Chinese).text(id), "") << id;
    }
}

TEST(StringTable, StatusWordsRoundTripInBothLanguages) {
    for (Language language : {Language::English, Language::Chinese}) {
        const StringTable table(language);
        for (const char* word : {"Online", "Away", "Invisible", "Offline"}) {
            SCOPED_TRACE(word);
            const std::string shown = table.localizedStatus(word);
            EXPECT_EQ(table.protocolStatus(shown), word);
        }
    }
}

TEST(StringTable, StatusMapping) {
    struct Case {
        Language language;
        const char* protocol;
        const char* shown;
    };
    const Case cases[] = {
        {Language::Chinese, "away", "离开"},  // letter case of the server ignored
        {Language::Chinese, "OFFLINE", "脱机"},
        {Language::English, "invisible", "Invisible"},
        {Language::Chinese, "Busy", "Busy"},  // outside the four: kept as received
        {Language::English, "", ""},
        {Language::Chinese, "Online ", "Online "},  // no trimming
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.protocol);
        EXPECT_EQ(StringTable(c.language).localizedStatus(c.protocol), c.shown);
    }
    // Shown words outside the table are sent as they are, and a Chinese table does not
    // take English words for its own.
    EXPECT_EQ(StringTable(Language::Chinese).protocolStatus("Busy"), "Busy");
    EXPECT_EQ(StringTable(Language::Chinese).protocolStatus("离开"), "Away");
    EXPECT_EQ(StringTable(Language::English).protocolStatus("离开"), "离开");
}

TEST(StringTable, LanguageFromLocaleName) {
    const std::pair<const char*, Language> cases[] = {
        {"zh_CN.UTF-8", Language::Chinese}, {"zh_TW", Language::Chinese}, {"zh", Language::Chinese},
        {"en_US.UTF-8", Language::English}, {"C", Language::English},     {"", Language::English},
        {"de_DE@euro", Language::English},  {"ZH_CN", Language::English},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(languageFromLocaleName(name), expected) << name;
    }
}

class SavedEnvironment {
  public:
    explicit SavedEnvironment(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) value_ = v;
    }
    ~SavedEnvironment() {
        if (value_) {
            setenv(name_, value_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> value_;
};

TEST(StringTable, LanguageFromEnvironmentFollowsLocalePrecedence) {
    SavedEnvironment all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG");
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", Language::Chinese},
        {nullptr, "en_US.UTF-8", "zh_CN.UTF-8", Language::English},
        {"zh_CN.UTF-8", "en_US.UTF-8", "en_US.UTF-8", Language::Chinese},
        {"", "zh_CN", "en_US", Language::Chinese},  // empty means unset
        {nullptr, nullptr, nullptr, Language::English},
    };
    for (const auto& c : cases) {
        auto set = [](const char* name, const char* value) {
            value ? setenv(name, value, 1) : unsetenv(name);
        };
        set("LC_ALL", c.lcAll);
        set("LC_MESSAGES", c.lcMessages);
        set("LANG", c.lang);
        EXPECT_EQ(languageFromEnvironment(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

}  // namespace
}  // namespace vellix
