#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"
#include "support/vellix_process.h"

namespace vellix {
namespace {

using test::runToEnd;
using test::VellixHome;
using test::VellixProcess;

std::string messageTrace(const char* frame, MessageId id) {
    return "vellix: message " + std::string(frame) + " " + std::to_string(id) + "\n";
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    void startFirst() {
        first = std::make_unique<VellixProcess>(home, QStringList{});
        first->start();
        ASSERT_TRUE(first->waitForTrace("vellix: frames running")) << first->trace();
    }

    VellixHome home;
    std::unique_ptr<VellixProcess> first;
};

TEST_F(SingleInstanceTest, StopWithNothingRunningEndsAtOnce) {
    const auto run = runToEnd(home, {QStringLiteral("/stop")});
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0);
    // Nothing to stop means no 3 s wait for it.
    EXPECT_LT(run.milliseconds, 2500);
}

TEST_F(SingleInstanceTest, SecondPlainStartEndsSilentlyAndLeavesTheFirstAlone) {
    startFirst();
    VellixProcess second(home, {});
    second.start();
    ASSERT_TRUE(second.waitForEnd());
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.trace(), "");
    EXPECT_TRUE(first->running());
}

TEST_F(SingleInstanceTest, StopEndsTheRunningInstanceThroughItsExitSequence) {
    startFirst();
    const auto run = runToEnd(home, {QStringLiteral("/stop")});
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0);
    // The stopping process waits about three seconds after its request.
    EXPECT_GE(run.milliseconds, 2900);
    ASSERT_TRUE(first->waitForEnd());
    EXPECT_FALSE(first->crashed());
    EXPECT_EQ(first->exitCode(), 0);
    const std::string trace = first->trace();
    EXPECT_NE(trace.find(messageTrace("server", UM_QUIT_THREAD)), std::string::npos) << trace;
    EXPECT_NE(trace.find(messageTrace("window handler", UM_QUIT_THREAD)), std::string::npos);
}

TEST_F(SingleInstanceTest, MailtoOnTheFirstStartOpensTheLinkItself) {
    first = std::make_unique<VellixProcess>(home, QStringList{QStringLiteral("/mailto:a@b.c")});
    first->start();
    ASSERT_TRUE(first->waitForTrace(messageTrace("server", UM_OPEN_LINK))) << first->trace();
}

TEST_F(SingleInstanceTest, TerminationAndCrashesNeverBlockTheNextStart) {
    startFirst();
    first->terminate();  // SIGTERM runs the ordinary exit sequence
    ASSERT_TRUE(first->waitForEnd());
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_NE(first->trace().find(messageTrace("tray", UM_QUIT_THREAD)), std::string::npos);

    startFirst();
    first->kill();  // leaves its lock and socket files behind
    startFirst();
    EXPECT_TRUE(first->running());
}

}  // namespace
}  // namespace vellix
