#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "event_loop_wait.h"
#include "platform/xdg_desktop_shell.h"
#include "temp_folder.h"

namespace vellix {
namespace {

// A stand-in browser that writes its arguments, one a line, once it has them all.
class Recorder {
  public:
    Recorder() {
        script = test::pathIn(dir, "browser");
        output = test::pathIn(dir, "args");
        test::writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + output + ".part'\nmv '" +
                                    output + ".part' '" + output + "'\n");
        QFile::setPermissions(QString::fromStdString(script),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // What the recorder got, or "(nothing)" after the wait.
    std::string arguments() const {
        test::runUntil([this] { return QFile::exists(QString::fromStdString(output)); }, 10000);
        return QFile::exists(QString::fromStdString(output)) ? test::readFile(output) : "(nothing)";
    }
    // A bare desktop-less environment whose only browser is the recorder.
    QProcessEnvironment environment() const {
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS"}) {
            env.insert(QString::fromLatin1(name), dir.path());
        }
        env.insert(QStringLiteral("BROWSER"), QString::fromStdString(script));
        return env;
    }

    QTemporaryDir dir;
    std::string script, output;
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
        Recorder recorder;
        if (const auto at = c.command.find('@'); at != std::string::npos) {
            c.command.replace(at, 1, recorder.script);
        }
        XdgDesktopShell shell([&] { return c.command; }, recorder.environment());
        ASSERT_TRUE(shell.openInNewBrowser(url).ok()) << c.command;
        EXPECT_EQ(recorder.arguments(), c.arguments) << c.command;
    }
}

TEST(XdgDesktopShellTest, OpenAndStartProgram) {
    Recorder viaOpener;
    XdgDesktopShell shell(nullptr, viaOpener.environment());
    ASSERT_TRUE(shell.openUrl("http://m/?Session=1&Frames=Yes").ok());
    EXPECT_EQ(viaOpener.arguments(), "http://m/?Session=1&Frames=Yes\n");

    Recorder program;
    ASSERT_TRUE(shell.startProgram(program.script, " -s \"two words\" 'x' ").ok());
    EXPECT_EQ(program.arguments(), "-s\ntwo words\n'x'\n");

    const Status missing = shell.startProgram("/nonexistent/vellix-mail", "");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("/nonexistent/vellix-mail"), std::string::npos);
    EXPECT_FALSE(shell.startProgram("", "-x").ok());
}

}  // namespace
}  // namespace vellix
