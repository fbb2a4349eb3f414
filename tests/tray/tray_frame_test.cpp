#include "tray/tray_frame.h"

#include <gtest/gtest.h>

#include "recording_tray_host.h"
#include "server/webmail_link.h"
#include "support/folders.h"
#include "support/frame_threads.h"
#include "support/temp_folder.h"
#include "tray/new_mail_pass.h"

namespace vellix {
namespace {

// Every folder holds 10 messages, 5 of them unread.
FolderStatus folder(std::string name, int fresh) {
    return test::folder(std::move(name), 10, 5, fresh);
}

class TrayFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        accountSettings_.setPath(dir_.file("settings.tmp"));
        server_ = threads_.record(FrameKind::Server, [this](Message& m) {
            if (auto link = m.take<WebmailLink>()) links_.push_back(*link);  // server thread only
            return LResult{0};
        });
        menu_ = threads_.record(FrameKind::Menu);
        buddy_ = threads_.record(FrameKind::BuddyWindow);
        const TrayFrameDeps deps{
            clock_,   registry_,        host_,    folders_, notes_,
            session_, accountSettings_, iniPath_, strings_, [] { return std::pair{23, 5}; }};
        ASSERT_TRUE(threads_.start<CMainFrame>(FrameKind::Tray,
                                               [&] { return std::make_unique<CMainFrame>(deps); }));
    }
    // Posts a state and returns once the tray frame handled it.
    void state(WParam state, std::optional<std::string> text = {}) {
        registry_.post(FrameKind::Tray, UM_SERVER_STATE, state, 0,
                       text ? makePayload(*text) : nullptr);
        test::drain(registry_, FrameKind::Tray);
    }
    test::HostCall last() const { return host_.calls().back(); }

    test::TempFolder dir_;
    std::string iniPath_ = dir_.file("Vellix.ini");
    Clock clock_{0.01};
    FrameRegistry registry_;
    test::RecordingTrayHost host_;
    FolderTable folders_;
    NotificationState notes_;
    Guarded<SessionState> session_;
    AccountSettingsFile accountSettings_;
    StringTable strings_{Language::English};
    std::vector<WebmailLink> links_;
    test::FrameThreads threads_{registry_, clock_};
    test::RecordingFrame *server_ = nullptr, *menu_ = nullptr, *buddy_ = nullptr;
};

// The notice timers run on the frame: each notice ends in the state it covered.
TEST_F(TrayFrameTest, NoticesReturnToTheStateUnderneath) {
    folders_.merge({folder("Inbox", 3), folder("Work", 0)});
    state(2);
    state(6, std::string("Meeting"));
    EXPECT_EQ(last().tip, "Meeting (11:05 PM)");
    EXPECT_TRUE(host_.waitFor(234, "New mail: Inbox:3"));

    state(5);
    state(4);
    EXPECT_EQ(last().icon, 249);
    EXPECT_TRUE(notes_.disconnected);
    host_.clear();
    EXPECT_TRUE(host_.waitFor(249, strings_.text(IDS_TRAY_LOST)));
    state(1);
    EXPECT_FALSE(notes_.disconnected);
}

TEST_F(TrayFrameTest, StateTextsDecideWhetherTheStateChanges) {
    const auto tipFolder = [&](const char* name) {
        ASSERT_TRUE(accountSettings_.writeText(account::kTipFolder.section,
                                               account::kTipFolder.name, name));
    };
    tipFolder("Work");
    folders_.merge({folder("Inbox", 0), folder("Work", 0)});
    state(1);
    EXPECT_EQ(last().tip, "Folder \"Work\": Total:10, Unread:5, New:0");
    state(2);  // no folder with new mail: state 2 has no text and is dropped
    EXPECT_EQ(last().icon, 232);
    tipFolder("Gone");
    state(0);  // keeps the state and rebuilds its text
    EXPECT_EQ(last().tip, "Total:20, Unread:10, New:0");
    EXPECT_EQ(last().icon, 232);
}

TEST_F(TrayFrameTest, ClicksOpenMenuMailOrMainWindow) {
    host_.activate({TrayClick::Menu, 12, 34});
    ASSERT_TRUE(menu_->waitForMessages(1));
    const auto menu = menu_->messages()[0];
    EXPECT_EQ(std::tuple(menu.id, menu.w, menu.l),
              std::tuple(UM_SHOW_MENU, WParam{12}, LParam{34}));

    ProfileFile ini(iniPath_);
    struct Case {
        int rule;
        std::vector<FolderStatus> folders;  // in server order
        std::string session;
        std::string link;  // "format|argument", empty for none
    };
    const Case cases[] = {
        {0,
         {folder("Inbox", 0), folder("Work", 2), folder("Lists", 1)},
         "",
         firstUnreadLink("Work").format + "|Work"},
        {0, {folder("Inbox", 0)}, "sid", std::string(kLinkInbox) + "|"},
        {0, {folder("Inbox", 0)}, "", ""},
        {2, {folder("Work", 2)}, "sid", ""},
        {1, {folder("Work", 2)}, "sid", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        ASSERT_TRUE(
            ini.writeInt(ini::kToolIconDblClick.section, ini::kToolIconDblClick.name, c.rule));
        auto listed = c.folders;
        for (std::size_t i = 0; i < listed.size(); ++i) listed[i].order = static_cast<int>(i);
        folders_.merge(listed);
        session_.update([&](SessionState& s) { s.sessionId = c.session; });
        const std::size_t before = server_->messages().size();
        host_.activate({TrayClick::DoubleClick, 0, 0});
        test::drain(registry_, FrameKind::Tray);
        test::drain(*server_);  // the link, if any, has arrived
        const std::size_t links = server_->messages().size() - before - 1;
        ASSERT_EQ(links, c.link.empty() ? 0u : 1u);
        if (links) {
            const WebmailLink& got = links_.back();
            EXPECT_EQ(got.format + "|" + got.arguments[0], c.link);
            EXPECT_EQ(got.trayStateAfter, TrayState::Connected);
        }
    }
    test::drain(*buddy_);
    const auto shown = buddy_->messages();
    EXPECT_EQ(
        std::ranges::count_if(shown, [](const auto& r) { return r.id == UM_SHOW_MAIN_WINDOW; }), 1);
}

TEST_F(TrayFrameTest, QuitRemovesTheIcon) {
    state(1);
    threads_.stop(FrameKind::Tray);
    EXPECT_EQ(last().action, TrayAction::Delete);
}

}  // namespace
}  // namespace vellix
