#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/exit_sequence.h"
#include "core/instance_check.h"
#include "support/fake_single_instance.h"
#include "support/recording_frame.h"

namespace vellix {
namespace {

using test::FakeSingleInstance;
using test::RecordingFrame;

class ExitSequenceTest : public ::testing::Test {
  protected:
    RecordingFrame* start(FrameKind kind, RecordingFrame::Handler handler = {}) {
        auto started = test::startRecordingFrame(registry, kind, clock, std::move(handler));
        threads.put(std::move(started.thread));
        return started.frame;
    }
    void startAll(FrameKind stuck, std::atomic<bool>* release) {
        for (FrameKind kind :
             {FrameKind::Tray, FrameKind::Menu, FrameKind::Note, FrameKind::Server,
              FrameKind::Messaging, FrameKind::WindowHandler, FrameKind::AddressBook}) {
            if (kind == stuck) {
                // Blocks in its handler until released: it never sees UM_QUIT_THREAD in time.
                start(kind, [release](Message& m) -> LResult {
                    if (m.id == UM_CHECK_NOW) {
                        while (!*release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    }
                    return 0;
                });
                registry.post(kind, UM_CHECK_NOW);
            } else {
                start(kind);
            }
        }
    }

    Clock clock{0.02};  // the 5 s bound becomes 100 ms
    FrameRegistry registry;
    ThreadTable threads;
};

TEST_F(ExitSequenceTest, AFrameThatNeverAnswersIsAbandonedAfterItsBoundTheOthersEnd) {
    struct Case {
        FrameKind stuck;    // Count: every frame answers
        long long boundMs;  // scaled bound of the group it belongs to
    } cases[] = {{FrameKind::Count, 100}, {FrameKind::Server, 100}, {FrameKind::AddressBook, 40}};
    for (const auto& c : cases) {
        std::atomic<bool> release{false};
        startAll(c.stuck, &release);
        const auto begin = std::chrono::steady_clock::now();
        const auto report = runExitSequence(registry, threads, clock);
        const auto took = std::chrono::steady_clock::now() - begin;
        // Well inside a generous ceiling; the figure itself is not what is tested.
        EXPECT_LT(took, std::chrono::milliseconds(c.boundMs * 20));
        for (FrameKind kind : {FrameKind::Tray, FrameKind::Server, FrameKind::AddressBook}) {
            EXPECT_EQ(registry.has(kind), kind == c.stuck) << frameKindName(kind);
        }
        if (c.stuck == FrameKind::Count) {
            EXPECT_TRUE(report.clean());
            continue;
        }
        ASSERT_EQ(report.abandoned, std::vector<FrameKind>{c.stuck});
        release = true;
        // The abandoned thread still ends on its own once unblocked.
        ASSERT_TRUE(threads.waitFor(c.stuck, Milliseconds(5000)));
        EXPECT_TRUE(threads.deleteEnded());
    }
}

TEST(InstanceCheckTest, DecidesAndHandsOverLikeTheRunningProgramExpects) {
    struct Case {
        const char* command;
        bool lockFree;
        bool otherAnswers;
        InstanceOutcome outcome;
        std::vector<MessageId> posted;
        std::vector<std::string> mailtos;
    } cases[] = {
        {"", true, true, InstanceOutcome::Run, {}, {}},
        {"/stop", true, true, InstanceOutcome::Exit, {}, {}},
        {"", false, true, InstanceOutcome::Exit, {}, {}},
        {"/stop", false, true, InstanceOutcome::Exit, {UM_STOP}, {}},
        {"/stop", false, false, InstanceOutcome::Exit, {}, {}},
        {"/mailto:ann@example.com?subject=Hi",
         false,
         true,
         InstanceOutcome::Exit,
         {},
         {"ann@example.com?subject=Hi"}},
        {"/mailto:", false, true, InstanceOutcome::Exit, {}, {""}},
        {"mailto:ann@example.com", false, true, InstanceOutcome::Exit, {}, {"ann@example.com"}},
        {"/mailto:x@y", true, true, InstanceOutcome::Run, {}, {}},
        {"/STOP", false, true, InstanceOutcome::Exit, {}, {}},
    };
    for (const auto& c : cases) {
        FakeSingleInstance instance;
        instance.lockFree = c.lockFree;
        instance.otherAnswers = c.otherAnswers;
        Clock fast(0.0001);
        EXPECT_EQ(checkSingleInstance(CommandLine(c.command), instance, fast), c.outcome)
            << c.command;
        EXPECT_EQ(instance.posted, c.posted) << c.command;
        std::vector<std::string> mailtos;
        for (const auto& copy : instance.copied) {
            EXPECT_EQ(copy.kind, COPYDATA_MAILTO);
            mailtos.push_back(copy.data);
        }
        EXPECT_EQ(mailtos, c.mailtos) << c.command;
    }
}

TEST(CommandLineTest, FindsTheSwitchesAnywhereAndABareLink) {
    const char* argv[] = {"vellix", "-x", "/mailto:a@b.c?body=1 2"};
    const auto line = CommandLine::fromArguments(3, argv);
    EXPECT_EQ(line.text(), "-x /mailto:a@b.c?body=1 2");
    EXPECT_EQ(line.mailto().value_or("-"), "a@b.c?body=1 2");
    EXPECT_FALSE(line.hasStop());
    EXPECT_TRUE(CommandLine("x/stopy").hasStop());
    EXPECT_FALSE(CommandLine("/Mailto:a").mailto().has_value());
    EXPECT_EQ(CommandLine("-x /im:bob@x.test more").conversation().value_or("-"), "bob@x.test");
    EXPECT_FALSE(CommandLine("/IM:bob@x.test").conversation().has_value());
    // A bare link counts at the start of an argument only, its scheme in any case.
    EXPECT_EQ(CommandLine("-x MAILTO:a@b").mailto().value_or("-"), "a@b");
    EXPECT_FALSE(CommandLine("-xmailto:a@b").mailto().has_value());
}

}  // namespace
}  // namespace vellix
