#include "desktop_users.h"

#include <QDir>
#include <QFile>

#include "support/wait.h"

namespace vellix::test {

std::string DesktopUser::history(const char* partner) const {
    QFile file(QDir(home.path())
                   .filePath(QStringLiteral("data/Vellix/%1/History/%2.log")
                                 .arg(QString::fromStdString(account), QLatin1String(partner))));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void DesktopUsersTest::SetUp() {
    xvfb = std::make_unique<XvfbServer>();
    if (xvfb->display().empty()) GTEST_SKIP() << xvfb->why();
    ASSERT_TRUE(sim.running()) << sim.error();
    screen = std::make_unique<X11Screen>(xvfb->display());
    ASSERT_TRUE(screen->connected());
}

void DesktopUsersTest::start(DesktopUser& user, QStringList arguments) {
    ASSERT_TRUE(user.home.writeProfile(sim.url(), user.account, user.password));
    QProcessEnvironment env = user.home.environment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb->display()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    user.process = std::make_unique<VellixProcess>(user.home, std::move(arguments));
    user.process->setEnvironment(env);
    user.process->start();
    ASSERT_TRUE(sim.wait_for_long_polls(user.account, 1, 20000)) << user.process->trace();
    ASSERT_TRUE(user.process->waitForTrace("message buddy window 33434"));
}

unsigned long DesktopUsersTest::window(const DesktopUser& user, const std::string& title) {
    unsigned long found = 0;
    runUntil([&] {
        for (const auto& w : screen->windows()) {
            if (w.viewable && w.pid == user.process->pid() && w.name == title) found = w.id;
        }
        return found != 0;
    });
    return found;
}

}  // namespace vellix::test
