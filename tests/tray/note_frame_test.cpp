#include <gtest/gtest.h>

#include "server/webmail_link.h"
#include "support/folders.h"
#include "support/frame_threads.h"
#include "support/temp_folder.h"
#include "tray/note_frame.h"

namespace vellix {
namespace {

// Logs what the frame asks of its windows, sound and notifier, in one line each.
struct Recorder : NoteWindows, SoundPlayer, NewMailNotifier {
    std::vector<std::string> log;  // read by the test once the frame answered a send
    std::vector<NewMailNotice> notices;

    void showNote(std::vector<FolderStatus> folders) override {
        std::string names;
        for (const auto& f : folders) names += " " + f.name;
        log.push_back("note:" + names);
    }
    void showDisconnect(std::string text) override { log.push_back("disconnect: " + text); }
    void closeDisconnect() override { log.push_back("close disconnect"); }
    void showAlert(std::optional<std::string> text) override {
        log.push_back("alert: " + text.value_or("(none)"));
    }
    void play(const std::string& path) override { log.push_back("sound: " + path); }
    void notify(NewMailNotice notice) override {
        log.push_back("notice: " + notice.body + " [" + notice.actionLabel + "]");
        notices.push_back(std::move(notice));
    }
};

class NoteFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.setPath(dir.file("settings.tmp"));
        tray = threads.record(FrameKind::Tray);
        server = threads.record(FrameKind::Server, [this](Message& m) {
            if (auto link = m.take<WebmailLink>()) links.push_back(*link);  // server thread only
            return LResult{0};
        });
        ASSERT_TRUE(threads.start<CMainFrame_Note>(FrameKind::Note, [this] {
            return std::make_unique<CMainFrame_Note>(
                clock, NoteFrameDeps{registry, table, state, settings, strings, recorder, &recorder,
                                     &recorder});
        }));
    }

    test::TempFolder dir;
    Clock clock;
    FrameRegistry registry;
    FolderTable table;
    NotificationState state;
    AccountSettingsFile settings;
    StringTable strings{Language::English};
    Recorder recorder;
    std::vector<WebmailLink> links;
    test::FrameThreads threads{registry, clock};
    test::RecordingFrame *tray = nullptr, *server = nullptr;
};

TEST_F(NoteFrameTest, CountsReadyCarriesOutThePass) {
    ASSERT_TRUE(settings.writeText("Vellix", "NewMailWaveFile", "/snd/new.wav"));
    ASSERT_TRUE(settings.writeBool("Vellix", "NewMailDesktopNotice", true));
    FolderStatus inbox = test::folder("Inbox", 0, 0, 2), work = test::folder("Work", 0, 0, 1);
    inbox.recent = 1;
    inbox.rules = {2, 2, 1, 1, 2, 2};
    work.rules = {2, 2, 0, 1, 2, 2};
    table.merge({work, inbox});
    table.applyRules({work, inbox});
    registry.send(FrameKind::Note, UM_COUNTS_READY);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"sound: /snd/new.wav", "note: Inbox",
                                                      "notice: Inbox (2)\nWork (1) [Open]"}));
    ASSERT_TRUE(tray->waitForMessages(1));
    const auto told = tray->messages()[0];
    EXPECT_EQ(std::tuple(told.id, told.w, told.l),
              std::tuple(UM_SERVER_STATE, WParam{2}, LParam{0}));
    // Opening from the desktop notice goes where the pass opened.
    recorder.notices[0].onAction();
    test::drain(*server);
    ASSERT_EQ(links.size(), 2u);
    for (const WebmailLink& link : links) {
        EXPECT_EQ(link.format + "|" + link.arguments[0],
                  "&View=Message&NextFolder=%s&NextFirstUnread=Yes|Inbox");
        EXPECT_EQ(link.trayStateAfter, TrayState::Connected);
    }

    // Sounds off: the next fresh arrival stays quiet, and the notice follows its setting.
    ASSERT_TRUE(settings.writeBool("Vellix", "PlaySounds", false));
    ASSERT_TRUE(settings.writeBool("Vellix", "NewMailDesktopNotice", false));
    recorder.log.clear();
    registry.send(FrameKind::Note, UM_COUNTS_READY);
    EXPECT_EQ(recorder.log, std::vector<std::string>{"note: Inbox"});  // still fresh: raised
}

TEST_F(NoteFrameTest, ServerNoticesReachTheirWindows) {
    registry.send(FrameKind::Note, UM_SHOW_DISCONNECT, 0, 0,
                  makePayload(std::string("Another client took over.")));
    registry.send(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::string("Maintenance")));
    registry.send(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::string()));
    registry.send(FrameKind::Note, UM_SHOW_ALERT);
    registry.send(FrameKind::Note, UM_CLOSE_DISCONNECT);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"disconnect: Another client took over.",
                                                      "alert: Maintenance", "alert: (none)",
                                                      "close disconnect"}));
}

}  // namespace
}  // namespace vellix
