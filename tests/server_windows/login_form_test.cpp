#include "server/windows/login_form.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "server/windows/login_dialog.h"
#include "support/widget_finder.h"

namespace vellix {
namespace {

const std::vector<RememberedAccount> kAccounts = {
    {1, "alice", "a-secret", true},
    {3, "bob", "", false},
    {4, "carol", "", true},
};

TEST(LoginFormTest, FillFollowsTheChosenSlot) {
    struct Case {
        int slot;
        int index;
        const char* password;
        bool remember;
    } cases[] = {
        {1, 0, "a-secret", true}, {3, 1, "", false},  {4, 2, "", true},
        {2, -1, "", false},       {0, -1, "", false}, {6, -1, "", false},
    };
    for (const auto& c : cases) {
        const int index = accountIndexOfSlot(kAccounts, c.slot);
        EXPECT_EQ(index, c.index) << c.slot;
        const LoginFill fill = loginFillFor(kAccounts, index);
        EXPECT_EQ(fill.password, c.password) << c.slot;
        EXPECT_EQ(fill.remember, c.remember) << c.slot;
    }
    // A password kept without its flag is never shown.
    EXPECT_EQ(loginFillFor({{2, "dave", "stale", false}}, 0).password, "");
    EXPECT_EQ(loginFillFor(kAccounts, 3).password, "");
}

TEST(LoginFormTest, AnswerTrimsTheNameAndNeedsOne) {
    const auto answer = loginAnswerFrom("  bob\t", " pass word ", true);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->user, "bob");
    EXPECT_EQ(answer->password, " pass word ");  // passwords are taken as typed
    EXPECT_TRUE(answer->remember);
    for (const char* blank : {"", "   ", "\t\n"}) EXPECT_FALSE(loginAnswerFrom(blank, "x", true));
}

TEST(LoginDialogTest, StartsOnTheSlotAndRefillsOnAnotherAccount) {
    StringTable strings(Language::Chinese);
    LoginDialog dialog(strings, kAccounts, 3);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "登录信息");
    auto* account = dialog.findChild<QComboBox*>(QStringLiteral("account"));
    auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
    auto* remember = dialog.findChild<QCheckBox*>(QStringLiteral("remember"));
    ASSERT_TRUE(account && password && remember);
    EXPECT_EQ(account->count(), 3);
    EXPECT_EQ(account->currentText().toStdString(), "bob");
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_FALSE(remember->isChecked());

    account->setCurrentIndex(0);
    EXPECT_EQ(password->text().toStdString(), "a-secret");
    EXPECT_TRUE(remember->isChecked());
    account->setCurrentIndex(1);
    EXPECT_TRUE(password->text().isEmpty());
    EXPECT_FALSE(remember->isChecked());

    // OK waits for a user name.
    QPushButton* ok = test::buttonWithText(dialog, strings.text(IDS_BUTTON_OK));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isEnabled());
    account->setEditText(QStringLiteral("  "));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(dialog.answer());

    LoginDialog unknownSlot(strings, kAccounts, 5);
    EXPECT_TRUE(unknownSlot.findChild<QComboBox*>()->currentText().isEmpty());
    EXPECT_TRUE(unknownSlot.findChild<QLineEdit*>(QStringLiteral("password"))->text().isEmpty());
}

}  // namespace
}  // namespace vellix
