#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "core/settings_keys.h"
#include "server/webmail_link.h"
#include "support/recording_frame.h"
#include "tray/c_main_frame_menu.h"
#include "tray/menu_commands.h"

namespace vellix {
namespace {

struct FakeDesktop final : MenuDesktop {
    void showMessage(const std::string& text) override { calls.push_back("message:" + text); }
    void openUrl(const std::string& url) override { calls.push_back("url:" + url); }
    void openFolder(const std::string& path) override { calls.push_back("folder:" + path); }
    void startProgram(const std::string& path) override { calls.push_back("program:" + path); }
    void showOptions(OptionsPage page) override {
        calls.push_back("options:" + std::to_string(static_cast<int>(page)));
    }
    std::vector<std::string> calls;
};

struct FakeDialogs final : ServerDialogs {
    std::optional<LoginAnswer> askLogin(const std::vector<RememberedAccount>& accounts,
                                        int slot) override {
        ++asked;
        offered = accounts.size();
        selected = slot;
        return answer;
    }
    void showError(const std::string&) override {}
    void closeError() override {}
    std::optional<LoginAnswer> answer;
    int asked = 0;
    std::size_t offered = 0;
    int selected = -1;
};

struct YesExit final : ExitConfirmation {
    Answer ask(bool) override { return {true, false}; }
};

struct FakeHost final : MenuHost {
    int showMenu(const MenuModel& model, int px, int py) override {
        x = px;
        y = py;
        hadInbox = model.find(menu_id::kInbox) != nullptr;
        return choice;
    }
    int choice = 0, x = 0, y = 0;
    bool hadInbox = false;
};

constexpr MessageId kSentinel = WM_APP + 0x3fff;

class MenuCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (FrameKind kind : kKinds) {
            RecordingFrame::Handler handler;
            if (kind == FrameKind::Server) handler = [this](Message& m) { return keepLink(m); };
            started_[kind] = test::startRecordingFrame(frames, kind, clock, handler);
        }
        session.update([](SessionState& s) { s.sessionId = "S1"; });
        statusWord.set("Online");
    }
    void TearDown() override {
        for (auto& [kind, frame] : started_) {
            frame.thread->quit();
            frame.thread->wait();
        }
    }

    LResult keepLink(Message& m) {
        if (auto link = m.take<WebmailLink>()) {
            std::lock_guard lock(linksMutex_);
            links_.push_back(link->format + "|" + link->arguments[0] + "|" +
                             std::to_string(link->trayStateAfter));
        }
        return 0;
    }
    std::string lastLink() {
        std::lock_guard lock(linksMutex_);
        return links_.empty() ? std::string() : links_.back();
    }
    test::RecordingFrame& frame(FrameKind kind) { return *started_.at(kind).frame; }
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

    static constexpr std::array kKinds{FrameKind::Server,      FrameKind::Tray,
                                       FrameKind::Note,        FrameKind::WindowHandler,
                                       FrameKind::BuddyWindow, FrameKind::Main};
    using RecordingFrame = test::RecordingFrame;

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
    QTemporaryDir dir;
    FakeDesktop desktop;
    FakeDialogs dialogs;
    YesExit exitDialog;
    MenuContext context{frames,
                        strings,
                        folderTable,
                        buddyTable,
                        notification,
                        session,
                        statusWord,
                        manualStatus,
                        account,
                        accountSettings,
                        dir.filePath(QStringLiteral("Vellix.ini")).toStdString(),
                        dir.path().toStdString() + "/",
                        &desktop,
                        &dialogs,
                        &exitDialog};

  private:
    std::map<FrameKind, test::StartedFrame> started_;
    std::mutex linksMutex_;
    std::vector<std::string> links_;
};

TEST_F(MenuCommandsTest, EachCommandReachesItsReceiver) {
    FolderStatus inbox, work;
    inbox.name = "Inbox";
    work.name = "Work & Co";
    work.newCount = 2;
    MenuSnapshot snapshot;
    snapshot.hasSession = snapshot.messaging = true;
    snapshot.folders = {inbox, work};
    snapshot.buddies = {{"ann@x", "Ann", "Online"}};
    const MenuModel model = buildMenu(snapshot, strings);
    const std::string fax = dir.filePath(QStringLiteral("faxclient")).toStdString();
    std::ofstream(fax) << "#!/bin/sh\n";

    struct Case {
        int id;
        bool session;
        FrameKind to;
        MessageId message;  // 0: no message
        WParam w;
        std::string payload;  // a string payload, or the link as "format|argument|state"
        std::string desktopCall;
    };
    const std::string list = "&View=List&NextFolder=%s|";
    const Case cases[] = {
        {33001, true, FrameKind::Server, UM_OPEN_LINK, 0, list + "Work & Co|1", ""},
        {33001, false, FrameKind::Server, 0, 0, "", ""},
        {33299, true, FrameKind::Server, 0, 0, "", ""},
        {34000, true, FrameKind::WindowHandler, UM_START_CONVERSATION, 0, "ann@x", ""},
        {34001, true, FrameKind::WindowHandler, 0, 0, "", ""},
        {32781, true, FrameKind::WindowHandler, UM_START_CONVERSATION, 0, "", ""},
        {32771, true, FrameKind::Server, UM_OPEN_LINK, 0, "&View=List&NextFolder=Inbox||1", ""},
        {32777, true, FrameKind::Server, UM_OPEN_LINK, 0,
         "&View=Message&NextFolder=%s&NextFirstUnread=Yes|Work & Co|1", ""},
        {109, true, FrameKind::Server, UM_OPEN_LINK, 0, "&NextView=CalendarWeekView||1", ""},
        {32775, true, FrameKind::Server, UM_OPEN_LINK, 0, "&View=Compose&New=Yes||0", ""},
        {32775, false, FrameKind::Server, 0, 0, "", "message:" + strings.text(118)},
        {32772, true, FrameKind::Server, UM_RELOGIN, 0, "", ""},
        {107, true, FrameKind::Server, UM_LOGOUT, 0, "", ""},
        {108, false, FrameKind::Server, UM_RELOAD_ACCOUNT, 0, "", ""},
        {115, true, FrameKind::BuddyWindow, UM_SHOW_MAIN_WINDOW, 0, "", ""},
        {32766, true, FrameKind::Note, UM_SHOW_ALERT, 0, "", ""},
        {32767, true, FrameKind::Note, UM_SHOW_ALERT, 0, "", ""},
        {32790, true, FrameKind::Server, UM_SET_STATUS, 0, "Away", ""},
        {32783, true, FrameKind::Server, UM_SET_STATUS, 0, "Offline", ""},
        {32782, true, FrameKind::Server, UM_SET_STATUS, 0, "Online", ""},
        {32774, true, FrameKind::Main, WM_QUIT, 0, "", ""},
        {32776, true, FrameKind::Server, 0, 0, "", "url:https://www.brisgate.example/"},
        {32778, true, FrameKind::Server, 0, 0, "", "options:1"},
        {32773, true, FrameKind::Server, 0, 0, "", "options:0"},
        {32780, true, FrameKind::Server, 0, 0, "", "options:2"},
        {32797, true, FrameKind::Server, 0, 0, "", "folder:" + context.dataFolder + "History/"},
        {1079, true, FrameKind::Server, 0, 0, "", ""},  // not configured yet
        {12345, true, FrameKind::Server, 0, 0, "", ""},
    };
    std::map<FrameKind, std::size_t> counts;
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
        EXPECT_EQ(got.id, c.message);
        EXPECT_EQ(got.w, c.w);
        if (c.message == UM_OPEN_LINK) {
            EXPECT_EQ(lastLink(), c.payload);
        } else {
            EXPECT_EQ(got.text.value_or(""), c.payload);
            EXPECT_EQ(got.hadPayload, !c.payload.empty());
        }
        if (c.message == UM_SET_STATUS) {
            EXPECT_EQ(manualStatus.load(), c.id != 32782);
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(context.dataFolder + "History"));

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
    ASSERT_TRUE(frame(FrameKind::Tray).waitForMessages(2));
    const auto tray = frame(FrameKind::Tray).messages();
    EXPECT_EQ(tray[0].id, UM_SERVER_STATE);
    EXPECT_EQ(std::pair(tray[0].w, tray[0].l), std::pair(WParam{1}, LParam{1}));
    EXPECT_EQ(std::pair(tray[1].w, tray[1].l), std::pair(WParam{2}, LParam{1}));

    for (int id : {menu_id::kDelaySound, menu_id::kDelayNoticeAlt})
        runMenuCommand(context, model, id);
    EXPECT_TRUE(notification.soundDelayed && notification.noticeDelayed);
    for (int id : {menu_id::kDelaySoundAlt, menu_id::kDelayNotice})
        runMenuCommand(context, model, id);
    EXPECT_FALSE(notification.soundDelayed || notification.noticeDelayed);
    expectCounts({{FrameKind::Tray, 2}});
}

TEST_F(MenuCommandsTest, LoginDialogStoresTheAccount) {
    ProfileFile ini(context.iniPath);
    ASSERT_TRUE(saveAccount(ini, "old@x", "", false).ok());
    const MenuModel model;
    runMenuCommand(context, model, menu_id::kLogIn);  // cancelled
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(dialogs.offered, 1u);
    EXPECT_EQ(dialogs.selected, 1);

    dialogs.answer = LoginAnswer{"bob@x", "pw", true};
    runMenuCommand(context, model, menu_id::kLogIn);
    EXPECT_EQ(account.get().user, "bob@x");
    EXPECT_EQ(account.get().password, "pw");
    EXPECT_EQ(rememberedAccounts(ini).size(), 2u);
    EXPECT_EQ(loadAccountSettings(ini).password, "pw");
    ASSERT_TRUE(frame(FrameKind::Server).waitForMessages(1));
    EXPECT_EQ(frame(FrameKind::Server).messages()[0].id, UM_RELOAD_ACCOUNT);
    EXPECT_EQ(frame(FrameKind::Server).messages()[0].w, 1u);
    expectCounts({{FrameKind::Server, 1}});
}

TEST_F(MenuCommandsTest, FrameShowsTheMenuAndAsksForLogin) {
    FakeHost host;
    host.choice = menu_id::kInbox;
    dialogs.answer = LoginAnswer{"ann@x", "pw", false};
    FrameThread thread(FrameKind::Menu, frames, [&]() -> std::unique_ptr<Frame> {
        return std::make_unique<CMainFrame_Menu>(MenuFrameDeps{context, &host}, clock);
    });
    ASSERT_TRUE(thread.startAndWait());
    frames.post(FrameKind::Menu, UM_SHOW_MENU, 10, -20);
    frames.post(FrameKind::Menu, UM_NEED_SERVER);
    frames.post(FrameKind::Menu, UM_NEED_LOGIN);
    ASSERT_TRUE(frame(FrameKind::Server).waitForMessages(3));
    const auto got = frame(FrameKind::Server).messages();
    EXPECT_EQ(got[0].id, UM_OPEN_LINK);
    EXPECT_EQ(lastLink(), "&View=List&NextFolder=Inbox||1");
    EXPECT_EQ(std::pair(host.x, host.y), std::pair(10, -20));
    EXPECT_TRUE(host.hadInbox);
    EXPECT_EQ(got[1].id, UM_RELOGIN);
    EXPECT_EQ(got[2].id, UM_RELOGIN);
    EXPECT_EQ(dialogs.asked, 2);
    frames.post(FrameKind::Menu, UM_QUIT_THREAD);
    thread.wait();
    expectCounts({{FrameKind::Server, 3}});
}

}  // namespace
}  // namespace vellix
