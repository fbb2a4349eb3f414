#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include "platform/desktop_notifier.h"
#include "support/private_bus.h"
#include "support/wait.h"

namespace vellix {
namespace {

// A notification server with scripted capabilities that records each Notify.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    QStringList capabilities;
    struct Call {
        uint replaces;
        QString summary, body;
        QStringList actions;
        QVariantMap hints;
    };
    std::vector<Call> calls;

  public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int) {
        calls.push_back({replaces, summary, body, actions, hints});
        return static_cast<uint>(40 + calls.size());
    }
};

class DesktopNotifierTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (address.isEmpty()) {
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup.sh installs it)";
        }
        auto service = QDBusConnection::connectToBus(address, QStringLiteral("fake-service"));
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &fake,
                                           QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("notifier"));
    }
    void invoke(uint id, const QString& key) {
        auto signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                 QStringLiteral("org.freedesktop.Notifications"),
                                                 QStringLiteral("ActionInvoked"));
        signal << id << key;
        QDBusConnection(QStringLiteral("fake-service")).send(signal);
    }

    test::PrivateBus bus;
    QString address = bus.address();
    FakeNotifications fake;
};

TEST_F(DesktopNotifierTest, OffersOpenOnlyWhereActionsExistAndRunsIt) {
    DesktopNotifier notifier(QDBusConnection::connectToBus(address, QStringLiteral("notifier")));
    int opened = 0;
    const NewMailNotice notice{"New Mail", "Inbox & <Work> (2)", "Open", [&] { ++opened; }};

    fake.capabilities = {QStringLiteral("body")};
    notifier.notify(notice);
    ASSERT_TRUE(test::runUntil([&] { return fake.calls.size() == 1; }, 5000));
    EXPECT_TRUE(fake.calls[0].actions.isEmpty());
    EXPECT_EQ(fake.calls[0].body.toStdString(), "Inbox & <Work> (2)");
    EXPECT_EQ(fake.calls[0].hints.value(QStringLiteral("desktop-entry")).toString(),
              QStringLiteral("vellix"));

    fake.capabilities = {QStringLiteral("actions"), QStringLiteral("body-markup")};
    notifier.notify(notice);
    ASSERT_TRUE(test::runUntil([&] { return fake.calls.size() == 2; }, 5000));
    const auto& second = fake.calls[1];
    EXPECT_EQ(second.replaces, 41u);  // replaces the first notice
    EXPECT_EQ(second.summary.toStdString(), "New Mail");
    EXPECT_EQ(second.body.toStdString(), "Inbox &amp; &lt;Work&gt; (2)");
    EXPECT_EQ(second.actions, (QStringList{QStringLiteral("default"), QStringLiteral("Open"),
                                           QStringLiteral("open"), QStringLiteral("Open")}));

    test::runFor(50);                    // let the reply with the id arrive
    invoke(41, QStringLiteral("open"));  // an older notice's action does nothing
    invoke(42, QStringLiteral("open"));
    ASSERT_TRUE(test::runUntil([&] { return opened == 1; }, 5000));
    test::runFor(50);
    EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace vellix

#include "desktop_notifier_test.moc"
