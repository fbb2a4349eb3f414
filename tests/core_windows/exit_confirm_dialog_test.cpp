#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/windows/exit_confirm_dialog.h"

namespace vellix {
namespace {

TEST(ExitConfirmDialogTest, ShowsTheQuestionInTheUsersLanguageWithNoAsDefault) {
    struct Case {
        Language language;
        const char* question;
        const char* box;
    } cases[] = {
        {Language::Chinese, "确认希望关闭Vellix吗？", "以后不要显示该邮件"},
        {Language::English, "Do you really want to close Vellix?", "Don't show this message again"},
    };
    for (const auto& c : cases) {
        StringTable strings(c.language);
        ExitConfirmDialog dialog(strings, true);
        const auto labels = dialog.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0]->text().toStdString(), c.question);
        const auto* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), c.box);
        EXPECT_TRUE(dialog.dontShowAgain());
        const auto buttons = dialog.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 2);
        int defaults = 0;
        for (const auto* b : buttons) defaults += b->isDefault() ? 1 : 0;
        EXPECT_EQ(defaults, 1);
    }
}

TEST(ExitConfirmDialogTest, YesAndNoGiveTheAnswerAndTheBox) {
    StringTable strings(Language::English);
    for (bool pressYes : {true, false}) {
        ExitConfirmDialog dialog(strings, false);
        dialog.findChild<QCheckBox*>()->setChecked(true);
        for (auto* b : dialog.findChildren<QPushButton*>()) {
            const bool isYes = b->text() == QString::fromStdString(strings.text(IDS_BUTTON_YES));
            if (isYes == pressYes) b->click();
        }
        EXPECT_EQ(dialog.result(), pressYes ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_TRUE(dialog.dontShowAgain());
    }
}

}  // namespace
}  // namespace vellix
