// The server frame against the real skyloom-sim: requests on the wire, states reported to
// the tray, and the reactions to what the server says.
#include "server/server_frame.h"

#include <gtest/gtest.h>
#include <QDeadlineTimer>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/guarded.h"
#include "core/string_table.h"
#include "server/file_transfer_records.h"
#include "support/frame_threads.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "support/wait.h"

namespace vellix {
namespace {

using test::eventually;
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
            recorders_[kind] = threads_.record(kind);
        }
        statusWord_.set(strings_.text(IDS_STATUS_ONLINE));
    }

    void start(std::string user, std::string password, std::string url = {}) {
        AccountSettings account;
        account.url = url.empty() ? sim_.url() : url;
        account.user = std::move(user);
        account.password = std::move(password);
        account_.set(account);
        threads_.start<CMainFrame_ServerInterface>(FrameKind::Server, [this] {
            return std::make_unique<CMainFrame_ServerInterface>(
                ServerFrameDeps{
                    .frames = frames_,
                    .session = session_,
                    .statusWord = statusWord_,
                    .account = account_,
                    .accountSettings = settings_,
                    .iniPath = dir_.file("Vellix.ini"),
                    .dataFolder = dir_.path() + "/",
                    .programFolder = programFolder_.empty() ? dir_.path() + "/" : programFolder_,
                    .folders = folders_,
                    .buddies = buddies_,
                    .users = users_,
                    .text = [this](int id) { return strings_.text(id); },
                    .dialogs = &dialogs_},
                clock_);
        });
    }
    // Asks the server frame to end; false when it has not ended within `ms`.
    bool quitServer(int ms) {
        frames_.post(FrameKind::Server, UM_QUIT_THREAD);
        return threads_.thread(FrameKind::Server)->wait(QDeadlineTimer(ms));
    }

    std::vector<Recorded> got(FrameKind kind, MessageId id) const {
        std::vector<Recorded> out;
        for (const auto& m : recorders_.at(kind)->messages()) {
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
    test::TempFolder dir_;
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
    std::string programFolder_;  // empty: the test's folder
    test::FrameThreads threads_{frames_, clock_};
    std::map<FrameKind, test::RecordingFrame*> recorders_;
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

TEST_F(ServerFrameTest, UpdateIsOfferedForANewerVersionWhereTheProgramFolderTakesAFile) {
    // Permission bits do not stop root, so the folder that takes no file lies below a file.
    const std::string file = dir_.write("plain-file", "");
    struct Case {
        const char* version;
        const char* autoupdate;
        bool writable, offered;
    };
    const Case cases[] = {
        {"9.0.1", "yes", true, true},   {"9.0.0 build 7", "yes", true, false},
        {"9.0.1", "NO", true, false},   {"10.0.0", "yes", true, false},
        {"9.0.1", "yes", false, false},
    };
    for (const Case& c : cases) {
        sim_.control("version", {{"version", c.version}, {"autoupdate", c.autoupdate}});
        session_.set(SessionState{});
        programFolder_ = c.writable ? "" : file + "/";
        const auto connected = std::ranges::count(trayStates(), 1);
        const size_t offers = got(FrameKind::WindowHandler, UM_REFRESH_BUDDIES).size();
        start("alice@demo.local", "alice");
        ASSERT_TRUE(eventually([&] { return std::ranges::count(trayStates(), 1) > connected; }));
        frames_.send(FrameKind::WindowHandler, 0);  // handled after anything posted before
        EXPECT_EQ(got(FrameKind::WindowHandler, UM_REFRESH_BUDDIES).size() - offers,
                  c.offered ? 1u : 0u)
            << c.version << " autoupdate " << c.autoupdate << (c.writable ? "" : " read-only");
        threads_.stop(FrameKind::Server);
    }
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
    // The tray hears of it on its own thread, maybe after the error shows.
    EXPECT_TRUE(eventually([&] { return !trayStates().empty() && trayStates().front() == 5; }));
    // Then it retries on its own, saying so in the tooltip, and shows no further error.
    ASSERT_TRUE(eventually([&] {
        const auto states = got(FrameKind::Tray, UM_SERVER_STATE);
        return std::count_if(states.begin(), states.end(),
                             [](const Recorded& m) { return m.w == 4 && m.l > 0; }) >= 3;
    }));
    EXPECT_EQ(dialogs_.errors.get().size(), 1u);
}

// After the user's own log-out, a refused password or the server's word to disconnect,
// nothing is sent until the user acts.
TEST_F(ServerFrameTest, NoAutomaticRetryAfterWhatMustBeRespected) {
    const auto quietAfter = [&](const char* name) {
        // Requests the event itself set off may still be on their way under load. Any retry
        // comes within 600 ms of the one before (60 s, the longest wait, at this scale), so
        // a retrying frame never lets the count settle for 700 ms.
        std::size_t before = frameRequests(sim_).size();
        auto changed = std::chrono::steady_clock::now();
        ASSERT_TRUE(eventually([&] {
            if (const std::size_t now = frameRequests(sim_).size(); now != before) {
                before = now;
                changed = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - changed > std::chrono::milliseconds(700);
        })) << name;
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_EQ(frameRequests(sim_).size(), before) << name;
    };
    start("carol@demo.local", "carol");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    sim_.control("disconnect", {{"account", "carol@demo.local"}, {"text", "Closed by admin"}});
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return !got(FrameKind::Note, UM_SHOW_DISCONNECT).empty(); }));
    quietAfter("disconnect text");

    frames_.post(FrameKind::Server, UM_CHECK_NOW);  // the user confirms the notice
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    frames_.post(FrameKind::Server, UM_LOGOUT);
    ASSERT_TRUE(eventually([&] { return !loggedIn(); }));
    quietAfter("log-out");

    account_.update([](AccountSettings& a) { a.password = "wrong"; });
    frames_.post(FrameKind::Server, UM_CHECK_NOW);
    ASSERT_TRUE(eventually([&] { return dialogs_.asked == 1; }));
    quietAfter("refused password");
}

// The reply to a login would take 30 s; a quit does not wait for it, and shows nothing.
TEST_F(ServerFrameTest, QuitCutsALoginInFlightShort) {
    start("alice@demo.local", "alice");
    ASSERT_TRUE(eventually([&] { return loggedIn(); }));
    sim_.control("fault", {{"word", "GetSession"}, {"kind", "delay"}, {"value", "30000"}});
    frames_.post(FrameKind::Server, UM_RELOGIN);
    ASSERT_TRUE(simGot("Vellix", "GetSession=Yes"));
    EXPECT_TRUE(quitServer(3000));
    EXPECT_TRUE(dialogs_.errors.get().empty());
}

// The pauses around a new session are timer steps: with them scaled to 10 s each, a quit
// posted while they run still ends the frame at once instead of after 30 s.
TEST_F(ServerFrameTest, QuitDuringTheNewSessionPausesIsHandledAtOnce) {
    clock_ = Clock(20.0);
    start("alice@demo.local", "alice");
    ASSERT_TRUE(eventually([&] { return !session_.get().sessionId.empty(); }));
    EXPECT_TRUE(quitServer(3000));
    EXPECT_FALSE(loggedIn());
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
    frames_.post(FrameKind::Server, UM_FILE_TRANSFER_REQUEST, 0, 0,
                 makePayload(FileOffer{"bob@demo.local", "a b.txt", 12}));
    frames_.post(FrameKind::Server, UM_FILE_TRANSFER_RESPONSE, 0, 0,
                 makePayload(FileAnswer{"bob@demo.local", "x.bin", false}));
    EXPECT_TRUE(
        simGot("Vellix",
               "FileTransferRequest=yes&TransferTo=bob@demo.local&FileName=a%20b.txt&FileSize=12"));
    EXPECT_TRUE(
        simGot("Vellix", "FileTransferResponse=no&TransferFrom=bob@demo.local&FileName=x.bin"));
    frames_.post(FrameKind::Server, UM_LOGOUT);
    ASSERT_TRUE(eventually([&] { return session_.get().sessionId.empty(); }));
    EXPECT_TRUE(simGot("VellixStatus", "SetStatus=Away"));
    EXPECT_TRUE(simGot("VellixStatus", "SetStatus=Offline"));
    EXPECT_TRUE(simGot("Vellix", "SaveIMSettings=Yes"));
    EXPECT_TRUE(eventually([&] { return trayStates().back() == 4; }));
    EXPECT_FALSE(got(FrameKind::WindowHandler, UM_CLOSE_CONVERSATIONS).empty());
}

}  // namespace
}  // namespace vellix
