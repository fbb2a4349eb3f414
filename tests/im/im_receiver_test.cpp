// The event receiver against the real skyloom-sim, with recording stand-ins for the frames
// it talks to. Fixed pauses run at a hundredth of their length.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/frame_registry.h"
#include "core/string_table.h"
#include "im/im_events.h"
#include "im/im_receiver.h"
#include "server/buddy_table.h"
#include "support/recording_frame.h"
#include "support/sim_process.h"

namespace vellix {
namespace {

constexpr char kAlice[] = "alice@demo.local";
constexpr auto kWait = std::chrono::seconds(10);

std::vector<MessageId> ids(const test::RecordingFrame& frame) {
    std::vector<MessageId> out;
    for (const auto& m : frame.messages()) out.push_back(m.id);
    return out;
}

class ImReceiverTest : public ::testing::Test {
  public:
    void SetUp() override {
        ASSERT_TRUE(sim.running()) << sim.error();
        logFolder = ::testing::TempDir() + "/im_receiver_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(logFolder);
        SessionState state;
        state.sessionId = sim.login(kAlice, "alice");
        state.account = kAlice;
        session.set(state);
        buddies.replace({{"bob@demo.local", "Bob", "Offline"}});
    }
    void TearDown() override {
        if (receiver) {
            receiver->stop();
            EXPECT_TRUE(receiver->waitEnded(kWait));
        }
    }

    ImReceiverContext context(const Clock& time) {
        ImReceiverContext c(time, registry, session, buddies);
        c.serverUrl = [this] { return sim.url(); };
        c.ownAddress = [] { return std::string(kAlice); };
        c.text = [this](int id) { return strings.text(id); };
        c.logFolder = logFolder;
        c.limits = limits;
        return c;
    }
    void start() { receiver = std::make_unique<CWinThread_IMHttp>(context(clock)); }
    bool push(const std::string& event) {
        return sim.control("push", {{"account", kAlice}, {"event", event}}).status == 200;
    }
    std::string log() const {
        std::ifstream in(logFolder + "/WaitForIM.log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    test::SimProcess sim;
    Clock clock{0.01};
    Clock realTime{1.0};  // full-length pauses
    StringTable strings{Language::English};
    FrameRegistry registry;
    Guarded<SessionState> session;
    BuddyTable buddies;
    TransferLimits limits = kLongPollLimits;
    std::string logFolder;
    std::vector<ImMessage> delivered;
    std::function<void()> onRelogin;
    LResult onServer(Message& m) {
        if (m.id == UM_RELOGIN && onRelogin) onRelogin();
        return 0;
    }
    LResult onHandler(Message& m) {
        if (auto im = m.take<ImMessage>())
            delivered.push_back(std::move(*im));  // read once recorded
        return 0;
    }
    test::StartedFrame startFrame(FrameKind kind, test::RecordingFrame::Handler onMessage = {}) {
        return test::startRecordingFrame(registry, kind, clock, std::move(onMessage));
    }
    test::StartedFrame server =
        startFrame(FrameKind::Server, [this](Message& m) { return onServer(m); });
    test::StartedFrame handler =
        startFrame(FrameKind::WindowHandler, [this](Message& m) { return onHandler(m); });
    test::StartedFrame tray = startFrame(FrameKind::Tray);
    test::StartedFrame buddyWindow = startFrame(FrameKind::BuddyWindow);
    std::unique_ptr<CWinThread_IMHttp> receiver;
};

TEST_F(ImReceiverTest, EventsReachTheirConsumers) {
    start();
    ASSERT_TRUE(
        push("<message><to>bob@demo.local,ALICE@demo.local</to><from>carol@demo.local"
             "</from><subject></subject><message_text>aGk=</message_text></message>"));
    ASSERT_TRUE(
        push("<statusupdate><email>Bob@demo.local</email><status>online</status>"
             "</statusupdate>"));
    ASSERT_TRUE(
        push("<filetransferstatus><to>bob@demo.local</to><filename>a.txt</filename>"
             "<status>cancelled</status></filetransferstatus>"));
    ASSERT_TRUE(handler.frame->waitForMessages(3, kWait));
    ASSERT_TRUE(buddyWindow.frame->waitForMessages(1, kWait));
    EXPECT_EQ(ids(*handler.frame),
              (std::vector<MessageId>{UM_DELIVER_IM, UM_BUDDY_STATUS_CHANGED, UM_TRANSFER_STATUS}));
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].messageText, "aGk=");
    EXPECT_EQ(delivered[0].conversationKeys, "bob@demo.local,carol@demo.local");
    EXPECT_EQ(buddies.findByEmail("bob@demo.local")->status, "Online");
    EXPECT_EQ(ids(*buddyWindow.frame), std::vector<MessageId>{UM_REFRESH_BUDDIES});
    ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
    const auto requests = sim.request_log();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().query,
              "Session=" + session.get().sessionId + "&View=StatusCheck&WaitForIM=Yes");
    EXPECT_EQ(requests.back().user_agent, "VellixIM");
    EXPECT_TRUE(receiver->running());
    EXPECT_TRUE(server.frame->messages().empty());
}

// How each end of the loop reaches the server frame, the session and the log.
TEST_F(ImReceiverTest, EndsTellTheServerFrame) {
    using Act = std::function<void(ImReceiverTest&)>;
    const struct {
        const char* name;
        Act before;  // before the start, else once the first poll waits
        Act during;
        bool failed;
        std::vector<MessageId> toServer;
        bool sessionKept;
        const char* logged;
    } cases[] = {
        {"delete-session",
         {},
         [](auto& t) {
             t.sim.control("delete-session", {{"session", t.session.get().sessionId}});
         },
         false,
         {UM_LOGIN_AGAIN},
         false,
         "ERROR: <error>this session is being deleted</error>"},
        {"disconnect",
         {},
         [](auto& t) {
             t.sim.control("disconnect", {{"account", kAlice}});
         },
         false,
         {},
         true,
         "Stopping WaitForIM loop"},
        {"wait",
         {},
         [](auto& t) { t.push("<wait>A new wait request is taking your place</wait>"); },
         false,
         {UM_QUIT_BUDDY_WINDOW},
         true,
         "ERROR: <wait>A new wait request is taking your place</wait>"},
        {"empty reply",
         [](auto& t) {
             t.sim.control("fault", {{"word", "WaitForIM"}, {"kind", "empty"}});
         },
         {},
         true,
         {UM_STOP_IM_RECEIVER},
         true,
         "ERROR: Blank data received!"},
        {"no session",
         [](auto& t) { t.session.set({}); },
         {},
         true,
         {UM_RELOGIN, UM_STOP_IM_RECEIVER},
         false,
         "No valid session"},
        {"refused connection",
         [](auto& t) { t.sim.stop(); },
         {},
         true,
         {UM_STOP_IM_RECEIVER},
         true,
         "Internet Error: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const std::size_t before = server.frame->messages().size();
        if (c.before) c.before(*this);
        start();
        if (c.during) {
            ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
            c.during(*this);
        }
        ASSERT_TRUE(receiver->waitEnded(kWait));
        EXPECT_EQ(receiver->failed(), c.failed);
        ASSERT_TRUE(server.frame->waitForMessages(before + c.toServer.size(), kWait));
        const auto all = ids(*server.frame);
        EXPECT_EQ(std::vector<MessageId>(all.begin() + static_cast<long>(before), all.end()),
                  c.toServer);
        EXPECT_EQ(session.get().sessionId.empty(), !c.sessionKept);
        const std::string text = log();
        EXPECT_EQ(text.find("] Starting WaitForIM loop\r\n"), 20u) << text;
        EXPECT_NE(text.find(c.logged), std::string::npos) << text;
        EXPECT_NE(text.find("] Stopping WaitForIM loop\r\n"), std::string::npos) << text;
    }
}

TEST_F(ImReceiverTest, MissingSessionAsksForALogin) {
    const std::string id = session.get().sessionId;
    session.set({});
    onRelogin = [&] { session.update([&](SessionState& s) { s.sessionId = id; }); };
    start();
    ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
    EXPECT_EQ(ids(*server.frame), std::vector<MessageId>{UM_RELOGIN});
}

TEST_F(ImReceiverTest, StalledPollTimesOutIntoANewRequest) {
    limits = {std::chrono::seconds(5), std::chrono::seconds(1)};
    sim.control("fault", {{"word", "WaitForIM"}, {"kind", "delay"}, {"value", "2500"}});
    start();
    // The second request, after the time-out, is the one the sim holds.
    ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
    EXPECT_TRUE(receiver->running());
    EXPECT_FALSE(receiver->failed());
    EXPECT_NE(log().find("Internet Error: 12002 - "), std::string::npos) << log();
    EXPECT_TRUE(server.frame->messages().empty());
}

TEST_F(ImReceiverTest, StopCutsAPauseAndAWaitingPoll) {
    // A full-length 5 s pause after the wait reply.
    receiver = std::make_unique<CWinThread_IMHttp>(context(realTime));
    ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
    ASSERT_TRUE(push("<wait>A new wait request is taking your place</wait>"));
    ASSERT_TRUE(server.frame->waitForMessages(1, kWait));
    EXPECT_EQ(server.frame->messages().back().id, UM_QUIT_BUDDY_WINDOW);
    receiver->stop();
    EXPECT_TRUE(receiver->waitEnded(Milliseconds(2000)));

    // The sim holds a poll for 5 s: an end well before that came from stop().
    start();
    ASSERT_TRUE(sim.wait_for_long_polls(kAlice, 1));
    receiver->stop();
    EXPECT_TRUE(receiver->waitEnded(Milliseconds(2000)));
    EXPECT_FALSE(receiver->failed());
    EXPECT_EQ(server.frame->messages().size(), 1u);
}

}  // namespace
}  // namespace vellix
