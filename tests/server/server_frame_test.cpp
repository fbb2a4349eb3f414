// The server frame against the real skyloom-sim: requests on the wire, states reported to
// the tray, and the reactions to what the server says.
#include "server/server_frame.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include "core/frame_thread.h"
#include "core/guarded.h"
#include "core/string_table.h"
#include "support/recording_frame.h"
#include "support/sim_process.h"

namespace vellix {
namespace {

using test::Recorded;
using test::SimProcess;

struct ScriptedDialogs : ServerDialogs {
    std::optional<LoginAnswer> answer;
    std::atomic<int> asked = 0;
    Guarded<std::vector<std::string>> errors;
    std::optional<LoginAnswer> askLogin(const std::vector<RememberedAccount>&, int) override {
        ++asked;
        return answer;
    }
    void showError(const std::string& text) override {
        errors.update([&](auto& shown) { shown.push_back(text); });
    }
    void closeError() override {}
};

template <class Predicate>
bool eventually(Predicate predicate, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (predicate()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return predicate();
}

// The words of the requests the frame itself made (agent "Vellix"), in order.
std::vector<std::string> frameRequests(const SimProcess& sim) {
    std::vector<std::string> words;
    for (const auto& entry : sim.request_log()) {
        if (entry.user_agent != "Vellix") continue;
        const auto view = entry.query.find("View=StatusCheck&");
        if (view == std::string::npos) continue;
        const std::string rest = entry.query.substr(view + 17);
        words.push_back(rest.substr(0, rest.find('=')));
    }
    return words;
}

class ServerFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sim_.running()) << sim_.error();
        for (FrameKind kind : {FrameKind::Tray, FrameKind::Note, FrameKind::Main,
                               FrameKind::BuddyWindow, FrameKind::WindowHandler}) {
            recorders_[kind] = test::startRecordingFrame(frames_, kind, clock_);
        }
        statusWord_.set(strings_.text(IDS_STATUS_ONLINE));
    }

    void TearDown() override {
        if (server_) {
            frames_.post(FrameKind::Server, UM_QUIT_THREAD);
            server_->wait();
        }
        for (auto& [kind, started] : recorders_) {
            frames_.post(kind, UM_QUIT_THREAD);
            started.thread->wait();
        }
    }

    void start(std::string user, std::string password, std::string url = {}) {
        AccountSettings account;
        account.url = url.empty() ? sim_.url() : url;
        account.user = std::move(user);
        account.password = std::move(password);
        account_.set(account);
        server_ = std::make_unique<FrameThread>(FrameKind::Server, frames_, [this] {
            ServerFrameDeps deps{
                .frames = frames_,
                .session = session_,
                .statusWord = statusWord_,
                .account = account_,
                .accountSettings = settings_,
                .iniPath = dir_.filePath(QStringLiteral("Vellix.ini")).toStdString(),
                .dataFolder = dir_.path().toStdString() + "/",
                .programFolder = dir_.path().toStdString() + "/",
                .folders = folders_,
                .buddies = buddies_,
                .users = users_,
                .text = [this](int id) { return strings_.text(id); },
                .dialogs = &dialogs_};
            return std::make_unique<CMainFrame_ServerInterface>(std::move(deps), clock_);
        });
        server_->startAndWait();
    }

    std::vector<Recorded> got(FrameKind kind, MessageId id) const {
        std::vector<Recorded> out;
        for (const auto& m : recorders_.at(kind).frame->messages()) {
            if (m.id == id) out.push_back(m);
        }
        return out;
    }
    std::vector<int> trayStates() const {
        std::vector<int> states;
        for (const auto& m : got(FrameKind::Tray, UM_SERVER_STATE)) states.push_back(int(m.w));
        return states;
    }
    bool loggedIn() const { return session_.get().loggedIn; }
    // Whether the sim got, eventually, a request from this agent whose query ends so.
    bool simGot(const std::string& agent, const std::string& tail) const {
        return eventually([&] {
            const auto log = sim_.request_log();
            return std::any_of(log.begin(), log.end(), [&](const auto& e) {
                return e.user_agent == agent && e.query.ends_with(tail);
            });
        });
    }

    SimProcess sim_;
    QTemporaryDir dir_;
    Clock clock_{0.01};
    FrameRegistry frames_;
    Guarded<SessionState> session_;
    Guarded<std::string> statusWord_;
    Guarded<AccountSettings> account_;
    AccountSettingsFile settings_;
    FolderTable folders_;
    BuddyTable buddies_;
    UserList users_;
    StringTable strings_{Language::English};
    ScriptedDialogs dialogs_;
    std::map<FrameKind, test::StartedFrame> recorders_;
    std::unique_ptr<FrameThread> server_;
};

TEST_F(ServerFrameTest, FirstCheckLogsInAndPollsWithTheExactRequests) {
    start("alice@demo.local", "alice");
    ASSERT_TRUE(eventually([&] { return !buddies_.copy().empty(); }));
    // The login reads the capability flags and checks the version again before it fetches
    // the account settings.
    const std::vector<std::string> expected = {"GetVersion",    "GetSession",       "GetVersion",
                                               "GetIMSettings", "GetMessageCounts", "GetBuddyList"};
    const auto words = frameRequests(sim_);
    ASSERT_GE(words.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(words.begin(), words.begin() + 6), expected);
    const auto log = sim_.request_log();
    const auto login = std::find_if(log.begin(), log.end(), [](const auto& e) {
        return e.query.find("GetSession=Yes") != std::string::npos;
    });
    ASSERT_NE(login, log.end());
    EXPECT_EQ(login->method, "POST");
    EXPECT_EQ(login->body, "User=alice%40demo.local&Password=alice");
    EXPECT_TRUE(simGot("VellixStatus", "SetStatus=Online"));

    const auto states = trayStates();
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(std::vector<int>(states.begin(), states.begin() + 3), (std::vector<int>{5, 3, 1}));
    EXPECT_TRUE(loggedIn());
    EXPECT_EQ(session_.get().account, "alice@demo.local");
    EXPECT_TRUE(folders_.findFolder("INBOX").has_value());
    EXPECT_FALSE(settings_.path().empty());
    const auto hooks = got(FrameKind::Main, UM_INSTALL_HOOKS);
    ASSERT_FALSE(hooks.empty());
    EXPECT_EQ(hooks[0].w, 10u);
}

TEST_F(ServerFrameTest, RefusedPasswordShowsTheErrorThenLogsInWithTheDialogsAnswer) {
    dialogs_.answer = LoginAnswer{"bob@demo.local", "bob", true};
    start("bob@demo.local", "wrong");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    EXPECT_EQ(dialogs_.asked, 1);
    ASSERT_FALSE(dialogs_.errors.get().empty());
    EXPECT_EQ(dialogs_.errors.get()[0],
              "Invalid account information.  Username or password is incorrect!");
    EXPECT_EQ(account_.get().password, "bob");
}

TEST_F(ServerFrameTest, CancelledLoginDialogIsNotOfferedAgain) {
    start("bob@demo.local", "wrong");
    ASSERT_TRUE(eventually([&] { return dialogs_.asked == 1; }));
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return trayStates().size() >= 4; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(dialogs_.asked, 1);
    EXPECT_FALSE(loggedIn());
}

TEST_F(ServerFrameTest, UnreachableServerIsReportedAndDisconnected) {
    start("alice@demo.local", "alice", "http://127.0.0.1:1/skyloom/app.dll");
    ASSERT_TRUE(eventually([&] { return !dialogs_.errors.get().empty(); }));
    // The reason in words follows the message.
    EXPECT_EQ(dialogs_.errors.get()[0],
              "Could not connect to the server!  Please verify that the server information is "
              "correct.\n\n" +
                  strings_.text(IDS_NET_REFUSED));
    ASSERT_TRUE(eventually([&] { return trayStates().size() >= 3; }));
    EXPECT_EQ(trayStates().front(), 5);
    EXPECT_EQ(trayStates().back(), 4);
}

TEST_F(ServerFrameTest, ServerSideEventsDuringPolls) {
    start("carol@demo.local", "carol");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));

    // An alert together with new mail: shown once, the folders merged, the note told.
    sim_.control("alert", {{"account", "carol@demo.local"}, {"text", "Maintenance"}});
    sim_.control("deliver", {{"account", "carol@demo.local"}, {"folder", "Projects"}});
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return !got(FrameKind::Note, UM_COUNTS_READY).empty(); }));
    ASSERT_EQ(got(FrameKind::Note, UM_SHOW_ALERT).size(), 1u);
    EXPECT_EQ(got(FrameKind::Note, UM_SHOW_ALERT)[0].text, "Maintenance");
    EXPECT_EQ(folders_.findFolder("Projects")->newCount, 1);

    // A dropped counts reply (twice: the HTTP layer resends once on a reused connection):
    // one reconnect within the same check, which takes the session over, still connected.
    const std::string before = session_.get().sessionId;
    sim_.control("fault", {{"word", "GetMessageCounts"}, {"kind", "drop"}, {"count", "2"}});
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return session_.get().sessionId != before && loggedIn(); }));
    ASSERT_TRUE(eventually([&] { return trayStates().back() == 1; }));
    EXPECT_TRUE(simGot("Vellix", "GetSession=Yes&TakeOver=Yes"));

    // A disconnect text: the disconnect dialog, state 4, polling stopped.
    sim_.control("disconnect", {{"account", "carol@demo.local"}, {"text", "Closed by admin"}});
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return !got(FrameKind::Note, UM_SHOW_DISCONNECT).empty(); }));
    EXPECT_EQ(got(FrameKind::Note, UM_SHOW_DISCONNECT)[0].text, "Closed by admin");
    ASSERT_TRUE(eventually([&] { return trayStates().back() == 4; }));
    EXPECT_TRUE(session_.get().sessionId.empty());
}

TEST_F(ServerFrameTest, DeletedSessionLogsInAgainAtOnce) {
    start("carol@demo.local", "carol");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    const std::string first = session_.get().sessionId;
    sim_.control("delete-session", {{"session", first}});
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] {
        const auto s = session_.get();
        return !s.sessionId.empty() && s.sessionId != first;
    }));
}

TEST_F(ServerFrameTest, StatusChangeAndLogout) {
    start("alice@demo.local", "alice");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    frames_.post(FrameKind::Server, UM_SET_STATUS, 0, 0,
                 makePayload(strings_.text(IDS_STATUS_AWAY)));
    frames_.post(FrameKind::Server, UM_LOGOUT);
    ASSERT_TRUE(eventually([&] { return session_.get().sessionId.empty(); }));
    EXPECT_TRUE(simGot("VellixStatus", "SetStatus=Away"));
    EXPECT_TRUE(simGot("VellixStatus", "SetStatus=Offline"));
    EXPECT_TRUE(simGot("Vellix", "SaveIMSettings=Yes"));
    EXPECT_EQ(trayStates().back(), 4);
    EXPECT_FALSE(got(FrameKind::WindowHandler, UM_CLOSE_CONVERSATIONS).empty());
}

}  // namespace
}  // namespace vellix
