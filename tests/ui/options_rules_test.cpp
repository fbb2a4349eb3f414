// The options window's decisions without widgets: Server page apply plans, which pages a
// login state shows and in which order, and the help page of every topic.
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/help_pages.h"
#include "ui/options_pages.h"
#include "ui/server_page_rules.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

TEST(ServerPageRules, ApplyPlans) {
    using enum AccountAction;
    const ServerCurrent out{.url = "http://h/",
                            .user = "a",
                            .password = "p",
                            .loggedIn = false,
                            .savedAccount = false,
                            .runningInterval = 5};
    ServerCurrent in = out;
    in.loggedIn = true;
    ServerCurrent saved = out;
    saved.savedAccount = true;
    const ServerForm same{.url = "http://h/",
                          .user = "a",
                          .password = "p",
                          .remember = false,
                          .interval = "5",
                          .connectionType = 0,
                          .proxyServer = "",
                          .proxyPort = "80",
                          .mailClient = ""};
    auto with = [&](auto change) {
        ServerForm f = same;
        change(f);
        return f;
    };
    struct Case {
        const char* name;
        ServerForm form;
        ServerCurrent current;
        ServerEdits edits;
        bool rejected;
        std::string url;
        AccountAction account;
        bool restartTimer;
        bool notice;
    };
    const Case cases[] = {
        {"interval 0",
         with([](auto& f) { f.interval = "0"; }),
         in,
         {},
         true,
         "",
         None,
         false,
         false},
        {"interval 361",
         with([](auto& f) { f.interval = "361"; }),
         in,
         {},
         true,
         "",
         None,
         false,
         false},
        {"interval not a number",
         with([](auto& f) { f.interval = "5x"; }),
         in,
         {},
         true,
         "",
         None,
         false,
         false},
        {"interval 1 restarts the timer",
         with([](auto& f) { f.interval = "1"; }),
         in,
         {},
         false,
         "http://h/",
         None,
         true,
         false},
        {"interval 360 logged out: no timer",
         with([](auto& f) { f.interval = "360"; }),
         out,
         {},
         false,
         "http://h/",
         None,
         false,
         false},
        {"bare host gets the scheme",
         with([](auto& f) { f.url = "mail.x/app"; }),
         out,
         {true, false},
         false,
         "http://mail.x/app",
         Relogin,
         false,
         false},
        {"upper-case scheme is not a scheme",
         with([](auto& f) { f.url = "HTTPS://h/"; }),
         out,
         {true, false},
         false,
         "http://HTTPS://h/",
         Relogin,
         false,
         false},
        {"https kept",
         with([](auto& f) { f.url = "https://h/"; }),
         in,
         {true, false},
         false,
         "https://h/",
         AskThenRelogin,
         false,
         false},
        {"edited back to the same account",
         same,
         in,
         {true, false},
         false,
         "http://h/",
         None,
         false,
         false},
        {"new password while logged out",
         with([](auto& f) { f.password = "q"; }),
         out,
         {true, false},
         false,
         "http://h/",
         Relogin,
         false,
         false},
        {"unedited, logged out, saved account",
         same,
         saved,
         {},
         false,
         "http://h/",
         Login,
         false,
         false},
        {"only the proxy port: restart notice",
         with([](auto& f) { f.proxyPort = "8080"; }),
         in,
         {false, true},
         false,
         "http://h/",
         None,
         false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ServerApplyPlan plan = planServerApply(c.form, c.current, c.edits);
        EXPECT_EQ(plan.intervalRejected, c.rejected);
        if (c.rejected) continue;
        EXPECT_EQ(plan.url, c.url);
        EXPECT_EQ(plan.account, c.account);
        EXPECT_EQ(plan.restartTimer, c.restartTimer);
        EXPECT_EQ(plan.restartNotice, c.notice);
        EXPECT_EQ(plan.handToSession, !c.current.loggedIn);
    }
    // The proxy radio needs a server; the port alone is not enough.
    EXPECT_TRUE(proxyServerMissing(with([](auto& f) {
        f.connectionType = 1;
        f.proxyServer = " ";
    })));
    EXPECT_FALSE(proxyServerMissing(with([](auto& f) {
        f.connectionType = 1;
        f.proxyServer = "p";
    })));
    EXPECT_FALSE(proxyServerMissing(same));
}

std::vector<OptionsPageEntry> allPages() {
    std::vector<OptionsPageEntry> pages = standardOptionsPages();
    // Pages other subsystems plug in, entered after ours as the composition root does.
    auto fake = [](PageSlot slot, PageCondition condition, std::string name, int topic) {
        return OptionsPageEntry{slot, condition, std::move(name), topic,
                                [](OptionsContext&) -> OptionsPage* { return nullptr; }};
    };
    pages.push_back(fake(PageSlot::BuddyList, PageCondition::LoggedInWithMessaging, "Buddy List",
                         kHelpTopicBuddyList));
    pages.push_back(
        fake(PageSlot::AddressBook, PageCondition::LoggedIn, "Address Book", kHelpTopicServer));
    return pages;
}

TEST(OptionsPages, ConditionsOrderNamesAndTopics) {
    const std::vector<OptionsPageEntry> pages = allPages();
    auto names = [&](LoginState state) {
        std::vector<std::pair<std::string, int>> out;
        for (const auto* entry : pagesFor(pages, state)) {
            out.emplace_back(entry->openName.empty() ? "(misc)" : entry->openName,
                             entry->helpTopic);
        }
        return out;
    };
    using Shown = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(names({false, false}), (Shown{{"Skyloom", 11}, {"About", 1}}));
    EXPECT_EQ(names({false, true}), (Shown{{"Skyloom", 11}, {"About", 1}}));
    EXPECT_EQ(names({true, false}), (Shown{{"Skyloom", 11},
                                           {"Notifications", 6},
                                           {"Address Book", 11},
                                           {"Sounds", 8},
                                           {"(misc)", 7},
                                           {"About", 1}}));
    EXPECT_EQ(names({true, true}), (Shown{{"Skyloom", 11},
                                          {"Notifications", 6},
                                          {"Address Book", 11},
                                          {"Buddy List", 3},
                                          {"Sounds", 8},
                                          {"(misc)", 7},
                                          {"About", 1}}));

    const auto shown = pagesFor(pages, {true, true});
    EXPECT_EQ(pageIndexByName(shown, "buddy LIST"), 3);
    EXPECT_EQ(pageIndexByName(shown, "skyloom"), 0);
    EXPECT_EQ(pageIndexByName(shown, ""), -1);  // the Misc page has no name to match
    EXPECT_EQ(pageIndexByName(shown, "Buddy"), -1);
}

TEST(OptionsPages, EveryTopicHasAHelpPageInBothLanguages) {
    // The build tree mirrors the install: bin/ beside share/vellix/help.
    const std::string programFolder = std::string(VELLIX_BINARY_DIR) + "/bin/";
    for (int topic : {kHelpTopicAbout, kHelpTopicBuddyList, kHelpTopicNotifications, kHelpTopicMisc,
                      kHelpTopicSounds, kHelpTopicServer}) {
        for (Language language : {Language::English, Language::Chinese}) {
            const std::string path = helpFilePath(programFolder, language, topic);
            EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(helpFilePath(programFolder, Language::English, 2)));
}

}  // namespace
}  // namespace vellix
