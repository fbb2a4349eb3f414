#include <gtest/gtest.h>

#include <QThread>

#include <QDeadlineTimer>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/frame_registry.h"
#include "core/frame_thread.h"
#include "core/guarded.h"
#include "support/frame_threads.h"

namespace vellix {
namespace {

using test::RecordingFrame;

// Counts live instances so tests can see that a payload was freed exactly once.
struct Tracked {
    static inline std::atomic<int> alive{0};
    Tracked() { ++alive; }
    Tracked(const Tracked&) { ++alive; }
    Tracked(Tracked&&) noexcept { ++alive; }
    ~Tracked() { --alive; }
};

class FrameTest : public ::testing::Test {
  protected:
    RecordingFrame* start(FrameKind kind, RecordingFrame::Handler handler = {}) {
        return threads.record(kind, std::move(handler));
    }

    Clock clock{0.01};
    FrameRegistry registry;
    test::FrameThreads threads{registry, clock};
};

TEST_F(FrameTest, PostedMessagesArriveInOrderOnTheFrameThread) {
    std::atomic<QThread*> handledOn{nullptr};
    auto* frame = start(FrameKind::Tray, [&](Message& m) -> LResult {
        handledOn = QThread::currentThread();
        return static_cast<LResult>(m.w);
    });
    for (WParam i = 0; i < 100; ++i)
        ASSERT_TRUE(registry.post(FrameKind::Tray, UM_SERVER_STATE, i, -static_cast<LParam>(i)));
    ASSERT_TRUE(frame->waitForMessages(100));
    const auto seen = frame->messages();
    for (WParam i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[i].w, i);
        EXPECT_EQ(seen[i].l, -static_cast<LParam>(i));
    }
    EXPECT_EQ(handledOn.load(), threads.thread(FrameKind::Tray));
    threads.stopAll();  // the handler sees the quit too, and writes to this test's locals
}

TEST_F(FrameTest, SendReturnsTheHandlersResultAcrossThreadsAndOnItsOwn) {
    std::atomic<LResult> inner{0};
    start(FrameKind::Server, [&](Message& m) -> LResult {
        // A handler sending to its own frame is a direct call and must not deadlock.
        if (m.id == UM_CHECK_NOW) inner = registry.send(FrameKind::Server, UM_RESTART_TIMER, 7);
        if (m.id != UM_SET_STATUS) return static_cast<LResult>(m.w) * 2;
        auto text = m.take<std::string>();
        return text ? static_cast<LResult>(text->size()) : -1;
    });
    EXPECT_EQ(
        registry.send(FrameKind::Server, UM_SET_STATUS, 0, 0, makePayload(std::string("Away"))), 4);
    EXPECT_EQ(registry.send(FrameKind::Server, UM_SET_STATUS), -1);
    registry.send(FrameKind::Server, UM_CHECK_NOW);
    EXPECT_EQ(inner.load(), 14);
    threads.stopAll();  // the handler sees the quit too, and writes to this test's locals
}

TEST_F(FrameTest, PayloadsAreFreedWhetherDeliveredDroppedOrStranded) {
    Tracked::alive = 0;
    auto* frame = start(FrameKind::Note);
    registry.post(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(Tracked{}));
    ASSERT_TRUE(frame->waitForMessages(1));
    EXPECT_TRUE(frame->messages()[0].hadPayload);
    // The next sent message is handled only after the posted one and its payload are gone.
    registry.send(FrameKind::Note, UM_CHECK_NOW);
    // An empty slot drops the message and its payload.
    EXPECT_FALSE(registry.post(FrameKind::Options, UM_SHOW_ALERT, 0, 0, makePayload(Tracked{})));
    EXPECT_EQ(Tracked::alive.load(), 0);
}

TEST_F(FrameTest, MessagesQueuedBehindAQuitAreDroppedAndSendersGetZero) {
    std::atomic<bool> release{false};
    std::atomic<int> handledAfterQuit{0};
    std::atomic<bool> quit{false};
    start(FrameKind::Menu, [&](Message& m) -> LResult {
        if (quit) ++handledAfterQuit;
        if (m.id == UM_SHOW_MENU) {
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (m.id == UM_QUIT_THREAD) quit = true;
        return 99;
    });
    // While the frame is busy: a quit, then a post and a send queued behind it.
    registry.post(FrameKind::Menu, UM_SHOW_MENU);
    registry.post(FrameKind::Menu, UM_QUIT_THREAD);
    registry.post(FrameKind::Menu, UM_NEED_SERVER);
    std::atomic<LResult> answer{-1};
    std::thread sender([&] { answer = registry.send(FrameKind::Menu, UM_NEED_LOGIN); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    release = true;
    sender.join();
    EXPECT_EQ(answer.load(), 0);
    threads.thread(FrameKind::Menu)->wait();
    EXPECT_EQ(handledAfterQuit.load(), 0);
    EXPECT_FALSE(registry.has(FrameKind::Menu));
}

TEST_F(FrameTest, TimersFireByFixedIdentifierUntilKilled) {
    auto* frame = start(FrameKind::Tray);
    frame->setTimer(16, Milliseconds(1000));  // 10 ms at this clock's scale
    frame->setTimer(18, Milliseconds(1000));
    ASSERT_TRUE(frame->waitForTicks(6));
    frame->killTimer(16);
    frame->killTimer(18);
    // Once both kills are processed no tick can arrive; a posted message marks that point.
    registry.post(FrameKind::Tray, UM_COUNTS_READY);
    ASSERT_TRUE(frame->waitForMessages(1));
    const auto ticks = frame->timerTicks().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(frame->timerTicks().size(), ticks);
    const auto all = frame->timerTicks();
    EXPECT_TRUE(std::ranges::count(all, 16) && std::ranges::count(all, 18));
}

TEST(FrameThreadTest, AFactoryThatFailsLeavesTheSlotEmpty) {
    FrameRegistry registry;
    FrameThread thread(FrameKind::Note, registry,
                       []() -> std::unique_ptr<Frame> { throw std::runtime_error("no frame"); });
    EXPECT_FALSE(thread.startAndWait());
    thread.wait();
    EXPECT_FALSE(registry.has(FrameKind::Note));
}

TEST(ClockTest, ScalesDelaysButNeverToZero) {
    struct Case {
        double scale;
        long long nominal, real;
    } cases[] = {{1.0, 500, 500}, {0.01, 500, 5},   {0.0001, 500, 1},
                 {0.5, 0, 0},     {-3.0, 200, 200}, {2.0, 1500, 3000}};
    for (const auto& c : cases) {
        EXPECT_EQ(Clock(c.scale).scaled(Milliseconds(c.nominal)).count(), c.real)
            << c.scale << " " << c.nominal;
    }
}

// A frame whose UM_CHECK_NOW is a step with a pause; every message and tick is logged.
class SteppingFrame final : public Frame {
  public:
    SteppingFrame(const Clock& clock, Guarded<std::vector<std::string>>& log)
        : Frame("stepping", clock), log_(log) {}

  protected:
    LResult handleMessage(Message& m) override {
        if (m.id == UM_CHECK_NOW) {
            runStep(pausedStep());
            return 1;
        }
        if (m.id == UM_SERVER_STATE) add("message " + std::to_string(m.w));
        return m.id == UM_SERVER_STATE ? 2 : Frame::handleMessage(m);
    }
    void onTimer(int id) override {
        add("timer " + std::to_string(id));
        killTimer(id);
    }

  private:
    FrameTask<> pausedStep() {
        add("before");
        setTimer(5, Milliseconds(1));  // fires during the pause
        co_await pauseFor(Milliseconds(1000));
        add("after");
    }
    void add(std::string line) {
        log_.update([&](std::vector<std::string>& l) { l.push_back(std::move(line)); });
    }
    Guarded<std::vector<std::string>>& log_;
};

TEST_F(FrameTest, WorkArrivingDuringAStepsPauseFollowsItAndAQuitDropsTheRest) {
    using Log = std::vector<std::string>;
    Guarded<Log> log;
    auto* frame = threads.start<SteppingFrame>(
        FrameKind::Server, [&] { return std::make_unique<SteppingFrame>(clock, log); });
    ASSERT_NE(frame, nullptr);
    registry.post(FrameKind::Server, UM_CHECK_NOW);
    registry.post(FrameKind::Server, UM_SERVER_STATE, 1);
    // A sender waits for the step too: its answer comes once its held message is handled.
    EXPECT_EQ(registry.send(FrameKind::Server, UM_SERVER_STATE, 2), 2);
    registry.send(FrameKind::Server, UM_SERVER_STATE, 3);  // after everything held
    const Log seen = log.get();
    const auto at = [&](const std::string& line) {
        return std::find(seen.begin(), seen.end(), line) - seen.begin();
    };
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(at("before"), 0);
    EXPECT_EQ(at("after"), 1);  // the tick and the messages waited for the step
    EXPECT_LT(at("message 1"), at("message 2"));
    EXPECT_LT(at("timer 5"), 6);

    // With the pause at 1000 s, only the quit is handled: the thread ends, "after" never runs.
    Clock slow(1000.0);
    Guarded<Log> slowLog;
    test::FrameThreads slowThreads{registry, slow};
    threads.stop(FrameKind::Server);
    ASSERT_NE(
        slowThreads.start<SteppingFrame>(
            FrameKind::Server, [&] { return std::make_unique<SteppingFrame>(slow, slowLog); }),
        nullptr);
    registry.post(FrameKind::Server, UM_CHECK_NOW);
    registry.post(FrameKind::Server, UM_SERVER_STATE, 4);
    ASSERT_TRUE(registry.post(FrameKind::Server, UM_QUIT_THREAD));
    EXPECT_TRUE(slowThreads.thread(FrameKind::Server)->wait(QDeadlineTimer(5000)));
    EXPECT_EQ(slowLog.get(), Log{"before"});
}

}  // namespace
}  // namespace vellix
