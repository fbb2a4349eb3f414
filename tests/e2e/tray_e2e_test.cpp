// New mail and mail-to links end to end: skyloom-sim, the real vellix binary, a stand-in
// browser that records the addresses it is given and, for the tray, trayer under Xvfb.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/messages.h"
#include "support/sim_process.h"
#include "support/vellix_process.h"
#include "support/wait.h"
#include "support/xvfb_server.h"
#include "x11_screen.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;
using test::ScreenWindow;
using test::SimProcess;
using test::VellixHome;
using test::VellixProcess;
using Picture = std::vector<std::uint32_t>;

const std::string kAccount = "alice@demo.local";

std::string messageTrace(const char* frame, MessageId id) {
    return "vellix: message " + std::string(frame) + " " + std::to_string(id) + "\n";
}

std::size_t countOf(const std::string& text, const std::string& needle, std::size_t from = 0) {
    std::size_t count = 0;
    for (auto at = text.find(needle, from); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

std::vector<std::string> readLines(const QString& path) {
    QFile file(path);
    std::vector<std::string> lines;
    if (!file.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) lines.push_back(line.toStdString());
    return lines;
}

std::set<std::string> liveSessions(const SimProcess& sim) {
    std::set<std::string> sessions;
    const auto reply = sim.control("sessions");
    for (const QJsonValue entry :
         QJsonDocument::fromJson(QByteArray::fromStdString(reply.body)).array()) {
        const QJsonObject object = entry.toObject();
        if (object.value(QStringLiteral("account")).toString().toStdString() == kAccount)
            sessions.insert(object.value(QStringLiteral("session")).toString().toStdString());
    }
    return sessions;
}

std::size_t countsRequests(const SimProcess& sim) {
    std::size_t count = 0;
    for (const auto& request : sim.request_log())
        if (request.query.find("GetMessageCounts") != std::string::npos) ++count;
    return count;
}

// The session a page address carries, checked against the sim's live sessions.
std::string sessionOf(const std::string& url, const SimProcess& sim) {
    const std::string prefix = sim.url() + "?Session=";
    if (url.rfind(prefix, 0) != 0) return {};
    const std::string session = url.substr(prefix.size(), url.find('&') - prefix.size());
    return liveSessions(sim).count(session) ? session : std::string();
}

std::vector<Picture> samplePictures(const test::X11Screen& screen, const ScreenWindow& area,
                                    std::chrono::milliseconds span) {
    std::vector<Picture> pictures;
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
        pictures.push_back(screen.grab(area));
        std::this_thread::sleep_for(3ms);
    }
    return pictures;
}

int changes(const std::vector<Picture>& pictures) {
    int count = 0;
    for (std::size_t i = 1; i < pictures.size(); ++i) count += pictures[i] != pictures[i - 1];
    return count;
}

// The picture when it stays the same for the whole span, else nothing.
Picture stillPicture(const test::X11Screen& screen, const ScreenWindow& area,
                     std::chrono::milliseconds span) {
    std::vector<Picture> pictures = samplePictures(screen, area, span);
    if (pictures.empty() || changes(pictures) != 0) return {};
    return std::move(pictures.front());
}

class TrayE2eTest : public ::testing::Test {
  protected:
    QString path(const char* name) const { return QDir(home.path()).filePath(QLatin1String(name)); }

    // A profile logged in as alice whose browser is a script appending each address to
    // urls.txt.
    void writeProfile(const SimProcess& sim) {
        QFile script(path("browser.sh"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/urls.txt\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_TRUE(
            home.writeProfile(sim.url(), kAccount, "alice",
                              "BrowserCommand=" + path("browser.sh").toStdString() + " %1\n"));
    }

    std::vector<std::string> openedUrls() const { return readLines(path("urls.txt")); }

    VellixHome home;
};

TEST_F(TrayE2eTest, MailtoHandOverOpensTheComposePageOfTheRunningSession) {
    SimProcess sim({"--path", "/skyloom/app.dll"});
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_NO_FATAL_FAILURE(writeProfile(sim));
    VellixProcess vellix(home, {});
    vellix.start();
    ASSERT_TRUE(test::runUntil([&] { return countsRequests(sim) > 0; })) << vellix.trace();

    // Arguments stay percent-encoded from the command line to the page address.
    const struct {
        const char* argument;
        const char* request;
    } cases[] = {
        {"/mailto:ann@example.org?subject=Hi", "&NextTo=ann@example.org&NextSubject=Hi"},
        {"/mailto:ann@example.org?subject=Hi%20there&to=bob@example.org&x=1",
         "&NextTo=ann@example.org,bob@example.org&NextSubject=Hi%20there"},
        {"/mailto:?to=cy@example.org&body=a%26b", "&NextTo=cy@example.org&NextBody=a%26b"},
    };
    std::size_t opened = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const auto run = test::runToEnd(home, {QString::fromUtf8(c.argument)});
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 0);
        ASSERT_TRUE(test::runUntil([&] { return openedUrls().size() > opened; }, 10s))
            << vellix.trace();
        const std::string url = openedUrls()[opened++];
        const std::string session = sessionOf(url, sim);
        EXPECT_FALSE(session.empty()) << url;
        EXPECT_EQ(url, sim.url() + "?Session=" + session + "&View=Compose&NextNew=Yes" + c.request +
                           "&Frames=Yes");
    }
    EXPECT_TRUE(vellix.running());
    EXPECT_EQ(openedUrls().size(), std::size(cases));
}

TEST_F(TrayE2eTest, NewMailBlinksTheTrayIconShowsTheNoteAndOpensTheFirstUnreadMessage) {
    const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (trayer.isEmpty()) GTEST_SKIP() << "trayer is not installed";
    test::XvfbServer xvfb;
    if (xvfb.display().empty()) GTEST_SKIP() << xvfb.why();

    QProcessEnvironment env = home.environment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb.display()));
    // No session bus: the icon goes the XEmbed way into trayer.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    QProcess tray;
    tray.setProcessEnvironment(env);
    tray.start(trayer,
               {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--height"),
                QStringLiteral("32"), QStringLiteral("--SetDockType"), QStringLiteral("false")});
    ASSERT_TRUE(tray.waitForStarted());
    test::X11Screen screen(xvfb.display());
    ASSERT_TRUE(screen.connected());
    ASSERT_TRUE(test::runUntil([&] { return screen.trayOwned(); }, 10s));

    QFile seed(path("seed.ini"));
    ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
    // Interval 1 is a 3 s poll at time scale 0.05.
    seed.write(
        "[account alice@demo.local]\npassword = alice\nfolder = INBOX:Inbox:0:0:0:0\n"
        "settings = [Vellix]\\nInterval=1\\nDefaultShowNotice=Yes\\n"
        "DefaultOpenMessage=Yes\\n\n");
    seed.close();
    SimProcess sim({"--path", "/skyloom/app.dll", "--seed", path("seed.ini").toStdString()});
    ASSERT_TRUE(sim.running()) << sim.error();
    ASSERT_NO_FATAL_FAILURE(writeProfile(sim));

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("VELLIX_TIME_SCALE"), QStringLiteral("0.05"));
    VellixProcess vellix(home, {});
    vellix.setEnvironment(env);
    vellix.start();
    ASSERT_TRUE(vellix.waitForTrace("vellix: frames running")) << vellix.trace();
    const long pid = static_cast<long>(vellix.pid());
    const auto find = [&](auto matches) {
        for (const ScreenWindow& window : screen.windows())
            if (window.pid == pid && window.viewable && matches(window)) return window;
        return ScreenWindow{};
    };

    // Our icon is a window embedded in trayer's panel, not a top-level of its own. The panel
    // may move or resize it after embedding, so its place is read again before each look.
    ScreenWindow icon;
    const auto findIcon = [&] {
        const ScreenWindow now =
            find([&](const ScreenWindow& w) { return w.parent != screen.root() && w.width > 0; });
        if (now.id != 0) icon = now;
        return now.id != 0;
    };
    ASSERT_TRUE(test::runUntil(findIcon)) << vellix.trace();
    EXPECT_LT(icon.y, 32);

    // After the first check the icon holds still: the connected picture.
    Picture connected;
    ASSERT_TRUE(test::runUntil([&] {
        if (countsRequests(sim) == 0 || !findIcon()) return false;
        connected = stillPicture(screen, icon, 400ms);
        return !connected.empty();
    })) << "icon "
        << icon.width << "x" << icon.height << " at " << icon.x << "," << icon.y << ", picture of "
        << screen.grab(icon).size() << " pixels\n"
        << vellix.trace();
    ASSERT_FALSE(connected.empty());
    EXPECT_GT(std::set<std::uint32_t>(connected.begin(), connected.end()).size(), 1u)
        << "the tray shows no picture";
    EXPECT_TRUE(openedUrls().empty()) << "no mail, yet a page opened";
    EXPECT_EQ(find([](const ScreenWindow& w) { return w.name == "New Mail"; }).id, 0u);

    // A slow server answer keeps the browser from opening at once, so the blink, which
    // ends when the message page opens, lasts long enough to be seen.
    ASSERT_TRUE(
        sim.control("fault",
                    {{"word", "GetSession"}, {"kind", "delay"}, {"value", "1500"}, {"count", "-1"}})
            .ok());
    const std::size_t before = vellix.trace().size();
    ASSERT_TRUE(sim.control("deliver", {{"account", kAccount}, {"subject", "Hello"}}).ok());
    const std::string passTrace = messageTrace("note", UM_COUNTS_READY);
    const std::string stateTrace = messageTrace("tray", UM_SERVER_STATE);
    std::size_t passAt = std::string::npos;
    ASSERT_TRUE(test::runUntil([&] {
        passAt = vellix.trace().find(passTrace, before);
        return passAt != std::string::npos &&
               vellix.trace().find(stateTrace, passAt) != std::string::npos;
    })) << vellix.trace();
    ASSERT_TRUE(findIcon());
    const auto blink = samplePictures(screen, icon, 500ms);
    EXPECT_GE(changes(blink), 3) << "the icon does not blink";
    EXPECT_TRUE(
        std::any_of(blink.begin(), blink.end(), [&](const Picture& p) { return p != connected; }));
    ASSERT_TRUE(sim.control("clear-faults").ok());

    EXPECT_TRUE(test::runUntil(
        [&] { return find([](const ScreenWindow& w) { return w.name == "New Mail"; }).id != 0; },
        10s))
        << "no note window";

    ASSERT_TRUE(test::runUntil([&] { return !openedUrls().empty(); }, 10s)) << vellix.trace();
    const std::string url = openedUrls().front();
    const std::string session = sessionOf(url, sim);
    EXPECT_FALSE(session.empty()) << url;
    EXPECT_EQ(url, sim.url() + "?Session=" + session +
                       "&View=Message&NextFolder=INBOX&NextFirstUnread=Yes&Frames=Yes");

    // The opened page sets the icon still again, and the next check opens nothing more.
    const std::size_t openAt = vellix.trace().find(messageTrace("server", UM_OPEN_LINK), before);
    ASSERT_NE(openAt, std::string::npos);
    ASSERT_TRUE(test::runUntil([&] { return countOf(vellix.trace(), stateTrace, openAt) >= 4; }))
        << vellix.trace();
    EXPECT_TRUE(test::runUntil([&] { return !stillPicture(screen, icon, 100ms).empty(); }, 5s));
    EXPECT_EQ(openedUrls().size(), 1u);
    EXPECT_EQ(countOf(vellix.trace(), passTrace), 1u);

    vellix.terminate();
    EXPECT_TRUE(vellix.waitForEnd());
    EXPECT_EQ(vellix.exitCode(), 0);
    tray.terminate();
    tray.waitForFinished(5000);
}

}  // namespace
}  // namespace vellix
