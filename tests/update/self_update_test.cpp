// The self-update against skyloom-sim through the real frames: the server frame logs in,
// finds 9.0.1 newer and its program folder writable and offers the update; the window-handler
// frame starts the real dialogs; the download is checked with the key compiled into this
// build and the installer runs into the prefix of that program folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

#include "core/desktop_shell.h"
#include "core/guarded.h"
#include "core/string_table.h"
#include "im/window_handler_frame.h"
#include "server/server_frame.h"
#include "support/frame_threads.h"
#include "support/installer_kit.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "support/wait.h"
#include "update/installer_run.h"
#include "update/update_public_key.h"
#include "update/windows/qt_updater_launcher.h"

namespace vellix {
namespace {

enum class Served { Signed, Tampered, Unsigned, Page };
enum class Answer { UpdateNow, Later, CancelDownload, ConnectionLost };

// The desktop as the server frame sees it: here it only ever opens the download page.
struct RecordingShell final : DesktopShell {
    std::atomic<int> opened{0};
    Status openUrl(const std::string&) override {
        ++opened;
        return success();
    }
    Status openInNewBrowser(const std::string& url) override { return openUrl(url); }
    Status startProgram(const std::string&, const std::string&) override { return success(); }
};

struct Outcome {
    std::string installedVersion;  // the marker the installer leaves
    std::string message;           // the message box at the end, if any
    bool downloadPageOpened = false;
    bool privateFilesLeft = false;
    std::vector<test::LoggedRequest> installerRequests;
};

template <class T>
T* findWindow(const char* name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (top->objectName() == QLatin1String(name)) return qobject_cast<T*>(top);
        if (auto* child = top->findChild<T*>(QLatin1String(name))) {
            if (child->isVisible()) return child;
        }
    }
    return nullptr;
}

class SelfUpdateTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        kit_ = new test::TempFolder;
        installer_ = new test::SignedInstaller(test::makeSignedInstaller(kit_->path(), "9.0.1"));
    }
    static void TearDownTestSuite() {
        delete installer_;
        delete kit_;
    }
    void SetUp() override {
        ASSERT_FALSE(installer_->path.empty()) << installer_->error;
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(work_.file("run")));
        std::filesystem::create_directories(work_.file("run"));
    }

    Outcome runUpdate(Served served, Answer answer) {
        std::string installer = installer_->path;
        std::string signature = installer_->signature;
        if (served == Served::Tampered) {
            installer = work_.file("tampered.sh");
            std::string bytes = test::readFile(installer_->path);
            bytes[bytes.size() / 2] ^= 1;
            test::writeFile(installer, bytes);
        }
        if (served == Served::Unsigned) signature = work_.file("missing.sig");
        const std::string seed = work_.file("seed.ini");
        test::writeFile(seed, "[server]\nversion = 9.0.1\ninstaller = " + installer +
                                  "\ninstaller_signature = " + signature +
                                  "\n[account alice@example.org]\npassword = secret\n");
        test::SimProcess sim({"--seed", seed});
        EXPECT_TRUE(sim.running()) << sim.error();
        if (served == Served::Page) {
            sim.control("fault", {{"word", "installer"}, {"kind", "status"}, {"value", "404"}});
        }
        const bool held = answer == Answer::CancelDownload || answer == Answer::ConnectionLost;
        if (held) {
            sim.control("fault", {{"word", "installer"}, {"kind", "delay"}, {"value", "20000"}});
        }
        const Clock clock(0.01);
        FrameRegistry frames;
        const StringTable strings(Language::English);
        const std::string programFolder = work_.file("prefix/bin/");
        std::filesystem::create_directories(programFolder);
        Guarded<SessionState> session;
        Guarded<AccountSettings> account;
        AccountSettings alice;
        alice.url = sim.url();
        alice.user = "alice@example.org";
        alice.password = "secret";
        account.set(alice);
        QtUpdaterLauncher launcher(
            UpdaterDeps{.frames = frames,
                        .text = [&strings](int id) { return strings.text(id); },
                        .source =
                            [&] {
                                return UpdateSource{sim.url(), session.get().sessionId, {}};
                            },
                        .prefix = installPrefix(programFolder),
                        .publicKeyPem = std::string(kUpdatePublicKeyPem)},
            strings);
        Guarded<std::string> statusWord;
        AccountSettingsFile settings;
        FolderTable folders;
        BuddyTable buddies;
        UserList users;
        RecordingShell shell;
        WindowTable windows;
        test::FrameThreads threads(frames, clock);
        threads.start<CMainFrame_WindowHandler>(FrameKind::WindowHandler, [&] {
            return std::make_unique<CMainFrame_WindowHandler>(WindowHandlerDeps{
                .clock = clock, .table = windows, .buddies = buddies, .updater = &launcher});
        });
        threads.start<CMainFrame_ServerInterface>(FrameKind::Server, [&] {
            return std::make_unique<CMainFrame_ServerInterface>(
                ServerFrameDeps{.frames = frames,
                                .session = session,
                                .statusWord = statusWord,
                                .account = account,
                                .accountSettings = settings,
                                .iniPath = work_.file("Vellix.ini"),
                                .dataFolder = work_.path() + "/",
                                .programFolder = programFolder,
                                .folders = folders,
                                .buddies = buddies,
                                .users = users,
                                .text = [&strings](int id) { return strings.text(id); },
                                .shell = &shell},
                clock);
        });

        Outcome out;
        QPushButton* button = nullptr;
        const char* name = answer == Answer::Later ? "updateLater" : "updateNow";
        EXPECT_TRUE(
            test::runUntil([&] { return (button = findWindow<QPushButton>(name)); }, 20000));
        if (button) button->click();
        if (held) {
            QDialog* progress = nullptr;
            EXPECT_TRUE(test::runUntil(
                [&] { return (progress = findWindow<QDialog>("updateProgress")); }, 20000));
            if (progress && answer == Answer::CancelDownload) progress->reject();
            if (answer == Answer::ConnectionLost) {
                sim.control("disconnect", {{"account", "alice@example.org"}});
                frames.post(FrameKind::Server, UM_CHECK_NOW);
            }
        }
        QMessageBox* box = nullptr;
        test::runUntil(
            [&] { return !launcher.current() || (box = findWindow<QMessageBox>("updateMessage")); },
            60000);
        if (box) {
            out.message = box->text().toStdString();
            box->accept();
        }
        EXPECT_TRUE(test::runUntil([&] { return !launcher.current(); }, 20000));

        out.installedVersion = work_.read("prefix/share/vellix/installed-version");
        frames.send(FrameKind::Server, 0);  // handled after anything posted before
        out.downloadPageOpened = shell.opened > 0;
        out.privateFilesLeft = !std::filesystem::is_empty(work_.file("run"));
        for (auto& request : sim.request_log()) {
            if (request.query.find("VellixInstall") != std::string::npos) {
                out.installerRequests.push_back(request);
            }
        }
        return out;
    }

    test::TempFolder work_;
    static test::TempFolder* kit_;
    static test::SignedInstaller* installer_;
};

test::TempFolder* SelfUpdateTest::kit_ = nullptr;
test::SignedInstaller* SelfUpdateTest::installer_ = nullptr;

TEST_F(SelfUpdateTest, SignedInstallerIsDownloadedCheckedAndRun) {
    const Outcome out = runUpdate(Served::Signed, Answer::UpdateNow);
    EXPECT_EQ(out.installedVersion, "9.0.1\n");
    EXPECT_TRUE(std::filesystem::exists(work_.file("prefix/bin/vellix")));
    EXPECT_NE(out.message.find("has been updated"), std::string::npos) << out.message;
    EXPECT_FALSE(out.downloadPageOpened);
    EXPECT_FALSE(out.privateFilesLeft);
    ASSERT_EQ(out.installerRequests.size(), 2u);
    EXPECT_EQ(out.installerRequests[0].user_agent, "VellixUpdate");
    EXPECT_NE(
        out.installerRequests[0].query.find("View=VellixInstall.exe&Frames=No&AutoUpdate=Yes"),
        std::string::npos);
    EXPECT_NE(out.installerRequests[1].query.find("View=VellixInstall.exe.sig"), std::string::npos);
}

TEST_F(SelfUpdateTest, DownloadsThatAreNotTheSignedInstallerAreNeverRun) {
    struct Case {
        Served served;
        const char* says;
    };
    const Case cases[] = {
        {Served::Tampered, "does not match"},
        {Served::Unsigned, "no signature"},
        {Served::Page, "error occurred while downloading"},
    };
    for (const Case& c : cases) {
        const Outcome out = runUpdate(c.served, Answer::UpdateNow);
        EXPECT_EQ(out.installedVersion, "") << c.says;
        EXPECT_NE(out.message.find(c.says), std::string::npos) << out.message;
        EXPECT_TRUE(out.downloadPageOpened) << c.says;
        EXPECT_FALSE(out.privateFilesLeft) << c.says;
    }
}

TEST_F(SelfUpdateTest, LaterCancelAndALostConnectionLeaveNothingBehind) {
    const Outcome later = runUpdate(Served::Signed, Answer::Later);
    EXPECT_TRUE(later.installerRequests.empty());
    const Outcome cancelled = runUpdate(Served::Signed, Answer::CancelDownload);
    const Outcome lost = runUpdate(Served::Signed, Answer::ConnectionLost);
    for (const Outcome& out : {later, cancelled, lost}) {
        EXPECT_EQ(out.installedVersion, "");
        EXPECT_EQ(out.message, "");
        EXPECT_FALSE(out.downloadPageOpened);
        EXPECT_FALSE(out.privateFilesLeft);
    }
}

}  // namespace
}  // namespace vellix
