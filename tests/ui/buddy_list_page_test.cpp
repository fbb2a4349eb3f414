// The Buddy List page inside the options window: opened by its name, it fills itself when
// the user list arrives and sends the exact form text on Apply.
#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>

#include "options_fixture.h"
#include "ui/buddy_list_page.h"
#include "ui/options_frame.h"
#include "ui/standard_pages.h"

namespace vellix {
namespace {

class BuddyListPageTest : public test::OptionsFixture {
  protected:
    UserList users;
};

TEST_F(BuddyListPageTest, OpensByNameFillsOnTheUserListAndSendsTheExactFormText) {
    auto pages = standardOptionsPages();
    pages.push_back(buddyListPageEntry());
    context.buddies = &buddies;
    context.users = &users;
    OptionsFrame options(OptionsFrameDeps{.context = context, .pages = pages}, clock);
    logIn(false);
    EXPECT_FALSE(options.open("Buddy List")->showPage("buddy list"));  // needs messaging
    options.sheet()->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    logIn(true);
    session.update([](SessionState& s) { s.account = "alice@demo.local"; });
    buddies.replace({{"bob@demo.local", "Bob Baker", "Online"}});
    auto* page = qobject_cast<Property_AddContactPage*>(options.open("Buddy List")->activePage());
    ASSERT_NE(page, nullptr);
    // The list was empty, so the page asked for it; it fills in once the server frame says so.
    page->showAllBox()->setChecked(true);
    EXPECT_EQ(page->usersList()->topLevelItemCount(), 0);
    users.replace({{"Alice Archer", "alice@demo.local"}, {"Carol Cole", "carol@demo.local"}});
    options.post(UM_USER_LIST_READY);
    QApplication::processEvents();
    // Everyone but the listed buddy can be picked; the account itself is refused.
    ASSERT_EQ(page->usersList()->topLevelItemCount(), 2);
    page->usersList()->selectAll();
    page->addSelected();
    EXPECT_EQ(page->buddiesList()->topLevelItemCount(), 2);

    // The manual entry refuses a malformed address, then takes a good one.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ManualBuddyDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->addressEdit()->setText(QStringLiteral("dan at x"));
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        dialog->nameEdit()->setText(QStringLiteral("Dan & Co"));
        dialog->addressEdit()->setText(QStringLiteral(" dan@x.org "));
        dialog->accept();
    });
    page->addManually();
    EXPECT_TRUE(options.sheet()->apply());
    EXPECT_TRUE(options.sheet()->apply());  // nothing changed since: nothing sent

    bool answerYes = false;
    page->setConfirm([&](const std::string&) { return answerYes; });
    page->buddiesList()->selectAll();
    page->removeSelected();
    answerYes = true;
    page->removeSelected();
    EXPECT_TRUE(options.sheet()->apply());

    std::vector<std::string> sent;
    ASSERT_TRUE(recorders.at(FrameKind::Server)->waitForMessages(4));
    for (const auto& m : recorders.at(FrameKind::Server)->messages()) {
        if (m.id == UM_SAVE_BUDDY_LIST) sent.push_back(m.text.value_or("-"));
    }
    const auto told = ids(FrameKind::Server);
    EXPECT_NE(std::find(told.begin(), told.end(), UM_GET_USER_LIST), told.end());
    EXPECT_EQ(sent,
              (std::vector<std::string>{"BuddyEmail1=bob%40demo.local&BuddyName1=Bob%20Baker&"
                                        "BuddyEmail2=carol%40demo.local&BuddyName2=Carol%20Cole&"
                                        "BuddyEmail3=dan%40x.org&BuddyName3=Dan%20%26%20Co",
                                        ""}));
}

}  // namespace
}  // namespace vellix
