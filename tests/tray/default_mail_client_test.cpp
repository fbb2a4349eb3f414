#include <QEventLoop>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/atomic_file.h"
#include "support/argument_recorder.h"
#include "tray/autostart_entry.h"
#include "tray/default_mail_client.h"
#include "tray/desktop_entry.h"

namespace vellix {
namespace {

using test::readFile;

// The answer of a tool started without waiting, as the event loop brings it; an owner given
// is deleted right after the start.
template <class T, class Start>
std::optional<T> answerOf(Start start, QObject* owner = nullptr, int waitMs = 15000) {
    QObject ownHolder;
    std::optional<T> got;
    QEventLoop loop;
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    start(owner ? owner : &ownHolder, [&](T answer) {
        got = std::move(answer);
        loop.quit();
    });
    delete owner;
    if (!got) loop.exec();
    return got;
}

TEST(DesktopEntryTest, ExecArgumentsRoundTrip) {
    struct Case {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/vellix", "/usr/bin/vellix"},
        {"/opt/My Apps/vellix", "\"/opt/My Apps/vellix\""},
        {"/opt/100%/vellix", "/opt/100%%/vellix"},
        {"/a\"b$c\\d/vellix", "\"/a\\\\\"b\\\\$c\\\\\\\\d/vellix\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(execArgument(c.path), c.exec) << c.path;
        EXPECT_EQ(execProgram(std::string(c.exec) + " /%u"), c.path) << c.exec;
    }
}

TEST(DesktopEntryTest, ShippedEntryMatchesTheGeneratedOne) {
    const std::string shipped = readFile(VELLIX_SOURCE_DIR "/resources/vellix.desktop");
    EXPECT_EQ(shipped, applicationEntryText("vellix"));
}

// A temporary desktop home for the real xdg tools, with nothing installed for the system.
// The program the entry starts records its arguments. (xdg-utils' own desktop-less lookup
// takes the first blank-separated word of Exec, so its path has no blank.)
class XdgHome : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.valid());
        for (const char* sub : {"data", "config", "system/applications", "home"}) {
            std::filesystem::create_directories(dir.file(sub));
        }
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("HOME"), path("home"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path("data"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
        env.insert(QStringLiteral("XDG_DATA_DIRS"), path("system"));
    }
    QString path(const char* sub) const { return QString::fromStdString(dir.file(sub)); }

    test::TempFolder dir;
    QProcessEnvironment env;
    test::ArgumentRecorder recorder{dir.file("bin/vellix")};
    const std::string program = recorder.program();
};

TEST_F(XdgHome, RegistersAsTheMailtoHandler) {
    ToolRunner runner(env);
    DefaultMailClient client(runner, program);
    auto before = client.isDefault();
    ASSERT_TRUE(before.ok()) << before.error();
    EXPECT_FALSE(*before);

    const auto made =
        answerOf<Status>([&](QObject* owner, auto done) { client.askMakeDefault(owner, done); });
    ASSERT_TRUE(made && made->ok());
    auto after = client.isDefault();
    ASSERT_TRUE(after.ok()) << after.error();
    EXPECT_TRUE(*after);
    const auto asked = answerOf<Result<bool>>(
        [&](QObject* owner, auto done) { client.askIsDefault(owner, done); });
    EXPECT_TRUE(asked && asked->valueOr(false));
    EXPECT_EQ(client.userEntryPath(), path("data").toStdString() + "/applications/vellix.desktop");
    const std::string entry = readFile(client.userEntryPath());
    EXPECT_EQ(desktopEntryValue(entry, "Exec"), program + " /%u");
    EXPECT_EQ(desktopEntryValue(entry, "MimeType"), "x-scheme-handler/mailto;");

    // A launcher that follows the desktop entry rules hands over "/mailto:...".
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
        GTEST_SKIP() << "gio is not installed";
    }
    ASSERT_EQ(runner
                  .run(QStringLiteral("gio"),
                       {QStringLiteral("open"), QStringLiteral("mailto:ann@x.org?subject=a%20b")})
                  .valueOr({1, {}, {}})
                  .exitCode,
              0);
    EXPECT_EQ(recorder.arguments(), "/mailto:ann@x.org?subject=a%20b\n");
}

TEST_F(XdgHome, SystemEntryForThisProgramIsNotCopied) {
    const std::string systemEntry = dir.file("system/applications/vellix.desktop");
    ToolRunner runner(env);
    DefaultMailClient client(runner, program);

    // An entry of another copy of the program is shadowed by the user's own.
    ASSERT_TRUE(writeFileAtomically(systemEntry, applicationEntryText("/usr/bin/vellix")).ok());
    ASSERT_TRUE(client.makeDefault().ok());
    EXPECT_TRUE(fileExists(client.userEntryPath()));

    ASSERT_TRUE(removeFile(client.userEntryPath()).ok());
    ASSERT_TRUE(writeFileAtomically(systemEntry, applicationEntryText(program)).ok());
    ASSERT_TRUE(client.makeDefault().ok());
    EXPECT_FALSE(fileExists(client.userEntryPath()));
    EXPECT_TRUE(client.isDefault().valueOr(false));
}

TEST_F(XdgHome, ToolFailuresAreErrors) {
    const ToolRunner runner(env);
    EXPECT_FALSE(runner.run(QStringLiteral("/nonexistent/xdg-tool"), {}).ok());
    const auto start = [&](const char* tool) {
        return [&runner, tool](QObject* owner, auto done) {
            runner.start(QString::fromLatin1(tool), {QStringLiteral("1")}, owner, done);
        };
    };
    const auto missing = answerOf<Result<ToolOutput>>(start("/nonexistent/xdg-tool"));
    EXPECT_TRUE(missing && !missing->ok());
    // An owner gone before the answer takes the tool with it, and nothing answers.
    EXPECT_FALSE(answerOf<Result<ToolOutput>>(start("sleep"), new QObject, 2000));
    const auto ran = runner.run(QStringLiteral("xdg-mime"), {QStringLiteral("--bogus")});
    ASSERT_TRUE(ran.ok());
    EXPECT_NE(ran->exitCode, 0);
    // No home at all: nowhere to put the user's entry.
    QProcessEnvironment homeless;
    homeless.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    const ToolRunner lost(homeless);
    EXPECT_FALSE(DefaultMailClient(lost, program).makeDefault().ok());
}

TEST_F(XdgHome, StartOnLogin) {
    const Environment xdg = ToolRunner(env).xdgEnvironment();
    EXPECT_FALSE(startsOnLogin(xdg));
    ASSERT_TRUE(setStartOnLogin(xdg, true, program).ok());
    EXPECT_EQ(autostartEntryPath(xdg), path("config").toStdString() + "/autostart/vellix.desktop");
    EXPECT_EQ(desktopEntryValue(readFile(autostartEntryPath(xdg)), "Exec"), program);
    EXPECT_TRUE(startsOnLogin(xdg));

    // Switched off in the session settings.
    ASSERT_TRUE(
        writeFileAtomically(autostartEntryPath(xdg), autostartEntryText(program) + "Hidden=true\n")
            .ok());
    EXPECT_FALSE(startsOnLogin(xdg));

    ASSERT_TRUE(setStartOnLogin(xdg, false, program).ok());
    EXPECT_FALSE(fileExists(autostartEntryPath(xdg)));
    EXPECT_TRUE(setStartOnLogin(xdg, false, program).ok());
}

}  // namespace
}  // namespace vellix
