#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_spell_checker.h"
#include "platform/windows/spell_check_dialog.h"

namespace vellix {
namespace {

// Answers the modal dialog as a user would: "button" clicks the button of that object
// name, "=text" types into the change-to field.
class DialogAnswerer {
  public:
    explicit DialogAnswerer(std::vector<std::string> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start(5);
    }

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
        {"cancel keeps corrections", "teh cta", {"replace", "cancel"}, -1, "the cta", true},
        {"add", "zork teh", {"add", "replace"}, 2, "zork the", true},
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

}  // namespace
}  // namespace vellix
