#include "tray/windows/qt_tray_host.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <thread>

#include "support/wait.h"
#include "support/xvfb_server.h"
#include "tray/tray_icon.h"
#include "tray/windows/tray_fallback_window.h"

namespace vellix {
namespace {

using test::runUntil;

TEST(TrayPictures, EveryPictureRendersDistinctly) {
    QImage previous;
    for (int icon = 222; icon <= 249; ++icon) {
        const QIcon picture = trayIconPicture(icon);
        ASSERT_FALSE(picture.isNull()) << icon;
        for (int size : {16, 48}) {
            const QImage image = picture.pixmap(size, size).toImage();
            ASSERT_EQ(image.width(), size) << icon;
            // Not blank: the outline is drawn in opaque pixels.
            EXPECT_GT(qAlpha(image.pixel(size / 2, size / 4 + size / 8)), 0) << icon;
        }
        const QImage image = picture.pixmap(32, 32).toImage();
        EXPECT_NE(image, previous) << icon;
        previous = image;
    }
    EXPECT_TRUE(trayIconPicture(250).isNull());
}

// Without a tray (the offscreen platform has none) the stand-in window carries the icon.
TEST(QtTrayHostOffscreen, StandInWindowShowsTheIconAndAsksForTheMenu) {
    Clock clock;
    QtTrayHost host(clock);
    std::vector<TrayActivation> reports;
    host.setActivationHandler([&](const TrayActivation& a) { reports.push_back(a); });

    bool added = false, secondAdd = true, modifyBefore = true;
    std::thread worker([&] {  // the tray frame's thread
        modifyBefore = host.apply(TrayAction::Modify, 232, "early");
        added = host.apply(TrayAction::Add, 232, "Total:3, Unread:1, New:0");
        secondAdd = host.apply(TrayAction::Add, 232, "again");
    });
    worker.join();
    EXPECT_FALSE(modifyBefore);
    EXPECT_TRUE(added);
    EXPECT_FALSE(secondAdd);

    ASSERT_TRUE(runUntil(
        [&] { return host.fallbackWindow() && host.fallbackWindow()->isVisible(); }, 5000));
    TrayFallbackWindow* window = host.fallbackWindow();
    EXPECT_EQ(window->text(), QStringLiteral("Total:3, Unread:1, New:0"));
    EXPECT_EQ(host.shownIcon(), 232);

    ASSERT_TRUE(host.apply(TrayAction::Modify, 249, "lost"));
    ASSERT_TRUE(runUntil([&] { return host.shownIcon() == 249; }, 5000));
    EXPECT_EQ(window->text(), QStringLiteral("lost"));

    const QPointF local(5, 5);
    const QPointF global = window->mapToGlobal(local);
    QMouseEvent right(QEvent::MouseButtonPress, local, global, Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &right);
    QMouseEvent twice(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(window, &twice);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].click, TrayClick::Menu);
    EXPECT_EQ(reports[0].x, global.toPoint().x());
    EXPECT_EQ(reports[1].click, TrayClick::DoubleClick);

    host.setMainWindowPresent(true);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(host.apply(TrayAction::Delete, 0, ""));
    ASSERT_TRUE(runUntil([&] { return host.shownIcon() == 0; }, 5000));
    EXPECT_FALSE(host.apply(TrayAction::Delete, 0, ""));
}

// The half that runs inside Xvfb beside a real tray, started by the test below.
TEST(TrayOnDesktop, Probe) {
    if (qEnvironmentVariableIsEmpty("VELLIX_TRAY_PROBE")) GTEST_SKIP() << "run by RealTray";
    Clock clock(0.05);  // the availability check runs every 100 ms
    QtTrayHost host(clock);
    ASSERT_TRUE(runUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000));
    Frame owner("owner", clock);
    CTrayIcon icon(owner, host);

    // With a tray each state's picture goes there, not into the stand-in window.
    const auto image = [](const QIcon& picture) { return picture.pixmap(16, 16).toImage(); };
    for (const auto& [state, picture] :
         {std::pair{TrayState::Connected, 232}, std::pair{TrayState::NewMail, 234},
          std::pair{TrayState::Lost, 249}}) {
        icon.setState(state, "state " + std::to_string(trayStateToWire(state)));
        owner.killTimer(kTrayAnimationTimer);  // hold the first picture of the state
        const int expected = picture;          // a structured binding cannot be captured
        EXPECT_TRUE(runUntil(
            [&] {
                return host.trayIcon().isVisible() && host.trayIcon().geometry().width() > 0 &&
                       image(host.trayIcon().icon()) == image(trayIconPicture(expected));
            },
            5000))
            << trayStateToWire(state);
    }
    EXPECT_EQ(host.fallbackWindow(), nullptr) << "a stand-in window beside a real tray";
}

TEST(TrayOnDesktop, RealTray) {
    const QString trayer = QStandardPaths::findExecutable(QStringLiteral("trayer"));
    if (trayer.isEmpty()) GTEST_SKIP() << "trayer is not installed";
    test::XvfbServer xvfb;
    if (xvfb.display().empty()) GTEST_SKIP() << xvfb.why();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(xvfb.display()));
    // No session bus: the icon goes the XEmbed way into trayer.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    QProcess tray;
    tray.setProcessEnvironment(env);
    tray.start(trayer,
               {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--height"),
                QStringLiteral("32"), QStringLiteral("--SetDockType"), QStringLiteral("false")});
    ASSERT_TRUE(tray.waitForStarted());

    QProcess probe;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("VELLIX_TRAY_PROBE"), QStringLiteral("1"));
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=TrayOnDesktop.Probe")});
    ASSERT_TRUE(probe.waitForFinished(60000));
    const QByteArray output = probe.readAll();
    EXPECT_EQ(probe.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[       OK ] TrayOnDesktop.Probe")) << output.toStdString();
    tray.terminate();
    tray.waitForFinished(5000);
}

}  // namespace
}  // namespace vellix
