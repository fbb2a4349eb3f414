#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings_keys.h"
#include "server/webmail_link.h"
#include "support/folders.h"
#include "support/frame_threads.h"
#include "support/temp_folder.h"
#include "tray/menu_commands.h"
#include "tray/menu_frame.h"

namespace vellix {
namespace {

struct FakeDesktop final : MenuDesktop {
    void showMessage(const std::string& text) override { calls.push_back("message:" + text); }
    void openUrl(const std::string& url) override { calls.push_back("url:" + url); }
    void openFolder(const std::string& path) override { calls.push_back("folder:" + path); }
    void startProgram(const std::string& path) override { calls.push_back("program:" + path); }
    std::vector<std::string> calls;
};

struct FakeDialogs final : ServerDialogs {
    std::optional<LoginAnswer> askLogin(const std::vector<RememberedAccount>& accounts,
                                        int slot) override {
        asked.emplace_back(accounts.size(), slot);
        return answer;
    }
    void showError(const std::string&) override {}
    void closeError() override {}
    std::optional<LoginAnswer> answer;
    std::vector<std::pair<std::size_t, int>> asked;  // accounts offered, slot selected
};

struct YesExit final : ExitConfirmation {
    Answer ask(bool) override { return {true, false}; }
};

constexpr MessageId kSentinel = WM_APP + 0x3fff;
constexpr std::array kKinds{FrameKind::Server,        FrameKind::Tray,        FrameKind::Note,
                            FrameKind::WindowHandler, FrameKind::BuddyWindow, FrameKind::Main,
                            FrameKind::Options};

class MenuCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (FrameKind kind : kKinds) {
            test::RecordingFrame::Handler keepLinks;
            if (kind == FrameKind::Server) {
                keepLinks = [this](Message& m) {
                    if (auto link = m.take<WebmailLink>())
                        links_.push_back(link->format + "|" + link->arguments[0] + "|" +
                                         std::to_string(trayStateToWire(link->trayStateAfter)));
                    return LResult{0};
                };
            }
            recorders_[kind] = threads_.record(kind, keepLinks);
        }
        session.update([](SessionState& s) { s.sessionId = "S1"; });
        statusWord.set("Online");
    }
    test::RecordingFrame& frame(FrameKind kind) { return *recorders_.at(kind); }
    // Every frame has handled exactly `counts` messages (a sentinel flushes late arrivals).
    void expectCounts(const std::map<FrameKind, std::size_t>& counts) {
        for (FrameKind kind : kKinds) {
            const std::size_t want = counts.contains(kind) ? counts.at(kind) : 0;
            frames.post(kind, kSentinel);
            ASSERT_TRUE(frame(kind).waitForMessages(want + 1)) << frameKindName(kind);
            const auto got = frame(kind).messages();
            EXPECT_EQ(got.size(), want + 1) << frameKindName(kind);
            EXPECT_EQ(got[want].id, kSentinel) << frameKindName(kind);
        }
    }

    Clock clock;
    FrameRegistry frames;
    StringTable strings{Language::English};
    FolderTable folderTable;
    BuddyTable buddyTable;
    NotificationState notification;
    Guarded<SessionState> session;
    Guarded<std::string> statusWord;
    std::atomic<bool> manualStatus{false};
    Guarded<AccountSettings> account;
    AccountSettingsFile accountSettings;
    test::TempFolder dir;
    FakeDesktop desktop;
    FakeDialogs dialogs;
    YesExit exitDialog;
    std::string iniPath = dir.file("Vellix.ini");
    MenuContext context{frames,  strings,          folderTable,  buddyTable, notification,
                        session, statusWord,       manualStatus, account,    accountSettings,
                        iniPath, dir.path() + "/", &desktop,     &dialogs,   &exitDialog};
    std::vector<std::string> links_;  // written before the server records the message
    test::FrameThreads threads_{frames, clock};
    std::map<FrameKind, test::RecordingFrame*> recorders_;
};

TEST_F(MenuCommandsTest, EachCommandReachesItsReceiver) {
    MenuSnapshot snapshot;
    snapshot.hasSession = snapshot.messaging = true;
    snapshot.folders = {test::folder("Inbox"), test::folder("Work & Co", 0, 0, 2)};
    snapshot.buddies = {{"ann@x", "Ann", "Online"}};
    const MenuModel model = buildMenu(snapshot, strings);

    using enum FrameKind;
    struct Case {
        int id;
        bool session;
        FrameKind to;
        MessageId message;    // 0: no message
        std::string payload;  // a string payload, or the link as "format|argument|state"
        std::string desktopCall;
    };
    const std::string list = "&View=List&NextFolder=%s|";
    const Case cases[] = {
        {33001, true, Server, UM_OPEN_LINK, list + "Work & Co|1", ""},
        {33001, false, Server, 0, "", ""},
        {33299, true, Server, 0, "", ""},
        {34000, true, WindowHandler, UM_START_CONVERSATION, "ann@x", ""},
        {34001, true, WindowHandler, 0, "", ""},
        {32781, true, WindowHandler, UM_START_CONVERSATION, "", ""},
        {32771, true, Server, UM_OPEN_LINK, "&View=List&NextFolder=Inbox||1", ""},
        {32777, true, Server, UM_OPEN_LINK,
         "&View=Message&NextFolder=%s&NextFirstUnread=Yes|Work & Co|1", ""},
        {109, true, Server, UM_OPEN_LINK, "&NextView=CalendarWeekView||1", ""},
        {32775, true, Server, UM_OPEN_LINK, "&View=Compose&New=Yes||0", ""},
        {32775, false, Server, 0, "", "message:" + strings.text(118)},
        {32772, true, Server, UM_RELOGIN, "", ""},
        {107, true, Server, UM_LOGOUT, "", ""},
        {108, false, Server, UM_RELOAD_ACCOUNT, "", ""},
        {115, true, BuddyWindow, UM_SHOW_MAIN_WINDOW, "", ""},
        {32766, true, Note, UM_SHOW_ALERT, "", ""},
        {32767, true, Note, UM_SHOW_ALERT, "", ""},
        {32790, true, Server, UM_SET_STATUS, "Away", ""},
        {32783, true, Server, UM_SET_STATUS, "Offline", ""},
        {32782, true, Server, UM_SET_STATUS, "Online", ""},
        {32774, true, Main, WM_QUIT, "", ""},
        {32776, true, Server, 0, "", "url:https://www.brisgate.example/"},
        {32778, true, Options, UM_OPTIONS_PAGE, "About", ""},
        {32773, true, Options, UM_OPTIONS_PAGE, "", ""},
        {32780, true, Options, UM_OPTIONS_PAGE, "Buddy List", ""},
        {32797, true, Server, 0, "", "folder:" + context.dataFolder + "ann@x.test/History/"},
        {1079, true, Server, 0, "", ""},  // not configured yet
        {12345, true, Server, 0, "", ""},
    };
    std::map<FrameKind, std::size_t> counts;
    session.update([](SessionState& s) { s.account = "ann@x.test"; });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        session.update([&](SessionState& s) { s.sessionId = c.session ? "S1" : ""; });
        desktop.calls.clear();
        runMenuCommand(context, model, c.id);
        EXPECT_EQ(desktop.calls, c.desktopCall.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.desktopCall});
        if (c.message == 0) continue;
        const std::size_t n = ++counts[c.to];
        ASSERT_TRUE(frame(c.to).waitForMessages(n));
        const auto got = frame(c.to).messages()[n - 1];
        EXPECT_EQ(std::pair(got.id, got.w), std::pair(c.message, WParam{0}));
        if (c.message == UM_OPEN_LINK) {
            EXPECT_EQ(links_.back(), c.payload);
        } else {
            EXPECT_EQ(got.text.value_or(""), c.payload);
            EXPECT_EQ(got.hadPayload, !c.payload.empty());
        }
        if (c.message == UM_SET_STATUS) {
            EXPECT_EQ(manualStatus.load(), c.id != 32782);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(context.dataFolder + "ann@x.test/History"));

    const std::string fax = dir.write("faxclient", "#!/bin/sh\n");
    ASSERT_TRUE(ProfileFile(context.iniPath).writeText("Vellix", "FaxClient", fax).ok());
    desktop.calls.clear();
    runMenuCommand(context, model, menu_id::kFax);
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"program:" + fax});
    expectCounts(counts);
}

TEST_F(MenuCommandsTest, DelayTogglesFlipTheirFlags) {
    const MenuModel model;
    // Blink: delaying steadies the icon, undelaying blinks it again.
    runMenuCommand(context, model, menu_id::kDelayBlink);
    EXPECT_TRUE(notification.blinkDelayed);
    runMenuCommand(context, model, menu_id::kDelayBlinkAlt);
    EXPECT_FALSE(notification.blinkDelayed);
    expectCounts({{FrameKind::Tray, 2}});
    const auto tray = frame(FrameKind::Tray).messages();
    EXPECT_EQ(std::tuple(tray[0].id, tray[0].w, tray[0].l),
              std::tuple(UM_SERVER_STATE, WParam{1}, LParam{0}));
    EXPECT_EQ(std::tuple(tray[1].id, tray[1].w, tray[1].l),
              std::tuple(UM_SERVER_STATE, WParam{2}, LParam{0}));

    for (int id : {menu_id::kDelaySound, menu_id::kDelayNoticeAlt})
        runMenuCommand(context, model, id);
    EXPECT_TRUE(notification.soundDelayed && notification.noticeDelayed);
    for (int id : {menu_id::kDelaySoundAlt, menu_id::kDelayNotice})
        runMenuCommand(context, model, id);
    EXPECT_FALSE(notification.soundDelayed || notification.noticeDelayed);
}

TEST_F(MenuCommandsTest, LoginDialogStoresTheAccount) {
    ProfileFile ini(context.iniPath);
    ASSERT_TRUE(saveAccount(ini, "old@x", "", false).ok());
    const MenuModel model;
    runMenuCommand(context, model, menu_id::kLogIn);  // cancelled
    dialogs.answer = LoginAnswer{"bob@x", "pw", true};
    runMenuCommand(context, model, menu_id::kLogIn);
    EXPECT_EQ(dialogs.asked, (std::vector<std::pair<std::size_t, int>>{{1, 1}, {1, 1}}));
    EXPECT_EQ(account.get().user, "bob@x");
    EXPECT_EQ(account.get().password, "pw");
    EXPECT_EQ(rememberedAccounts(ini).size(), 2u);
    EXPECT_EQ(loadAccountSettings(ini).password, "pw");
    expectCounts({{FrameKind::Server, 1}});
    const auto got = frame(FrameKind::Server).messages()[0];
    EXPECT_EQ(std::pair(got.id, got.w), std::pair(UM_RELOAD_ACCOUNT, WParam{1}));
}

TEST_F(MenuCommandsTest, FrameShowsTheMenuAndAsksForLogin) {
    struct FakeHost final : MenuHost {
        int showMenu(const MenuModel& model, int px, int py) override {
            shown = {px, py, model.find(menu_id::kInbox) != nullptr};
            return menu_id::kInbox;
        }
        std::tuple<int, int, bool> shown;
    } host;
    dialogs.answer = LoginAnswer{"ann@x", "pw", false};
    FrameThread thread(FrameKind::Menu, frames, [&]() -> std::unique_ptr<Frame> {
        return std::make_unique<CMainFrame_Menu>(MenuFrameDeps{context, &host}, clock);
    });
    ASSERT_TRUE(thread.startAndWait());
    frames.post(FrameKind::Menu, UM_SHOW_MENU, 10, -20);
    frames.post(FrameKind::Menu, UM_NEED_SERVER);
    frames.post(FrameKind::Menu, UM_NEED_LOGIN);
    frames.post(FrameKind::Menu, UM_QUIT_THREAD);
    thread.wait();
    // A missing server opens the options window's Server page; a missing login the dialog.
    expectCounts({{FrameKind::Server, 2}, {FrameKind::Options, 1}});
    const auto got = frame(FrameKind::Server).messages();
    EXPECT_EQ(std::vector({got[0].id, got[1].id}), std::vector({UM_OPEN_LINK, UM_RELOGIN}));
    const auto options = frame(FrameKind::Options).messages().at(0);
    EXPECT_EQ(std::pair(options.id, options.text.value_or("")),
              std::pair(UM_OPTIONS_PAGE, std::string("Skyloom")));
    EXPECT_EQ(links_, std::vector<std::string>{"&View=List&NextFolder=Inbox||1"});
    EXPECT_EQ(host.shown, std::tuple(10, -20, true));
    EXPECT_EQ(dialogs.asked.size(), 1u);
}

}  // namespace
}  // namespace vellix
