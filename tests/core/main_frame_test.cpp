#include <gtest/gtest.h>

#include "core/frame_thread.h"
#include "core/main_frame.h"
#include "support/fake_single_instance.h"
#include "support/frame_threads.h"

namespace vellix {
namespace {

using test::FakeSingleInstance;
using test::RecordingFrame;

class RecordingHooks final : public ActivityHooks {
  public:
    Status install(int minutes, std::function<void(int)> report) override {
        installedMinutes = minutes;
        report_ = std::move(report);
        return success();
    }
    void remove() override { removed = true; }
    void fire(int code) { report_(code); }

    int installedMinutes = -1;
    bool removed = false;

  private:
    std::function<void(int)> report_;
};

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server = threads.record(FrameKind::Server);
        auto link = [](std::string_view text) { return makePayload("link:" + std::string(text)); };
        auto quit = [this] { ++quits; };
        const MainFrameContext context{registry, session, manualStatus, "Online*", "Away*",
                                       link,     quit,    &hooks,       &instance, {}};
        ASSERT_TRUE(threads.start<CMainframe_Main>(
            FrameKind::Main, [&] { return std::make_unique<CMainframe_Main>(context, clock); }));
    }

    Clock clock{0.01};
    FrameRegistry registry;
    Guarded<SessionState> session;
    std::atomic<bool> manualStatus{false};
    std::atomic<int> quits{0};
    RecordingHooks hooks;
    FakeSingleInstance instance;
    RecordingFrame* server = nullptr;
    test::FrameThreads threads{registry, clock};
};

TEST_F(MainFrameTest, IdleAndActivityReportsSetTheStatusOnlyWhenTheUserHasNotChosenOne) {
    struct Case {
        bool messaging;
        bool manual;
        WParam code;
        const char* word;  // nullptr: nothing is sent
    } cases[] = {
        {true, false, 0, "Away*"},  {true, false, 1, "Online*"}, {true, false, 2, "Online*"},
        {true, false, 3, nullptr},  {true, true, 0, nullptr},    {false, false, 0, nullptr},
        {false, false, 1, nullptr},
    };
    std::size_t handled = 0;
    std::vector<std::string> expectedWords;
    for (const auto& c : cases) {
        session.update([&](SessionState& s) { s.messagingEnabled = c.messaging; });
        manualStatus = c.manual;
        registry.send(FrameKind::Main, UM_USER_ACTIVITY, c.code);
        if (c.word) {
            expectedWords.push_back(c.word);
            ++handled;
        }
        // A marker shows that everything before it has been handled.
        registry.post(FrameKind::Server, UM_CHECK_NOW);
        ASSERT_TRUE(server->waitForMessages(++handled));
    }
    std::vector<std::string> words;
    for (const auto& m : server->messages()) {
        if (m.id == UM_SET_STATUS) words.push_back(m.text.value_or("?"));
    }
    EXPECT_EQ(words, expectedWords);
}

TEST_F(MainFrameTest, HooksAreInstalledWithTheMinutesAndReportThroughTheFrame) {
    session.update([](SessionState& s) { s.messagingEnabled = true; });
    registry.send(FrameKind::Main, UM_INSTALL_HOOKS, 10);
    EXPECT_EQ(hooks.installedMinutes, 10);
    hooks.fire(ACTIVITY_IDLE);
    ASSERT_TRUE(server->waitForMessages(1));
    EXPECT_EQ(server->messages()[0].text.value_or(""), "Away*");
    registry.send(FrameKind::Main, UM_REMOVE_HOOKS);
    EXPECT_TRUE(hooks.removed);
}

TEST_F(MainFrameTest, MailtoHandOverOpensALinkAndUnknownKindsAreRefused) {
    ASSERT_TRUE(instance.handler);
    // The listener runs on the main frame's thread; send reaches the same handler.
    const auto copy = [&](std::uint32_t kind, const char* data) {
        return registry.send(FrameKind::Main, WM_COPYDATA, kind, 0,
                             makePayload(CopyData{kind, data}));
    };
    EXPECT_EQ(copy(COPYDATA_MAILTO, "ann@example.com"), 1);
    EXPECT_EQ(copy(COPYDATA_CONVERSATION + 1, "x"), 0);
    ASSERT_TRUE(server->waitForMessages(1));
    const auto seen = server->messages();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].id, UM_OPEN_LINK);
    EXPECT_EQ(seen[0].text.value_or(""), "link:ann@example.com");
}

TEST_F(MainFrameTest, StopAndQuitEndTheProgram) {
    registry.send(FrameKind::Main, UM_STOP);
    registry.send(FrameKind::Main, WM_QUIT);
    EXPECT_EQ(quits.load(), 2);
}

}  // namespace
}  // namespace vellix
