// A first start from an empty profile: the start's request for a server opens the Server
// page (through the real menu frame), the user types the address, account and password,
// presses OK, and the real server frame logs in to skyloom-sim without a restart.
#include <QPushButton>
#include <QTest>

#include "options_fixture.h"
#include "server/server_frame.h"
#include "support/sim_process.h"
#include "support/widget_finder.h"
#include "tray/menu_frame.h"
#include "ui/options_frame.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

class FirstRunTest : public test::OptionsFixture {};

TEST_F(FirstRunTest, TypingIntoTheServerPageLogsIn) {
    test::SimProcess sim;
    ASSERT_TRUE(sim.running()) << sim.error();
    // The real server and menu frames take the recording one's slot and the menu's.
    threads.stop(FrameKind::Server);
    statusWord.set(strings.text(IDS_STATUS_ONLINE));
    UserList users;
    const ServerFrameDeps serverDeps{.frames = frames,
                                     .session = session,
                                     .statusWord = statusWord,
                                     .account = account,
                                     .accountSettings = accountSettings,
                                     .iniPath = context.iniPath,
                                     .dataFolder = context.dataFolder,
                                     .programFolder = context.dataFolder,
                                     .folders = folders,
                                     .buddies = buddies,
                                     .users = users,
                                     .text = [this](int id) { return strings.text(id); }};
    const MenuContext menus = menuContext();
    test::FrameThreads real(frames, clock);  // ends before what its frames use
    ASSERT_TRUE(real.start<CMainFrame_ServerInterface>(FrameKind::Server, [&] {
        return std::make_unique<CMainFrame_ServerInterface>(serverDeps, clock);
    }));
    ASSERT_TRUE(real.start<CMainFrame_Menu>(FrameKind::Menu, [&] {
        return std::make_unique<CMainFrame_Menu>(MenuFrameDeps{menus, nullptr}, clock);
    }));
    OptionsFrame options(OptionsFrameDeps{.context = context, .pages = standardOptionsPages()},
                         clock);
    frames.set(FrameKind::Options, &options);

    frames.post(FrameKind::Menu, UM_NEED_SERVER);
    QTRY_VERIFY(options.sheet() != nullptr);
    Property_MainSheet* sheet = options.sheet();
    EXPECT_EQ(sheet->activeHelpTopic(), 11);  // the Server page
    // The address without its scheme: the page adds "http://".
    const std::string url = sim.url().substr(std::string("http://").size());
    for (const auto& [label, text] :
         {std::pair{IDS_SERVER_URL, url},
          std::pair{IDS_SERVER_ACCOUNT, std::string("alice@demo.local")},
          std::pair{IDS_SERVER_PASSWORD, std::string("alice")}}) {
        QWidget* edit = test::labelledField(*sheet->activePage(), context.text(label));
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
    QPushButton* ok = test::buttonWithText(*sheet, strings.text(IDS_BUTTON_OK));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(session.get().loggedIn, 15000);
    EXPECT_EQ(session.get().account, "alice@demo.local");
    EXPECT_EQ(account.get().url, sim.url());
    EXPECT_EQ(readKey(ProfileFile(context.iniPath), ini::kUrl), sim.url());

    frames.set(FrameKind::Options, nullptr);
}

}  // namespace
}  // namespace vellix
