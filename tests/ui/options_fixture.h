#pragma once
// Set-up shared by the options window tests: a temporary profile, the shared state the
// pages edit, recording frames in the slots the pages post to, and an answerer for the
// message boxes the pages open.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/clock.h"
#include "support/frame_threads.h"
#include "support/temp_folder.h"
#include "tray/menu_commands.h"
#include "ui/options_context.h"

namespace vellix::test {

class OptionsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.valid());
        for (FrameKind kind : {FrameKind::Server, FrameKind::Main, FrameKind::BuddyWindow}) {
            recorders[kind] = threads.record(kind);
        }
        accountSettings.setPath(dir.file("settings.tmp"));
    }
    void logIn(bool messaging) {
        session.update([&](SessionState& s) {
            s.loggedIn = true;
            s.sessionId = "S1";
            s.messagingEnabled = messaging;
        });
    }
    // What the tray menu reads, over the same shared state as the pages.
    MenuContext menuContext() {
        return {.frames = frames,
                .strings = strings,
                .folders = folders,
                .buddies = buddies,
                .notification = notifications,
                .session = session,
                .statusWord = statusWord,
                .manualStatus = manualStatus,
                .account = account,
                .accountSettings = accountSettings,
                .iniPath = context.iniPath,
                .dataFolder = context.dataFolder};
    }
    std::vector<MessageId> ids(FrameKind kind) const {
        std::vector<MessageId> out;
        for (const auto& m : recorders.at(kind)->messages()) out.push_back(m.id);
        return out;
    }
    // Answers every message box that opens from now on with its last button (OK or No),
    // or Yes when `yes`; the texts shown are kept in `shownBoxes`.
    void answerBoxes(bool yes = false) {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [this, yes] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            shownBoxes.push_back(box->text().toStdString());
            const auto buttons = box->buttons();
            QAbstractButton* pick = buttons.back();
            for (QAbstractButton* b : buttons) {
                if (yes && box->buttonRole(b) == QMessageBox::YesRole) pick = b;
            }
            pick->click();
        });
        timer->start(10);
        boxTimer.reset(timer);
    }

    TempFolder dir;
    Clock clock{1.0};
    FrameRegistry frames;
    FrameThreads threads{frames, clock};
    std::map<FrameKind, RecordingFrame*> recorders;
    StringTable strings{Language::English};
    FolderTable folders;
    NotificationState notifications;
    Guarded<SessionState> session;
    Guarded<std::string> statusWord;
    BuddyTable buddies;
    std::atomic<bool> manualStatus{false};
    Guarded<AccountSettings> account;
    AccountSettingsFile accountSettings;
    std::unique_ptr<QTimer> boxTimer;
    std::vector<std::string> shownBoxes;
    OptionsContext context{
        .frames = frames,
        .strings = strings,
        .folders = folders,
        .notifications = notifications,
        .session = session,
        .account = account,
        .accountSettings = accountSettings,
        .iniPath = dir.file("Vellix.ini"),
        .programFolder = std::string(VELLIX_BINARY_DIR) + "/bin/",
        .dataFolder = dir.path() + "/",
        .executablePath = std::string(VELLIX_BINARY_DIR) + "/bin/vellix",
    };
};

}  // namespace vellix::test
