// A conversation end to end: skyloom-sim and two vellix processes (alice and bob) under
// Xvfb, typed into with real key events.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
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
    void start(User& user, QStringList arguments = {}) {
        ASSERT_TRUE(user.home.writeProfile(sim.url(), user.account, user.password));
        QProcessEnvironment env = user.home.environment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb->display()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        user.process = std::make_unique<test::VellixProcess>(user.home, std::move(arguments));
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
    // How many windows of the process show, its own ("... - Vellix") not counted.
    long conversations(const User& user) {
        const auto all = screen->windows();
        return std::count_if(all.begin(), all.end(), [&](const test::ScreenWindow& w) {
            return w.viewable && w.pid == user.process->pid() && !w.name.ends_with("Vellix");
        });
    }
    void send(unsigned long window, const std::string& text) {
        screen->type(window, text);
        screen->press(window, "Return", true);
    }

    test::SimProcess sim{{"--path", "/skyloom/app.dll"}};
    std::unique_ptr<test::XvfbServer> xvfb;
    std::unique_ptr<test::X11Screen> screen;
};

TEST_F(MessagingE2eTest, AliceAndBobTalkAndBothHistoriesHoldTheConversation) {
    User alice{"alice@demo.local", "alice", {}, {}};
    User bob{"bob@demo.local", "bob", {}, {}};
    // Asked for at the start, the conversation opens once the buddy list has named bob.
    ASSERT_NO_FATAL_FAILURE(start(alice, {QStringLiteral("/im:bob@demo.local")}));
    ASSERT_NO_FATAL_FAILURE(start(bob));

    const unsigned long aliceWindow = window(alice, "Bob Baker");
    ASSERT_NE(aliceWindow, 0u) << alice.process->trace();
    send(aliceWindow, "Hello Bob :)");

    const unsigned long bobWindow = window(bob, "Alice Archer");
    ASSERT_NE(bobWindow, 0u) << bob.process->trace();
    ASSERT_TRUE(test::runUntil([&] {
        return bob.history("Alice Archer").find(" Hello Bob :)\r\n") != std::string::npos;
    })) << bob.history("Alice Archer");
    send(bobWindow, "Hi Alice");
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

TEST_F(MessagingE2eTest, AGroupOfThreeKeepsOneWindowEachAndADroppedSendSaysSo) {
    User alice{"alice@demo.local", "alice", {}, {}}, bob{"bob@demo.local", "bob", {}, {}},
        carol{"carol@demo.local", "carol", {}, {}};
    for (User* user : {&alice, &bob, &carol}) ASSERT_NO_FATAL_FAILURE(start(*user));

    // Handed over to the running alice, in any order: the group's key is sorted.
    ASSERT_TRUE(
        test::runToEnd(alice.home, {QStringLiteral("/im:carol@demo.local,bob@demo.local")}).ended);
    const unsigned long aliceWindow = window(alice, "Bob Baker, Carol Cole");
    ASSERT_NE(aliceWindow, 0u) << alice.process->trace();
    send(aliceWindow, "Hello both");
    const unsigned long bobWindow = window(bob, "Alice Archer, Carol Cole");
    ASSERT_NE(bobWindow, 0u) << bob.process->trace();
    // Bob's answer reaches the windows alice and carol already have, and no other.
    send(bobWindow, "Hi from Bob");
    for (const auto& [user, title] : {std::pair{&alice, "Bob Baker, Carol Cole"},
                                      {&bob, "Alice Archer, Carol Cole"},
                                      {&carol, "Alice Archer, Bob Baker"}}) {
        EXPECT_TRUE(test::runUntil([u = user, t = title] {
            return u->history(t).find(" Hi from Bob\r\n") != std::string::npos;
        })) << user->history(title);
        EXPECT_EQ(conversations(*user), 1) << user->process->trace();
    }

    // The server drops the next send: the window says so, the text stays in the history.
    ASSERT_EQ(sim.control("fault", {{"word", "SendMessage"}, {"kind", "drop"}}).status, 200);
    send(aliceWindow, "lost words");
    EXPECT_TRUE(alice.process->waitForTrace(
        "system: A server error has occurred! The server may have gone offline."))
        << alice.process->trace();
    EXPECT_NE(alice.history("Bob Baker, Carol Cole").find(" lost words\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vellix
