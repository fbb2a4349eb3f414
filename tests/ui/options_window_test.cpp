// The options window through its widgets on the offscreen platform, driven with Qt's test
// input: which pages appear, one window at a time, and what Apply changes in the program.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

#include "core/settings_keys.h"
#include "options_fixture.h"
#include "support/folders.h"
#include "support/widget_finder.h"
#include "tray/menu_commands.h"
#include "ui/misc_page.h"
#include "ui/options_frame.h"
#include "ui/server_page.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

class OptionsWindowTest : public test::OptionsFixture {
  protected:
    std::unique_ptr<OptionsFrame> frame() {
        return std::make_unique<OptionsFrame>(
            OptionsFrameDeps{.context = context, .pages = standardOptionsPages()}, clock);
    }
    // The child widget of `page` whose label (or text) is `text`.
    template <class W>
    W* field(QWidget* page, int labelId) {
        const QString text = context.text(labelId);
        if (auto* w = qobject_cast<W*>(test::labelledField(*page, text))) return w;
        for (auto* w : page->findChildren<W*>()) {
            if (w->property("text").toString() == text) return w;
        }
        return nullptr;
    }
};

TEST_F(OptionsWindowTest, OneWindowWhosePagesFollowTheLoginState) {
    auto options = frame();
    Property_MainSheet* sheet = options->open("about");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->pageCount(), 2);  // logged out: Server and About
    EXPECT_EQ(sheet->activePage(), sheet->page(1));
    EXPECT_EQ(sheet->activeHelpTopic(), 1);
    // The menu asks again: the same window comes to the front on the page asked for.
    EXPECT_EQ(options->open("SKYLOOM"), sheet);
    EXPECT_EQ(sheet->activeHelpTopic(), 11);
    EXPECT_FALSE(sheet->showPage("Sounds"));

    sheet->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(options->sheet(), nullptr);
    ASSERT_TRUE(recorders.at(FrameKind::Server)->waitForMessages(1));
    EXPECT_EQ(ids(FrameKind::Server), std::vector<MessageId>{UM_SAVE_IM_SETTINGS});

    logIn(true);
    sheet = options->open({});
    EXPECT_EQ(sheet->pageCount(), 5);
    const std::pair<const char*, int> topics[] = {
        {"Skyloom", 11}, {"Notifications", 6}, {"Sounds", 8}, {"About", 1}};
    for (const auto& [name, topic] : topics) {
        EXPECT_TRUE(sheet->showPage(name)) << name;
        EXPECT_EQ(sheet->activeHelpTopic(), topic) << name;
    }
    // A page that needs the login closes the window when shown after a log out.
    session.update([](SessionState& s) { s.loggedIn = false; });
    sheet->findChild<QTabWidget*>()->setCurrentIndex(3);  // Misc
    QTRY_VERIFY(options->sheet() == nullptr);
}

TEST_F(OptionsWindowTest, ServerPageChecksAndSavesWhatWasTyped) {
    auto options = frame();
    Property_MainSheet* sheet = options->open("Skyloom");
    QWidget* page = sheet->activePage();
    answerBoxes();

    // The proxy without a server keeps the page, with focus in the server field.
    QTest::keyClick(field<QRadioButton>(page, IDS_SERVER_PROXY), Qt::Key_Space);
    QLineEdit* proxyServer = field<QLineEdit>(page, IDS_SERVER_PROXY_SERVER);
    EXPECT_TRUE(proxyServer->isEnabled());
    EXPECT_FALSE(sheet->showPage("About"));
    EXPECT_EQ(shownBoxes, std::vector<std::string>{strings.text(IDS_PROXY_SERVER_MISSING)});
    QTest::keyClicks(proxyServer, QStringLiteral("proxy.lan"));

    QTest::keyClicks(field<QLineEdit>(page, IDS_SERVER_URL), QStringLiteral("mail.lan/app"));
    QTest::keyClicks(field<QLineEdit>(page, IDS_SERVER_ACCOUNT), QStringLiteral("ann"));
    QTest::keyClicks(field<QLineEdit>(page, IDS_SERVER_PASSWORD), QStringLiteral("pw"));
    QLineEdit* interval = field<QLineEdit>(page, IDS_SERVER_INTERVAL);
    interval->selectAll();
    QTest::keyClicks(interval, QStringLiteral("361"));
    EXPECT_FALSE(sheet->apply());
    EXPECT_EQ(shownBoxes.back(), strings.text(IDS_INTERVAL_RANGE));
    interval->selectAll();
    QTest::keyClicks(interval, QStringLiteral("360"));
    shownBoxes.clear();
    EXPECT_TRUE(sheet->apply());

    const ProfileFile ini(context.iniPath);
    EXPECT_EQ(readKey(ini, ini::kUrl), "http://mail.lan/app");
    EXPECT_EQ(readKey(ini, ini::kConnectionType), 1);
    EXPECT_EQ(readKey(ini, ini::kProxyServer), "proxy.lan");
    EXPECT_EQ(rememberedAccounts(ini).at(0).user, "ann");
    EXPECT_EQ(account.get().password, "pw");  // typed, used, though not remembered
    EXPECT_EQ(readKey(accountSettings.file(), account::kInterval), 360);
    EXPECT_EQ(shownBoxes, std::vector<std::string>{strings.text(IDS_RESTART_NOTICE)});
    ASSERT_TRUE(recorders.at(FrameKind::Server)->waitForMessages(2));
    EXPECT_EQ(ids(FrameKind::Server), (std::vector<MessageId>{UM_LOGOUT, UM_RELOAD_ACCOUNT}));
}

TEST_F(OptionsWindowTest, MiscApplyChangesTheRunningProgram) {
    logIn(true);
    std::vector<FolderStatus> list;
    for (const char* name : {"Inbox", "Drafts", "Sent", "Work", "Home"})
        list.push_back(test::folder(name));
    folders.merge(list);
    const MenuContext menu = menuContext();
    auto moreFolders = [&] {
        const MenuModel model = buildMenu(takeMenuSnapshot(menu), strings);
        return std::ranges::count_if(model.items, [&](const MenuItem& item) {
            return item.kind == MenuItem::Kind::Submenu;
        });
    };
    const auto before = moreFolders();

    auto options = frame();
    Property_MainSheet* sheet = options->open({});
    sheet->findChild<QTabWidget*>()->setCurrentIndex(3);
    auto* misc = qobject_cast<Property_MiscPage*>(sheet->activePage());
    ASSERT_NE(misc, nullptr);
    auto* folderInMenu = field<QSpinBox>(misc, IDS_MISC_FOLDER_IN_MENU);
    folderInMenu->setFocus();
    QTest::keyClick(folderInMenu, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(folderInMenu, QStringLiteral("2"));
    auto* autoOffline = field<QSpinBox>(misc, IDS_MISC_AUTO_OFFLINE);
    QTest::keyClick(autoOffline, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(autoOffline, QStringLiteral("3"));
    QTest::mouseClick(field<QCheckBox>(misc, IDS_MISC_ALWAYS_ON_TOP), Qt::LeftButton);
    ASSERT_TRUE(sheet->apply());

    EXPECT_EQ(moreFolders(), before + 1);  // the tray menu now folds after two folders
    EXPECT_TRUE(readKey(ProfileFile(context.iniPath), ini::kBuddyAlwaysOnTop));
    ASSERT_TRUE(recorders.at(FrameKind::Main)->waitForMessages(1));
    const auto hooks = recorders.at(FrameKind::Main)->messages().at(0);
    EXPECT_EQ(std::pair(hooks.id, hooks.w), std::pair(UM_INSTALL_HOOKS, WParam{3}));
    ASSERT_TRUE(recorders.at(FrameKind::BuddyWindow)->waitForMessages(1));
    EXPECT_EQ(ids(FrameKind::BuddyWindow), std::vector<MessageId>{UM_TOPMOST_CHANGED});
}

}  // namespace
}  // namespace vellix
