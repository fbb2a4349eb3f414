// The buddy window and the buddy-list page on the offscreen platform, with recording frames
// standing in for the window handler and the server frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "core/settings_keys.h"
#include "core/string_table.h"
#include "im/buddy_window_frame.h"
#include "im/windows/buddy_window.h"
#include "im/windows/buddy_window_tabs.h"
#include "server/webmail_link.h"
#include "support/recording_frame.h"

namespace vellix {
namespace {

class BuddyWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        iniPath = dir.filePath(QStringLiteral("Vellix.ini")).toStdString();
        for (auto [kind, started] : {std::pair{FrameKind::WindowHandler, &handler},
                                     std::pair{FrameKind::Server, &server}}) {
            *started = test::startRecordingFrame(registry, kind, clock, [this](Message& m) {
                if (auto link = m.take<WebmailLink>()) openedFolder = link->arguments[0];
                return LResult{0};
            });
        }
        session.update([](SessionState& s) {
            s.sessionId = "S1";
            s.account = "alice@demo.local";
            s.messagingEnabled = true;
        });
        statusWord.set("Online");
    }
    void TearDown() override {
        for (auto kind : {FrameKind::WindowHandler, FrameKind::Server}) {
            registry.post(kind, UM_QUIT_THREAD);
        }
        for (auto* started : {&handler, &server}) started->thread->wait();
    }

    std::unique_ptr<BuddyWindowFrame> openWindow() {
        BuddyWindowDeps deps{
            .frames = registry,
            .buddies = buddies,
            .folders = folders,
            .session = session,
            .statusWord = statusWord,
            .manualStatus = manualStatus,
            .text = [this](int id) { return strings.text(id); },
            .iniPath = iniPath,
            .defaultInWindow = [] { return true; },
            .trayAvailable = [] { return true; },
            .makeView =
                [this](BuddyWindowActions& actions) {
                    return std::make_unique<CProperty_VX_Sheet>(strings, actions,
                                                                CProperty_VX_Sheet::Hooks{});
                },
        };
        auto frame = std::make_unique<BuddyWindowFrame>(std::move(deps), clock);
        sheet = dynamic_cast<CProperty_VX_Sheet*>(frame->view());
        return frame;
    }
    static QTreeWidgetItem* child(QTreeWidget* tree, int group, int row) {
        return tree->topLevelItem(group)->child(row);
    }
    std::vector<test::Recorded> messagesAfterSettling(test::StartedFrame& frame, std::size_t n) {
        QApplication::processEvents();
        frame.frame->waitForMessages(n, std::chrono::milliseconds(500));
        return frame.frame->messages();
    }

    QTemporaryDir dir;
    std::string iniPath;
    Clock clock;
    FrameRegistry registry;
    StringTable strings{Language::English};
    BuddyTable buddies;
    FolderTable folders;
    Guarded<SessionState> session;
    Guarded<std::string> statusWord;
    std::atomic<bool> manualStatus{false};
    test::StartedFrame handler, server;
    std::string openedFolder;  // written on the server thread before the message is recorded
    CProperty_VX_Sheet* sheet = nullptr;
};

TEST_F(BuddyWindowTest, FillsFromTheTablesAndDoubleClicksPostTheRightMessages) {
    buddies.replace(
        {{"bob@demo.local", "Bob Baker", "Away"}, {"carol@demo.local", "Carol", "Offline"}});
    FolderStatus inbox;
    inbox.name = "INBOX";
    inbox.displayName = "Inbox";
    inbox.newCount = 1;
    folders.merge({inbox});
    auto frame = openWindow();
    registry.set(FrameKind::BuddyWindow, frame.get());
    ASSERT_NE(sheet, nullptr);
    ASSERT_EQ(sheet->tabs()->count(), 2);
    EXPECT_EQ(sheet->tabs()->currentWidget(), sheet->foldersTab());
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("alice@demo.local - Vellix"));

    QTreeWidget* tree = sheet->buddiesTab()->tree();
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_EQ(child(tree, 0, 0)->text(0), QStringLiteral("Bob Baker"));
    EXPECT_EQ(child(tree, 1, 0)->text(0), QStringLiteral("Carol"));

    // Bob goes offline: the posted refresh regroups him.
    buddies.replace({{"bob@demo.local", "Bob Baker", "Offline"}});
    registry.post(FrameKind::BuddyWindow, UM_REFRESH_BUDDIES);
    QApplication::processEvents();
    EXPECT_EQ(child(tree, 0, 0)->text(0), QStringLiteral("<none>"));
    Q_EMIT tree->itemActivated(child(tree, 0, 0), 0);      // the placeholder does nothing
    Q_EMIT tree->itemActivated(tree->topLevelItem(1), 0);  // nor does a group
    Q_EMIT tree->itemActivated(child(tree, 1, 0), 0);
    const auto conversations = messagesAfterSettling(handler, 1);
    ASSERT_EQ(conversations.size(), 1u);
    EXPECT_EQ(conversations[0].id, UM_START_CONVERSATION);
    EXPECT_EQ(conversations[0].text, "bob@demo.local");

    QTreeWidget* folderTree = sheet->foldersTab()->tree();
    ASSERT_EQ(child(folderTree, 0, 0)->text(0), QStringLiteral("Inbox (0/0/1)"));
    Q_EMIT folderTree->itemActivated(child(folderTree, 0, 0), 0);
    sheet->statusBox()->setCurrentIndex(1);
    Q_EMIT sheet->statusBox()->activated(1);
    const auto toServer = messagesAfterSettling(server, 2);
    ASSERT_EQ(toServer.size(), 2u);
    EXPECT_EQ(toServer[0].id, UM_OPEN_LINK);
    EXPECT_EQ(openedFolder, "INBOX");
    EXPECT_EQ(toServer[1].id, UM_SET_STATUS);
    EXPECT_EQ(toServer[1].text, "Away");
    EXPECT_TRUE(manualStatus);

    // After a logout the folder records stay in the table but leave the window.
    session.update([](SessionState& s) { s.sessionId.clear(); });
    registry.post(FrameKind::BuddyWindow, UM_REFRESH_FOLDERS);
    QApplication::processEvents();
    EXPECT_EQ(folderTree->topLevelItem(0)->childCount(), 0);
    EXPECT_EQ(sheet->windowTitle(), QStringLiteral("Vellix"));
    registry.set(FrameKind::BuddyWindow, nullptr);
}

TEST_F(BuddyWindowTest, CloseHidesAndPlacementIsStoredWhenTheWindowGoes) {
    ProfileFile ini(iniPath);
    ASSERT_TRUE(ini.writeBool(ini::kBuddyAlwaysOnTop.section, ini::kBuddyAlwaysOnTop.name, true));
    session.update([](SessionState& s) { s.messagingEnabled = false; });
    {
        auto frame = openWindow();
        EXPECT_EQ(sheet->tabs()->count(), 1);  // no messaging, no buddies tab
        EXPECT_TRUE(sheet->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(sheet->isVisible());
        frame->post(UM_SHOW_MAIN_WINDOW);
        QApplication::processEvents();
        EXPECT_TRUE(sheet->isVisible());
        sheet->close();
        EXPECT_FALSE(sheet->isVisible());
        sheet->setGeometry(40, 50, 300, 400);
    }
    const WindowPlacement stored = readBuddyWindowPlacement(ini);
    EXPECT_EQ(stored.rect, (WindowRect{40, 50, 340, 450}));
    EXPECT_FALSE(stored.maximized);
}

}  // namespace
}  // namespace vellix
