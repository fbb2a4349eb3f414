#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <string>

#include "platform/xdg_desktop_shell.h"
#include "support/argument_recorder.h"

namespace vellix {
namespace {

// A recorder in a bare desktop-less home whose only browser is the recorder.
struct Browser {
    test::TempFolder dir;
    test::ArgumentRecorder recorder{dir.file("browser")};

    QProcessEnvironment environment() const {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS"}) {
            env.insert(QString::fromLatin1(name), QString::fromStdString(dir.path()));
        }
        env.insert(QStringLiteral("BROWSER"), QString::fromStdString(recorder.program()));
        return env;
    }
};

TEST(XdgDesktopShellTest, BrowserCommandTemplate) {
    const std::string url = "http://m:8080/?Session=a&B=x%20y&Frames=Yes";
    struct Case {
        std::string command;  // "@" stands for the recorder's path
        std::string arguments;
    } cases[] = {
        {"@", url + "\n"},
        {"\"@\" --new-window", "--new-window\n" + url + "\n"},
        {"@ --app=%1 -x %1", "--app=" + url + "\n-x\n" + url + "\n"},
        {"  ", url + "\n"},  // no command: the desktop opens it, here through $BROWSER
    };
    for (auto c : cases) {
        Browser browser;
        if (const auto at = c.command.find('@'); at != std::string::npos) {
            c.command.replace(at, 1, browser.recorder.program());
        }
        XdgDesktopShell shell([&] { return c.command; }, browser.environment());
        ASSERT_TRUE(shell.openInNewBrowser(url).ok()) << c.command;
        EXPECT_EQ(browser.recorder.arguments(), c.arguments) << c.command;
    }
}

TEST(XdgDesktopShellTest, OpenAndStartProgram) {
    Browser viaOpener;
    XdgDesktopShell shell(nullptr, viaOpener.environment());
    ASSERT_TRUE(shell.openUrl("http://m/?Session=1&Frames=Yes").ok());
    EXPECT_EQ(viaOpener.recorder.arguments(), "http://m/?Session=1&Frames=Yes\n");

    Browser program;
    ASSERT_TRUE(shell.startProgram(program.recorder.program(), " -s \"two words\" 'x' ").ok());
    EXPECT_EQ(program.recorder.arguments(), "-s\ntwo words\n'x'\n");

    const Status missing = shell.startProgram("/nonexistent/vellix-mail", "");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("/nonexistent/vellix-mail"), std::string::npos);
    EXPECT_FALSE(shell.startProgram("", "-x").ok());
}

}  // namespace
}  // namespace vellix
