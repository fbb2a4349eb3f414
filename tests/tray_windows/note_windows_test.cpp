#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "server/webmail_link.h"
#include "support/frame_threads.h"
#include "support/widget_finder.h"
#include "tray/windows/note_dialog.h"
#include "tray/windows/qt_note_windows.h"
#include "tray/windows/server_notice_dialogs.h"

namespace vellix {
namespace {

class NoteWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server = threads.record(FrameKind::Server, [this](Message& m) {
            if (auto link = m.take<WebmailLink>()) folder = link->arguments[0];
            return LResult{0};
        });
    }
    // Runs the queued calls and the deferred deletes.
    static void settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QApplication::processEvents();
        }
    }
    static FolderStatus folder_(const char* name, const char* display) {
        FolderStatus f;
        f.name = name;
        f.displayName = display;
        return f;
    }

    Clock clock;
    FrameRegistry registry;
    NotificationState state;
    StringTable strings{Language::English};
    std::string folder;  // written on the server thread before the message is recorded
    test::FrameThreads threads{registry, clock};
    test::RecordingFrame* server = nullptr;
};

TEST_F(NoteWindowsTest, NoteListsFoldersOnceAndDoubleClickOpensTheFirstUnread) {
    QtNoteWindows windows(registry, state, strings);
    windows.showNote({folder_("INBOX", "Inbox"), folder_("Work/Q3", "Q3")});
    windows.showNote({folder_("Other", "Other")});  // a later pass only raises it
    settle();
    NoteDialog* note = windows.noteDialog();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->windowFlags() & Qt::WindowStaysOnTopHint);
    auto* list = note->findChild<QListWidget*>();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text().toStdString(), "Q3");

    state.noticeDelayed = false;
    note->findChild<QCheckBox*>()->setChecked(true);
    Q_EMIT list->itemDoubleClicked(list->item(1));
    settle();
    ASSERT_TRUE(server->waitForMessages(1));
    EXPECT_EQ(server->messages()[0].id, UM_OPEN_LINK);
    EXPECT_EQ(folder, "Work/Q3");
    EXPECT_EQ(windows.noteDialog(), nullptr);
    EXPECT_FALSE(state.noticeDelayed);  // the box is not read on this path
}

TEST_F(NoteWindowsTest, CloseStoresTheBoxAndANewPassOpensAFreshNote) {
    QtNoteWindows windows(registry, state, strings);
    for (const bool box : {true, false}) {
        state.noticeDelayed = !box;
        windows.showNote({folder_("INBOX", "Inbox")});
        settle();
        ASSERT_NE(windows.noteDialog(), nullptr);
        auto* check = windows.noteDialog()->findChild<QCheckBox*>();
        EXPECT_EQ(check->isChecked(), !box);  // opens with the flag
        check->setChecked(box);
        windows.noteDialog()->findChild<QPushButton*>()->click();
        settle();
        EXPECT_EQ(windows.noteDialog(), nullptr);
        EXPECT_EQ(state.noticeDelayed, box);
    }
}

TEST_F(NoteWindowsTest, DisconnectOkChecksNowHelpOpensItsPageAndCancelLeavesIt) {
    QtNoteWindows windows(registry, state, strings);
    windows.showDisconnect("first");
    windows.showDisconnect("Logged in elsewhere.");
    settle();
    ASSERT_NE(windows.disconnectDialog(), nullptr);
    EXPECT_EQ(windows.disconnectDialog()->findChild<QLabel*>()->text().toStdString(),
              "You have been disconnected from the Skyloom server.\n\nLogged in elsewhere.");
    windows.disconnectDialog()->reject();
    settle();
    QWidget* helpOwner = nullptr;
    windows.setDisconnectHelp([&](QWidget* owner) { helpOwner = owner; });
    windows.showDisconnect("again");
    settle();
    QPushButton* help = test::buttonWithText(*windows.disconnectDialog(), "&Help");
    ASSERT_NE(help, nullptr);
    help->click();
    EXPECT_EQ(helpOwner, windows.disconnectDialog());
    windows.disconnectDialog()->accept();
    settle();
    ASSERT_TRUE(server->waitForMessages(1));
    const auto messages = server->messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].id, UM_CHECK_NOW);
    StringTable chinese(Language::Chinese);
    EXPECT_EQ(DisconnectDialog(chinese, "").windowTitle().toStdString(), "Vellix 警报！");
    EXPECT_EQ(disconnectText(chinese, ""), "您已从Skyloom服务器上断开。");
}

TEST_F(NoteWindowsTest, AlertsShowOnceAndCountUntilDismissed) {
    QtNoteWindows windows(registry, state, strings);
    windows.showAlert(std::string("Maintenance at 22:00"));
    windows.showAlert(std::string("Maintenance at 22:00"));
    windows.showAlert(std::string("<b>New</b> policy"));
    settle();
    ASSERT_EQ(windows.alertWindows().size(), 2u);
    EXPECT_EQ(state.pendingAlerts, 2);
    EXPECT_EQ(windows.alertWindows()[1]->findChild<QLabel*>()->text().toStdString(),
              "<b>New</b> policy");
    windows.alertWindows()[0]->accept();
    settle();
    EXPECT_EQ(state.pendingAlerts, 1);
    windows.showAlert(std::nullopt);
    settle();
    ASSERT_EQ(windows.alertWindows().size(), 1u);
    EXPECT_TRUE(windows.alertWindows()[0]->isVisible());
}

}  // namespace
}  // namespace vellix
