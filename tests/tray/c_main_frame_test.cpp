#include "tray/c_main_frame.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/frame_thread.h"
#include "recording_tray_host.h"
#include "server/webmail_link.h"
#include "support/recording_frame.h"

namespace vellix {
namespace {

using test::HostCall;
using test::RecordingTrayHost;

FolderStatus folder(std::string name, int fresh) {
    FolderStatus f;
    f.name = f.displayName = std::move(name);
    f.total = 10;
    f.unread = 5;
    f.newCount = fresh;
    return f;
}

class TrayFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        accountSettings_.setPath(dir_.filePath(QStringLiteral("settings.tmp")).toStdString());
        auto record = [this](Message& m) -> LResult {
            if (auto link = m.take<WebmailLink>()) {
                std::lock_guard lock(mutex_);
                links_.push_back(*link);
            }
            return 0;
        };
        server_ = test::startRecordingFrame(registry_, FrameKind::Server, clock_, record);
        menu_ = test::startRecordingFrame(registry_, FrameKind::Menu, clock_);
        buddy_ = test::startRecordingFrame(registry_, FrameKind::BuddyWindow, clock_);
        TrayFrameDeps deps{
            clock_,   registry_,        host_,     folders_, notes_,
            session_, accountSettings_, iniPath(), strings_, [] { return std::pair{23, 5}; }};
        tray_ = std::make_unique<FrameThread>(
            FrameKind::Tray, registry_, [deps] { return std::make_unique<CMainFrame>(deps); });
        ASSERT_TRUE(tray_->startAndWait());
    }
    void TearDown() override {
        registry_.post(FrameKind::Tray, UM_QUIT_THREAD);
        tray_->wait();
        for (auto* started : {&server_, &menu_, &buddy_}) {
            started->frame->post(UM_QUIT_THREAD);
            started->thread->wait();
        }
    }

    std::string iniPath() const {
        return dir_.filePath(QStringLiteral("Vellix.ini")).toStdString();
    }
    void state(WParam state, std::optional<std::string> text = {}) {
        registry_.post(FrameKind::Tray, UM_SERVER_STATE, state, 0,
                       text ? makePayload(*text) : nullptr);
    }
    // Returns once the tray frame handled everything posted before.
    void settle() { registry_.send(FrameKind::Tray, WM_APP + 1); }
    HostCall last() const { return host_.calls().back(); }
    std::vector<WebmailLink> links() {
        std::lock_guard lock(mutex_);
        return links_;
    }

    QTemporaryDir dir_;
    Clock clock_{0.01};
    FrameRegistry registry_;
    RecordingTrayHost host_;
    FolderTable folders_;
    NotificationState notes_;
    Guarded<SessionState> session_;
    AccountSettingsFile accountSettings_;
    StringTable strings_{Language::English};
    test::StartedFrame server_, menu_, buddy_;
    std::unique_ptr<FrameThread> tray_;
    std::mutex mutex_;
    std::vector<WebmailLink> links_;
};

TEST_F(TrayFrameTest, NoticeOverNewMailReturnsToItsList) {
    folders_.merge({folder("Inbox", 3), folder("Work", 0)});
    state(2);
    state(6, std::string("Meeting"));
    settle();
    EXPECT_EQ(last().tip, "Meeting (11:05 PM)");
    host_.clear();
    EXPECT_TRUE(host_.waitFor(
        [](const HostCall& c) { return c.tip == "New mail: Inbox:3" && c.icon == 234; }));
}

TEST_F(TrayFrameTest, LostStateComesBackAfterTheConnectingNotice) {
    state(5);
    state(4);
    settle();
    EXPECT_EQ(last().icon, 249);
    EXPECT_TRUE(notes_.disconnected);
    host_.clear();
    // The connecting notice (2 s nominal) ends in state 4 and shows it again.
    EXPECT_TRUE(host_.waitFor(
        [&](const HostCall& c) { return c.icon == 249 && c.tip == strings_.text(IDS_TRAY_LOST); }));
    state(1);
    settle();
    EXPECT_FALSE(notes_.disconnected);
}

TEST_F(TrayFrameTest, StateTextsDecideWhetherTheStateChanges) {
    ASSERT_TRUE(
        accountSettings_.writeText(account::kTipFolder.section, account::kTipFolder.name, "Work"));
    folders_.merge({folder("Inbox", 0), folder("Work", 0)});
    state(1);
    settle();
    EXPECT_EQ(last().tip, "Folder \"Work\": Total:10, Unread:5, New:0");
    // No folder with new mail: state 2 has no text and is dropped.
    state(2);
    settle();
    EXPECT_EQ(last().icon, 232);
    // wParam 0 keeps the state and rebuilds its text.
    ASSERT_TRUE(
        accountSettings_.writeText(account::kTipFolder.section, account::kTipFolder.name, "Gone"));
    state(0);
    settle();
    EXPECT_EQ(last().tip, "Total:20, Unread:10, New:0");
    EXPECT_EQ(last().icon, 232);
}

TEST_F(TrayFrameTest, ClicksOpenMenuMailOrMainWindow) {
    host_.activate({kTrayRightButtonDown, 12, 34});
    ASSERT_TRUE(menu_.frame->waitForMessages(1));
    EXPECT_EQ(menu_.frame->messages()[0].id, UM_SHOW_MENU);
    EXPECT_EQ(menu_.frame->messages()[0].w, 12u);
    EXPECT_EQ(menu_.frame->messages()[0].l, 34);

    ProfileFile ini(iniPath());
    struct Case {
        int rule;
        std::vector<FolderStatus> folders;
        std::string session;
        std::string format;  // empty: no link
        std::string argument;
    };
    const Case cases[] = {
        {0,
         {folder("Inbox", 0), folder("Work", 2), folder("Lists", 1)},
         "",
         std::string(kLinkFirstUnread),
         "Work"},
        {0, {folder("Inbox", 0)}, "sid", std::string(kLinkInbox), ""},
        {0, {folder("Inbox", 0)}, "", "", ""},
        {2, {folder("Work", 2)}, "sid", "", ""},
        {1, {folder("Work", 2)}, "sid", "", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(
            ini.writeInt(ini::kToolIconDblClick.section, ini::kToolIconDblClick.name, c.rule));
        auto listed = c.folders;  // in server order
        for (std::size_t i = 0; i < listed.size(); ++i) listed[i].order = static_cast<int>(i);
        folders_.merge(listed);
        session_.update([&](SessionState& s) { s.sessionId = c.session; });
        {
            std::lock_guard lock(mutex_);
            links_.clear();
        }
        host_.activate({kTrayLeftDoubleClick, 0, 0});
        settle();
        server_.frame->send(WM_APP + 1);  // the link, if any, has arrived
        const auto got = links();
        if (c.format.empty()) {
            EXPECT_TRUE(got.empty()) << c.rule;
        } else {
            ASSERT_EQ(got.size(), 1u);
            EXPECT_EQ(got[0].format, c.format);
            EXPECT_EQ(got[0].arguments[0], c.argument);
            EXPECT_EQ(got[0].trayStateAfter, 1);
        }
    }
    buddy_.frame->send(WM_APP + 1);
    const auto shown = buddy_.frame->messages();
    ASSERT_EQ(std::count_if(shown.begin(), shown.end(),
                            [](const test::Recorded& r) { return r.id == UM_SHOW_MAIN_WINDOW; }),
              1);
}

TEST_F(TrayFrameTest, QuitRemovesTheIcon) {
    state(1);
    registry_.post(FrameKind::Tray, UM_QUIT_THREAD);
    EXPECT_TRUE(host_.waitFor([](const HostCall& c) { return c.action == TrayAction::Delete; }));
}

}  // namespace
}  // namespace vellix
