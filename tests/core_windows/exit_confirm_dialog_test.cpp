#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "core/windows/exit_confirm_dialog.h"

namespace vellix {
namespace {

TEST(ExitConfirmDialogTest, AsksInTheUsersLanguageWithNoAsDefaultAndGivesAnswerAndBox) {
    struct Case {
        Language language;
        const char* question;
        const char* box;
        bool pressYes;
    } cases[] = {
        {Language::Chinese, "确认希望关闭Vellix吗？", "以后不要显示该邮件", true},
        {Language::English, "Do you really want to close Vellix?", "Don't show this message again",
         false},
    };
    for (const auto& c : cases) {
        StringTable strings(c.language);
        ExitConfirmDialog dialog(strings, c.pressYes);
        const auto labels = dialog.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0]->text().toStdString(), c.question);
        auto* box = dialog.findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), c.box);
        EXPECT_EQ(dialog.dontShowAgain(), c.pressYes);
        box->setChecked(!c.pressYes);
        const auto buttons = dialog.findChildren<QPushButton*>();
        ASSERT_EQ(buttons.size(), 2);
        for (auto* b : buttons) {
            const bool isYes = b->text() == QString::fromStdString(strings.text(IDS_BUTTON_YES));
            EXPECT_EQ(b->isDefault(), !isYes);
            if (isYes == c.pressYes) b->click();
        }
        EXPECT_EQ(dialog.result(), c.pressYes ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(dialog.dontShowAgain(), !c.pressYes);
    }
}

}  // namespace
}  // namespace vellix
