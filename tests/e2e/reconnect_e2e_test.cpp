// The real vellix against skyloom-sim when the server goes away, misbehaves or the machine
// wakes up: it comes back on its own and never hammers the server. Time runs at 1/20.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <fstream>
#include <thread>

#include "support/private_bus.h"
#include "support/sim_process.h"
#include "support/vellix_process.h"
#include "support/wait.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;
using test::eventually;
using test::SimProcess;
using test::VellixHome;
using test::VellixProcess;

constexpr const char* kAccount = "alice@demo.local";

std::size_t requestsOf(const SimProcess& sim, const std::string& word) {
    const auto log = sim.request_log();
    return static_cast<std::size_t>(std::count_if(log.begin(), log.end(), [&](const auto& entry) {
        return entry.query.find(word + "=Yes") != std::string::npos;
    }));
}

class ReconnectE2eTest : public ::testing::Test {
  protected:
    // Alice polls once an hour, so every check seen here is a retry or a reaction.
    std::unique_ptr<SimProcess> startSim(const std::string& port = "0") {
        const std::string seed = home.path().toStdString() + "/seed.ini";
        std::ofstream(seed) << "[account alice@demo.local]\npassword = alice\n"
                               "flags = instantmessaging\nfolder = INBOX:Inbox:0:0:0:0\nsettings = "
                               "[Vellix]\\nInterval=60\\n\n";
        return std::make_unique<SimProcess>(std::vector<std::string>{"--path", "/skyloom/app.dll",
                                                                     "--port", port, "--seed", seed,
                                                                     "--long-poll-timeout", "2"});
    }
    void startVellix(const std::string& url, const QString& systemBus = {}) {
        ASSERT_TRUE(home.writeProfile(url, kAccount, "alice"));
        QProcessEnvironment env = home.environment();
        env.insert(QStringLiteral("VELLIX_TIME_SCALE"), QStringLiteral("0.05"));
        if (!systemBus.isEmpty()) env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), systemBus);
        vellix = std::make_unique<VellixProcess>(home, QStringList{});
        vellix->setEnvironment(env);
        vellix->start();
        ASSERT_TRUE(vellix->waitForTrace("vellix: frames running")) << vellix->trace();
    }
    // logind's word that the machine woke up, on the stand-in system bus.
    static bool resume(const test::PrivateBus& bus) {
        return QProcess::execute(
                   QStringLiteral("dbus-send"),
                   {QStringLiteral("--bus=") + bus.address(), QStringLiteral("--type=signal"),
                    QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager.PrepareForSleep"),
                    QStringLiteral("boolean:false")}) == 0;
    }

    VellixHome home;
    std::unique_ptr<VellixProcess> vellix;
};

TEST_F(ReconnectE2eTest, ServerDownAtStartOrRestartedIsUsedAgainWithoutTheUser) {
    auto sim = startSim();
    ASSERT_TRUE(sim->running()) << sim->error();
    const std::string port = std::to_string(sim->port());
    const std::string url = sim->url();
    // Down before the start, then gone mid-run: each time the check and the long poll resume.
    for (int round = 0; round < 2; ++round) {
        sim->stop();
        if (round == 0) {
            ASSERT_NO_FATAL_FAILURE(startVellix(url));
        }
        std::this_thread::sleep_for(3s);  // a minute of retries at this scale
        sim = startSim(port);
        ASSERT_TRUE(sim->running()) << sim->error();
        EXPECT_TRUE(eventually([&] { return requestsOf(*sim, "GetMessageCounts") > 0; }, 15s))
            << round << vellix->trace();
        EXPECT_TRUE(sim->wait_for_long_polls(kAccount, 1, 15000)) << round << vellix->trace();
    }
}

TEST_F(ReconnectE2eTest, ResumeChecksAtOnceAndAMisbehavingServerIsNotHammered) {
    test::PrivateBus bus;
    if (bus.address().isEmpty()) GTEST_SKIP() << "dbus-daemon is not installed";
    auto sim = startSim();
    ASSERT_TRUE(sim->running()) << sim->error();
    ASSERT_NO_FATAL_FAILURE(startVellix(sim->url(), bus.address()));
    ASSERT_TRUE(sim->wait_for_long_polls(kAccount, 1, 15000)) << vellix->trace();
    const auto countsAbove = [&](std::size_t n, std::chrono::milliseconds within) {
        return eventually([&] { return requestsOf(*sim, "GetMessageCounts") > n; }, within);
    };
    std::size_t counts = requestsOf(*sim, "GetMessageCounts");
    ASSERT_TRUE(resume(bus));
    ASSERT_TRUE(countsAbove(counts, 10s)) << vellix->trace();

    // 2 bytes/s never trips the stall limit; the overall deadline (120 s, 6 s here) ends it
    // and the check's own retry gets its answer.
    ASSERT_TRUE(
        sim->control("fault", {{"word", "GetMessageCounts"}, {"kind", "trickle"}, {"value", "2"}})
            .ok());
    counts = requestsOf(*sim, "GetMessageCounts");
    ASSERT_TRUE(resume(bus));
    ASSERT_TRUE(countsAbove(counts, 10s));
    EXPECT_TRUE(countsAbove(counts + 1, 20s)) << vellix->trace();

    // Every long poll answered at once with nothing: 4 s here are 80 s for Vellix, in which
    // a busy loop would send thousands.
    ASSERT_TRUE(
        sim->control("fault", {{"word", "WaitForIM"}, {"kind", "empty"}, {"count", "-1"}}).ok());
    const std::size_t polls = requestsOf(*sim, "WaitForIM");
    std::this_thread::sleep_for(4s);
    EXPECT_LE(requestsOf(*sim, "WaitForIM") - polls, 20u);
}

}  // namespace
}  // namespace vellix
