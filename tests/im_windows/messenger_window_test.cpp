// A messenger window with the real messaging frame against skyloom-sim: what the user types
// is shown and logged, a send the server never answers adds a system message below it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/frame_thread.h"
#include "im/messaging_frame.h"
#include "im/windows/messenger_windows.h"
#include "support/recording_frame.h"
#include "support/sim_process.h"
#include "support/wait.h"

namespace vellix {
namespace {

using namespace std::chrono_literals;

void key(QWidget* target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(target, &release);
}

void type(QWidget* target, const QString& text) {
    for (QChar c : text) key(target, 0, Qt::NoModifier, QString(c));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MessengerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sim.running()) << sim.error();
        const std::string sessionId = sim.login("alice@demo.local", "alice");
        ASSERT_FALSE(sessionId.empty());
        // Bob online, so that the first send is delivered.
        ASSERT_FALSE(sim.login("bob@demo.local", "bob").empty());
        session.update([&](SessionState& s) {
            s.sessionId = sessionId;
            s.account = "alice@demo.local";
            s.displayName = "Alice Archer";
        });
        statusWord.set("online");
        buddies.replace({{"bob@demo.local", "Bob Baker", "Online"}});
        const std::string userFolder = dir.path().toStdString() + "/alice/";
        std::filesystem::create_directories(userFolder);
        std::ofstream(userFolder + "settings.tmp") << "[Vellix]\r\n";
        accountSettings.setPath(userFolder + "settings.tmp");
        messaging = std::make_unique<FrameThread>(FrameKind::Messaging, registry, [this] {
            return std::make_unique<CMainFrame_IMInterface>(MessagingFrameDeps{
                .clock = clock,
                .session = session,
                .serverUrl = [this] { return sim.url(); },
                .connection = [] { return ConnectionSettings{}; },
            });
        });
        ASSERT_TRUE(messaging->startAndWait());
    }
    void TearDown() override {
        registry.post(FrameKind::Messaging, UM_QUIT_THREAD);
        if (messaging) messaging->wait();
    }

    MessengerWindow* openWithBob() {
        windows.open({7, "bob@demo.local", {{"bob@demo.local", "Bob Baker", "Online"}}, {}});
        test::runUntil([&] { return !windows.windows().empty(); });
        return windows.windows().empty() ? nullptr : windows.windows().front();
    }

    test::SimProcess sim;
    QTemporaryDir dir;
    const Clock clock;
    FrameRegistry registry;
    Guarded<SessionState> session;
    Guarded<std::string> statusWord;
    AccountSettingsFile accountSettings;
    BuddyTable buddies;
    WindowTable table;
    const StringTable strings{Language::English};
    std::unique_ptr<FrameThread> messaging;
    MessengerWindows windows{MessengerContext{
        .frames = registry,
        .table = table,
        .buddies = buddies,
        .session = session,
        .statusWord = statusWord,
        .accountSettings = accountSettings,
        .iniPath = dir.path().toStdString() + "/Vellix.ini",
        .dataFolder = dir.path().toStdString() + "/",
        .strings = strings,
        .serverUrl = [this] { return sim.url(); },
        .sendFile =
            [this](const std::string& to, bool group) {
                offers.push_back({to, group});
            },
    }};
    std::vector<std::pair<std::string, bool>> offers;
};

TEST_F(MessengerWindowTest, TypedTextIsSentShownAndLoggedAndADroppedSendSaysSo) {
    MessengerWindow* window = openWithBob();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bob Baker"));
    QTextEdit* input = window->input();

    // Send on Enter is off: Enter makes a line, Ctrl+Enter sends.
    type(input, QStringLiteral("hello"));
    key(input, Qt::Key_Return);
    type(input, QStringLiteral("bob :)"));
    EXPECT_EQ(input->toPlainText(), QStringLiteral("hello\nbob :)"));
    key(input, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(input->toPlainText().isEmpty());
    ASSERT_TRUE(test::runUntil([&] {
        for (const auto& r : sim.request_log())
            if (r.query.find("SendMessage=yes") != std::string::npos) return true;
        return false;
    }));

    ASSERT_EQ(sim.control("fault", {{"word", "SendMessage"}, {"kind", "drop"}}).status, 200);
    type(input, QStringLiteral("lost words"));
    key(input, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(test::runUntil([&] {
        return window->display()->toPlainText().contains(
            QStringLiteral("The server may have gone offline."));
    })) << window->display()->toPlainText().toStdString();
    const QString shown = window->display()->toPlainText();
    EXPECT_LT(shown.indexOf(QStringLiteral("lost words")),
              shown.indexOf(QStringLiteral("System Message")));
    // Only the failed send got a system message.
    EXPECT_EQ(shown.count(QStringLiteral("System Message")), 1);

    window->close();
    const std::string history = readFile(dir.path().toStdString() + "/alice/History/Bob Baker.log");
    EXPECT_NE(history.find(":\r\n hello\r\nbob :)\r\n"), std::string::npos) << history;
    EXPECT_NE(history.find(":\r\n lost words\r\n"), std::string::npos) << history;
    EXPECT_EQ(history.find("System Message"), std::string::npos);
    EXPECT_TRUE(history.ends_with("----------\r\n"));
    EXPECT_EQ(history.rfind("Alice Archer (", 0), 0u);
}

TEST_F(MessengerWindowTest, CommandsOfferAFileAndOpenTheBuddyListPage) {
    auto options = test::startRecordingFrame(registry, FrameKind::Options, clock);
    MessengerWindow* window = openWithBob();
    ASSERT_NE(window, nullptr);
    window->runCommand(MessengerCommand::SendFile);
    window->runCommand(MessengerCommand::EditBuddyList);
    EXPECT_EQ(offers, (std::vector<std::pair<std::string, bool>>{{"bob@demo.local", false}}));
    ASSERT_TRUE(options.frame->waitForMessages(1));
    EXPECT_EQ(options.frame->messages()[0].text, std::optional<std::string>("Buddy List"));
    window->close();
}

}  // namespace
}  // namespace vellix
