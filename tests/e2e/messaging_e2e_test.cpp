// A conversation end to end: skyloom-sim and two vellix processes (alice and bob) under
// Xvfb, typed into with real key events.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <chrono>
#include <string>
#include <thread>

#include "support/sim_process.h"
#include "support/vellix_process.h"
#include "support/wait.h"
#include "support/xvfb_server.h"
#include "x11_screen.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;

struct User {
    std::string account;
    std::string password;
    test::VellixHome home;
    std::unique_ptr<test::VellixProcess> process;

    std::string history(const char* partner) const {
        QFile file(
            QDir(home.path())
                .filePath(QStringLiteral("data/Vellix/%1/History/%2.log")
                              .arg(QString::fromStdString(account), QLatin1String(partner))));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }
};

class MessagingE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        xvfb = std::make_unique<test::XvfbServer>();
        if (xvfb->display().empty()) GTEST_SKIP() << xvfb->why();
        ASSERT_TRUE(sim.running()) << sim.error();
        screen = std::make_unique<test::X11Screen>(xvfb->display());
        ASSERT_TRUE(screen->connected());
    }

    // Logged in, with its buddy list read: a window opened before that is titled with
    // the bare address.
    void start(User& user) {
        ASSERT_TRUE(user.home.writeProfile(sim.url(), user.account, user.password));
        QProcessEnvironment env = user.home.environment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb->display()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        user.process = std::make_unique<test::VellixProcess>(user.home, QStringList{});
        user.process->setEnvironment(env);
        user.process->start();
        ASSERT_TRUE(sim.wait_for_long_polls(user.account, 1, 20000)) << user.process->trace();
        ASSERT_TRUE(user.process->waitForTrace("message buddy window 33434"));
    }

    // The viewable top-level window of the process with this title; 0 when none came.
    unsigned long window(const User& user, const std::string& title) {
        unsigned long found = 0;
        test::runUntil([&] {
            for (const auto& w : screen->windows()) {
                if (w.viewable && w.pid == user.process->pid() && w.name == title) found = w.id;
            }
            return found != 0;
        });
        return found;
    }

    test::SimProcess sim{{"--path", "/skyloom/app.dll"}};
    std::unique_ptr<test::XvfbServer> xvfb;
    std::unique_ptr<test::X11Screen> screen;
};

TEST_F(MessagingE2eTest, AliceAndBobTalkAndBothHistoriesHoldTheConversation) {
    User alice{"alice@demo.local", "alice", {}, {}};
    User bob{"bob@demo.local", "bob", {}, {}};
    ASSERT_NO_FATAL_FAILURE(start(alice));
    ASSERT_NO_FATAL_FAILURE(start(bob));

    // A second start hands the conversation over to the running alice.
    ASSERT_TRUE(test::runToEnd(alice.home, {QStringLiteral("/im:bob@demo.local")}).ended);
    const unsigned long aliceWindow = window(alice, "Bob Baker");
    ASSERT_NE(aliceWindow, 0u) << alice.process->trace();
    screen->type(aliceWindow, "Hello Bob :)");
    screen->press(aliceWindow, "Return", true);

    const unsigned long bobWindow = window(bob, "Alice Archer");
    ASSERT_NE(bobWindow, 0u) << bob.process->trace();
    ASSERT_TRUE(test::runUntil([&] {
        return bob.history("Alice Archer").find(" Hello Bob :)\r\n") != std::string::npos;
    })) << bob.history("Alice Archer");
    screen->type(bobWindow, "Hi Alice");
    screen->press(bobWindow, "Return", true);
    ASSERT_TRUE(test::runUntil([&] {
        return alice.history("Bob Baker").find(" Hi Alice\r\n") != std::string::npos;
    })) << alice.history("Bob Baker");

    // Both files: alice's line, then bob's answer, each under its heading.
    for (const std::string& log : {alice.history("Bob Baker"), bob.history("Alice Archer")}) {
        EXPECT_EQ(log.rfind("Alice Archer (", 0), 0u) << log;
        EXPECT_LT(log.find(":\r\n Hello Bob :)\r\n"), log.find("Bob Baker (")) << log;
        EXPECT_NE(log.find(":\r\n Hi Alice\r\n"), std::string::npos) << log;
    }
    // Stopping ends each conversation session in its file.
    for (User* user : {&alice, &bob}) {
        user->process->terminate();
        ASSERT_TRUE(user->process->waitForEnd()) << user->process->trace();
    }
    EXPECT_TRUE(alice.history("Bob Baker").ends_with("----------\r\n"));
    EXPECT_TRUE(bob.history("Alice Archer").ends_with("----------\r\n"));
}

}  // namespace
}  // namespace vellix
