#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_spell_checker.h"
#include "platform/hunspell_spelling_engine.h"
#include "platform/windows/spell_check_dialog.h"
#include "platform/windows/spelling_options_dialog.h"
#include "platform/windows/user_dictionary_dialog.h"
#include "temp_folder.h"

namespace vellix {
namespace {

// Answers the modal dialog as a user would: "button" clicks the button of that object
// name, "=text" types into the change-to field, "?error" records the error label.
class DialogAnswerer {
  public:
    explicit DialogAnswerer(std::vector<std::string> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start(5);
    }
    std::vector<std::string> errors;

  private:
    void step() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        if (next_ >= steps_.size()) {
            ADD_FAILURE() << "the dialog is still open after the last answer";
            dialog->close();
            return;
        }
        const std::string& s = steps_[next_++];
        if (s.starts_with("=")) {
            dialog->findChild<QLineEdit*>(QStringLiteral("changeTo"))
                ->setText(QString::fromStdString(s.substr(1)));
        } else if (s == "?error") {
            errors.push_back(
                dialog->findChild<QLabel*>(QStringLiteral("error"))->text().toStdString());
        } else if (auto* button = dialog->findChild<QPushButton*>(QString::fromStdString(s))) {
            button->click();
        } else {
            ADD_FAILURE() << "no button " << s;
            dialog->close();
        }
    }
    std::vector<std::string> steps_;
    std::size_t next_ = 0;
    QTimer timer_;
};

TEST(SpellCheckDialog, WalksTheTextWithTheUsersAnswers) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> steps;
        int result;
        std::string finalText;
        bool setterCalled;
    };
    const Case cases[] = {
        {"nothing to check", "the cat", {}, 0, "the cat", false},
        {"first suggestion is the default", "teh cta", {"replace", "replace"}, 2, "the cat", true},
        {"typed replacement", "zork sat", {"=york", "replace"}, 1, "york sat", true},
        {"ignore all and ignore", "teh cta teh", {"ignoreAll", "ignore"}, 2, "teh cta teh", false},
        {"add", "zork zork", {"add"}, 1, "zork zork", false},
        {"cancel at once", "teh cta", {"cancel"}, -1, "teh cta", false},
        {"cancel keeps corrections", "teh cta", {"replace", "cancel"}, -1, "the cta", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::FakeSpellChecker checker;
        QString text = QString::fromStdString(c.text);
        bool setterCalled = false;
        DialogAnswerer answerer(c.steps);
        const int result = checkSpelling(nullptr, checker,
                                         TextAccess{[&] { return text; },
                                                    [&](const QString& t) {
                                                        setterCalled = true;
                                                        text = t;
                                                    }});
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(text.toStdString(), c.finalText);
        EXPECT_EQ(setterCalled, c.setterCalled);
    }
}

TEST(SpellCheckDialog, FailedAddShowsWhyAndStays) {
    test::FakeSpellChecker checker;
    checker.failAdd = true;
    QPlainTextEdit edit(QStringLiteral("zork teh"));
    DialogAnswerer answerer({"add", "?error", "ignore", "replace"});
    EXPECT_EQ(checkSpelling(nullptr, checker, &edit), 2);
    EXPECT_EQ(answerer.errors, std::vector<std::string>{"disk full"});
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("zork the"));
}

TEST(SpellingOptionsDialog, AppliesLanguageAndCapitals) {
    QTemporaryDir lex;
    test::writeFile(test::pathIn(lex, "xx_YY.aff"), "SET UTF-8\n");
    test::writeFile(test::pathIn(lex, "xx_YY.dic"), "1\nhello\n");
    HunspellSpellingEngine engine(
        HunspellConfig{.systemFolders = {lex.path().toStdString()}, .language = {}});
    SpellingOptionsDialog dialog(nullptr, engine);
    auto* language = dialog.findChild<QComboBox*>(QStringLiteral("language"));
    ASSERT_NE(language->findData(QStringLiteral("xx_YY")), -1);
    language->setCurrentIndex(language->findData(QStringLiteral("xx_YY")));
    dialog.findChild<QCheckBox*>(QStringLiteral("skipUppercase"))->setChecked(false);
    dialog.apply();
    EXPECT_EQ(engine.language(), "xx_YY");
    EXPECT_FALSE(engine.scanOptions().skipUppercase);
    EXPECT_EQ(engine.dictionaryPath(), test::pathIn(lex, "xx_YY.dic"));
    EXPECT_EQ(engine.misspelled("hello world").size(), 1u);
}

TEST(UserDictionaryDialog, AddsAndRemovesWordsInTheFile) {
    QTemporaryDir dir;
    const std::string file = test::pathIn(dir, "userdic.tlx");
    test::writeFile(file, "#LID 24941\nSkyloom\ti\n");
    HunspellSpellingEngine engine(HunspellConfig{.systemFolders = {}, .language = {}});
    engine.setUserLexFiles("userdic.tlx");
    engine.setUserLexPath(dir.path().toStdString());

    UserDictionaryDialog dialog(nullptr, engine);
    auto* words = dialog.findChild<QListWidget*>(QStringLiteral("words"));
    ASSERT_EQ(words->count(), 1);
    dialog.addWord(QStringLiteral("  Tolvern "));
    dialog.addWord(QStringLiteral("Skyloom"));  // already there
    dialog.addWord(QString());
    EXPECT_EQ(test::readFile(file), "#LID 24941\nSkyloom\ti\nTolvern\ti\n");
    ASSERT_EQ(words->count(), 2);

    dialog.addWord(QStringLiteral("bad\tword"));
    EXPECT_FALSE(dialog.findChild<QLabel*>(QStringLiteral("error"))->text().isEmpty());

    words->item(0)->setSelected(true);
    dialog.removeSelected();
    EXPECT_EQ(test::readFile(file), "#LID 24941\nTolvern\ti\n");
    ASSERT_EQ(words->count(), 1);
    EXPECT_EQ(words->item(0)->text(), QStringLiteral("Tolvern"));
}

}  // namespace
}  // namespace vellix
