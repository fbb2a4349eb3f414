#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/frame_thread.h"
#include "server/webmail_link.h"
#include "support/recording_frame.h"
#include "tray/c_main_frame_note.h"

namespace vellix {
namespace {

// Records what the frame asks of its windows, sound and notifier (called on its thread).
struct Recorder : NoteWindows, SoundPlayer, NewMailNotifier {
    std::mutex mutex;
    std::vector<std::vector<std::string>> notes;
    std::vector<std::string> disconnects, sounds;
    std::vector<std::optional<std::string>> alerts;
    std::vector<NewMailNotice> notices;

    void showNote(std::vector<FolderStatus> folders) override {
        std::lock_guard lock(mutex);
        auto& names = notes.emplace_back();
        for (const auto& f : folders) names.push_back(f.name);
    }
    void showDisconnect(std::string text) override {
        std::lock_guard lock(mutex);
        disconnects.push_back(std::move(text));
    }
    void showAlert(std::optional<std::string> text) override {
        std::lock_guard lock(mutex);
        alerts.push_back(std::move(text));
    }
    void play(const std::string& path) override {
        std::lock_guard lock(mutex);
        sounds.push_back(path);
    }
    void notify(NewMailNotice notice) override {
        std::lock_guard lock(mutex);
        notices.push_back(std::move(notice));
    }
};

class NoteFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.setPath(dir.filePath(QStringLiteral("settings.tmp")).toStdString());
        tray = test::startRecordingFrame(registry, FrameKind::Tray, clock);
        server = test::startRecordingFrame(registry, FrameKind::Server, clock, [this](Message& m) {
            if (auto link = m.take<WebmailLink>()) links.push_back(*link);  // server thread only
            return LResult{0};
        });
        note = std::make_unique<FrameThread>(FrameKind::Note, registry, [this] {
            return std::make_unique<CMainFrame_Note>(
                clock, NoteFrameDeps{registry, table, state, settings, strings, recorder, &recorder,
                                     &recorder});
        });
        ASSERT_TRUE(note->startAndWait());
    }
    void TearDown() override {
        for (auto kind : {FrameKind::Note, FrameKind::Server, FrameKind::Tray}) {
            registry.post(kind, UM_QUIT_THREAD);
        }
        note->wait();
        server.thread->wait();
        tray.thread->wait();
    }
    void reply(std::vector<FolderStatus> folders) {
        table.merge(folders);
        table.applyRules(folders);
    }

    QTemporaryDir dir;
    Clock clock;
    FrameRegistry registry;
    FolderTable table;
    NotificationState state;
    AccountSettingsFile settings;
    StringTable strings{Language::English};
    Recorder recorder;
    std::vector<WebmailLink> links;
    test::StartedFrame tray, server;
    std::unique_ptr<FrameThread> note;
};

TEST_F(NoteFrameTest, CountsReadyCarriesOutThePass) {
    ASSERT_TRUE(settings.writeText("Vellix", "NewMailWaveFile", "/snd/new.wav"));
    ASSERT_TRUE(settings.writeBool("Vellix", "NewMailDesktopNotice", true));
    FolderStatus inbox, work;
    inbox.name = "Inbox";
    inbox.displayName = "Inbox";
    inbox.newCount = 2;
    inbox.recent = 1;
    inbox.rules = {2, 2, 1, 1, 2, 2};
    work.name = "Work";
    work.displayName = "Work";
    work.newCount = 1;
    work.rules = {2, 2, 0, 1, 2, 2};
    reply({work, inbox});
    registry.send(FrameKind::Note, UM_COUNTS_READY);

    ASSERT_TRUE(tray.frame->waitForMessages(1));
    EXPECT_EQ(tray.frame->messages()[0].id, UM_SERVER_STATE);
    EXPECT_EQ(tray.frame->messages()[0].w, 2u);
    EXPECT_EQ(tray.frame->messages()[0].l, 1);
    {
        std::lock_guard lock(recorder.mutex);
        EXPECT_EQ(recorder.sounds, std::vector<std::string>{"/snd/new.wav"});
        ASSERT_EQ(recorder.notes.size(), 1u);
        EXPECT_EQ(recorder.notes[0], std::vector<std::string>{"Inbox"});
        ASSERT_EQ(recorder.notices.size(), 1u);
        EXPECT_EQ(recorder.notices[0].body, "Inbox (2)\nWork (1)");
        EXPECT_EQ(recorder.notices[0].actionLabel, "Open");
        recorder.notices[0].onAction();
    }
    ASSERT_TRUE(server.frame->waitForMessages(2));
    ASSERT_EQ(links.size(), 2u);
    for (const WebmailLink& link : links) {
        EXPECT_EQ(link.format, "&View=Message&NextFolder=%s&NextFirstUnread=Yes");
        EXPECT_EQ(link.arguments[0], "Inbox");
        EXPECT_EQ(link.trayStateAfter, 1);
    }

    // Sounds off: the next fresh arrival stays quiet, and the notice follows its setting.
    ASSERT_TRUE(settings.writeBool("Vellix", "PlaySounds", false));
    ASSERT_TRUE(settings.writeBool("Vellix", "NewMailDesktopNotice", false));
    registry.send(FrameKind::Note, UM_COUNTS_READY);
    std::lock_guard lock(recorder.mutex);
    EXPECT_EQ(recorder.sounds.size(), 1u);
    EXPECT_EQ(recorder.notices.size(), 1u);
    EXPECT_EQ(recorder.notes.size(), 2u);  // inbox still fresh: the note comes forward
}

TEST_F(NoteFrameTest, ServerNoticesReachTheirWindows) {
    registry.send(FrameKind::Note, UM_SHOW_DISCONNECT, 0, 0,
                  makePayload(std::string("Another client took over.")));
    registry.send(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::string("Maintenance")));
    registry.send(FrameKind::Note, UM_SHOW_ALERT, 0, 0, makePayload(std::string()));
    registry.send(FrameKind::Note, UM_SHOW_ALERT);
    std::lock_guard lock(recorder.mutex);
    EXPECT_EQ(recorder.disconnects, std::vector<std::string>{"Another client took over."});
    ASSERT_EQ(recorder.alerts.size(), 2u);
    EXPECT_EQ(recorder.alerts[0], "Maintenance");
    EXPECT_EQ(recorder.alerts[1], std::nullopt);
}

}  // namespace
}  // namespace vellix
