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
    const ServerCurrent out{.url = "http://h/", .user = "a", .password = "p", .runningInterval = 5};
    ServerCurrent in = out;
    in.loggedIn = true;
    ServerCurrent saved = out;
    saved.savedAccount = true;
    const ServerForm same{.url = "http://h/",
                          .user = "a",
                          .password = "p",
                          .interval = "5",
                          .proxyServer = "",
                          .proxyPort = "80",
                          .mailClient = ""};
    const ServerEdits none, account{true, false}, connection{false, true};
    std::string ServerForm::*const intervalField = &ServerForm::interval;
    std::string ServerForm::*const urlField = &ServerForm::url;
    struct Case {
        const char* name;
        std::string ServerForm::*field;  // the one field typed, if any
        const char* typed;
        const ServerCurrent& current;
        ServerEdits edits;
        const char* url;  // nullptr: the interval is rejected
        AccountAction account;
        std::string restarts;  // "timer", "notice" or nothing
    } cases[] = {
        {"interval 0", intervalField, "0", in, none, nullptr, None, ""},
        {"interval 361", intervalField, "361", in, none, nullptr, None, ""},
        {"interval not a number", intervalField, "5x", in, none, nullptr, None, ""},
        {"interval 1 restarts the timer", intervalField, "1", in, none, "http://h/", None, "timer"},
        {"interval 360 logged out", intervalField, "360", out, none, "http://h/", None, ""},
        {"bare host", urlField, "mail.x/app", out, account, "http://mail.x/app", Relogin, ""},
        {"upper-case scheme", urlField, "HTTPS://h/", out, account, "http://HTTPS://h/", Relogin,
         ""},
        {"https kept", urlField, "https://h/", in, account, "https://h/", AskThenRelogin, ""},
        {"edited back to the same account", nullptr, "", in, account, "http://h/", None, ""},
        {"new password logged out", &ServerForm::password, "q", out, account, "http://h/", Relogin,
         ""},
        {"unedited, logged out, saved account", nullptr, "", saved, none, "http://h/", Login, ""},
        {"only the proxy port", &ServerForm::proxyPort, "8080", in, connection, "http://h/", None,
         "notice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ServerForm form = same;
        if (c.field) form.*c.field = c.typed;
        const ServerApplyPlan plan = planServerApply(form, c.current, c.edits);
        EXPECT_EQ(plan.intervalRejected, c.url == nullptr);
        if (!c.url) continue;
        EXPECT_EQ(plan.url, c.url);
        EXPECT_EQ(plan.account, c.account);
        EXPECT_EQ(plan.restartTimer, c.restarts == "timer");
        EXPECT_EQ(plan.restartNotice, c.restarts == "notice");
        EXPECT_EQ(plan.handToSession, !c.current.loggedIn);
    }
    // The proxy radio needs a server; the port alone is not enough.
    for (const auto& [server, missing] : {std::pair{" ", true}, {"p", false}}) {
        ServerForm proxy = same;
        proxy.connectionType = 1;
        proxy.proxyServer = server;
        EXPECT_EQ(proxyServerMissing(proxy), missing) << server;
    }
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
    // "name:topic" of each page shown, in order.
    auto names = [&](LoginState state) {
        std::string out;
        for (const auto* entry : pagesFor(pages, state)) {
            out += (entry->openName.empty() ? "(misc)" : entry->openName) + ":" +
                   std::to_string(entry->helpTopic) + " ";
        }
        return out;
    };
    EXPECT_EQ(names({false, false}), "Skyloom:11 About:1 ");
    EXPECT_EQ(names({false, true}), "Skyloom:11 About:1 ");
    EXPECT_EQ(names({true, false}),
              "Skyloom:11 Notifications:6 Address Book:11 Sounds:8 (misc):7 About:1 ");
    EXPECT_EQ(names({true, true}),
              "Skyloom:11 Notifications:6 Address Book:11 Buddy List:3 Sounds:8 (misc):7 About:1 ");

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
