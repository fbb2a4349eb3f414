#include "server/windows/qt_server_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

#include "server/windows/credentials_dialog.h"
#include "server/windows/error_window.h"
#include "server/windows/login_dialog.h"
#include "support/wait.h"
#include "support/widget_finder.h"

namespace vellix {
namespace {

using test::runUntil;
using test::whenModal;

void press(QDialog& dialog, const StringTable& strings, int buttonId) {
    QPushButton* button = test::buttonWithText(dialog, strings.text(buttonId));
    ASSERT_NE(button, nullptr) << buttonId;
    button->click();
}

template <class T>
T waitFor(std::future<T>& answer) {
    EXPECT_TRUE(runUntil(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    return answer.get();
}

std::string text(const std::optional<LoginAnswer>& a) {
    return a ? a->user + "|" + a->password + (a->remember ? "|remember" : "") : "none";
}

const std::vector<RememberedAccount> kAccounts = {{1, "alice", "a-secret", true},
                                                  {2, "bob", "", false}};

TEST(QtServerDialogsTest, AskLoginGivesWhatTheUserEntered) {
    const StringTable strings(Language::English);
    QtServerDialogs dialogs(strings);
    struct Case {
        bool fromWorker;
        std::function<void(LoginDialog&)> user;
        const char* expected;
    } cases[] = {
        {true,
         [&](LoginDialog& d) {
             d.findChild<QComboBox*>()->setEditText(QStringLiteral("dave"));
             d.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("pw"));
             d.findChild<QCheckBox*>()->setChecked(true);
             press(d, strings, IDS_BUTTON_OK);
         },
         "dave|pw|remember"},
        {true, [&](LoginDialog& d) { press(d, strings, IDS_BUTTON_CANCEL); }, "none"},
        {false,
         [&](LoginDialog& d) {
             d.findChild<QComboBox*>()->setCurrentIndex(0);
             press(d, strings, IDS_BUTTON_OK);
         },
         "alice|a-secret|remember"},
        {false, [&](LoginDialog& d) { d.reject(); }, "none"},
    };
    for (const auto& c : cases) {
        whenModal(c.user);
        auto answer = std::async(c.fromWorker ? std::launch::async : std::launch::deferred,
                                 [&] { return dialogs.askLogin(kAccounts, 2); });
        const auto got = c.fromWorker ? waitFor(answer) : answer.get();
        EXPECT_EQ(text(got), c.expected);
    }
}

TEST(QtServerDialogsTest, CredentialsPromptNamesWhoAsks) {
    const StringTable strings(Language::English);
    QtServerDialogs dialogs(strings);
    struct Case {
        AuthTarget target;
        const char* where;
        bool ok;
        const char* prompt;
    } cases[] = {
        {AuthTarget::Server, "mail.example.com", true,
         "The server mail.example.com asks for a user name and password."},
        {AuthTarget::Proxy, "proxy.lan:8080", true,
         "The proxy server proxy.lan:8080 asks for a user name and password."},
        {AuthTarget::Proxy, "proxy.lan:8080", false, nullptr},
    };
    for (const auto& c : cases) {
        std::string shown;
        whenModal<CredentialsDialog>([&](CredentialsDialog& d) {
            for (auto* label : d.findChildren<QLabel*>()) {
                if (label->text().contains(QStringLiteral(" asks "))) {
                    shown = label->text().toStdString();
                }
            }
            d.findChild<QLineEdit*>(QStringLiteral("user"))->setText(QStringLiteral("u1"));
            d.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("p1"));
            press(d, strings, c.ok ? IDS_BUTTON_OK : IDS_BUTTON_CANCEL);
        });
        auto answer =
            std::async(std::launch::async, [&] { return dialogs.ask(c.target, c.where); });
        const auto got = waitFor(answer);
        ASSERT_EQ(got.has_value(), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(shown, c.prompt);
        EXPECT_EQ(got->user, "u1");
        EXPECT_EQ(got->password, "p1");
    }
    EXPECT_EQ(credentialsPromptText(StringTable(Language::Chinese), AuthTarget::Proxy, "p:1"),
              "代理服务器 p:1 要求提供用户名和密码。");
}

TEST(QtServerDialogsTest, DestroyedWhileTheUserDecidesAnswersNothing) {
    const StringTable strings(Language::English);
    auto* dialogs = new QtServerDialogs(strings);
    whenModal<LoginDialog>([&](LoginDialog&) { delete dialogs; });
    auto answer = std::async(std::launch::async, [&] { return dialogs->askLogin(kAccounts, 1); });
    EXPECT_FALSE(waitFor(answer));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

std::vector<std::string> openErrorTexts() {
    std::vector<std::string> texts;
    for (auto* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowTitle() != QString::fromUtf8(kErrorWindowTitle)) continue;
        for (auto* label : w->findChildren<QLabel*>()) texts.push_back(label->text().toStdString());
    }
    return texts;
}

TEST(QtServerDialogsTest, OneErrorWindowAtATime) {
    const StringTable strings(Language::English);
    auto dialogs = std::make_unique<QtServerDialogs>(strings);
    enum Op { Show, ShowFromWorker, Close, ClickOk };
    using Texts = std::vector<std::string>;
    struct Step {
        Op op;
        const char* text;
        Texts open;
    } steps[] = {
        {ShowFromWorker, "Could not connect", {"Could not connect"}},
        {Show, "second", {"Could not connect"}},
        {Close, "", {}},
        {Close, "", {}},
        {Show, "<b>third</b>", {"<b>third</b>"}},
        {ClickOk, "", {}},
        {Show, "fourth", {"fourth"}},
        {ShowFromWorker, "fifth", {"fourth"}},
    };
    for (const auto& s : steps) {
        switch (s.op) {
            case Show:
                dialogs->showError(s.text);
                break;
            case ShowFromWorker:
                std::thread([&] { dialogs->showError(s.text); }).join();
                break;
            case Close:
                dialogs->closeError();
                break;
            case ClickOk:
                for (auto* w : QApplication::topLevelWidgets()) {
                    if (auto* e = qobject_cast<ErrorWindow*>(w); e && e->isVisible()) {
                        press(*e, strings, IDS_BUTTON_OK);
                    }
                }
                break;
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(openErrorTexts(), s.open) << s.text;
    }
    dialogs.reset();
    EXPECT_EQ(openErrorTexts(), Texts{});
}

// A refused password: the error the frame shows just before asking again moves into the
// login dialog, where the user sees it, instead of opening behind it.
TEST(QtServerDialogsTest, ErrorBeforeLoginShowsInsideTheDialog) {
    const StringTable strings(Language::English);
    QtServerDialogs dialogs(strings);
    bool errorInside = false;
    whenModal<LoginDialog>([&](LoginDialog& d) {
        for (auto* label : d.findChildren<QLabel*>()) {
            errorInside = errorInside || label->text() == QStringLiteral("Password refused");
        }
        press(d, strings, IDS_BUTTON_CANCEL);
    });
    auto answer = std::async(std::launch::async, [&] {
        dialogs.showError("Password refused");
        return dialogs.askLogin(kAccounts, 1);
    });
    EXPECT_EQ(text(waitFor(answer)), "none");
    EXPECT_TRUE(errorInside);
    EXPECT_TRUE(runUntil([] { return openErrorTexts().empty(); }, 2000));
}

}  // namespace
}  // namespace vellix
