#include "support/private_bus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStandardPaths>

namespace vellix::test {

PrivateBus::PrivateBus() {
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) return;
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead(5000)) return;
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    connectionName_ = QStringLiteral("private-bus-") + QString::number(daemon_.processId());
}

PrivateBus::~PrivateBus() {
    if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
    if (daemon_.state() != QProcess::NotRunning) {
        daemon_.kill();
        daemon_.waitForFinished();
    }
}

bool PrivateBus::emitSignal(const QString& path, const QString& interface, const QString& member,
                            const QVariantList& arguments) {
    if (address_.isEmpty()) return false;
    QDBusConnection bus = QDBusConnection::connectToBus(address_, connectionName_);
    QDBusMessage signal = QDBusMessage::createSignal(path, interface, member);
    signal.setArguments(arguments);
    return bus.isConnected() && bus.send(signal);
}

}  // namespace vellix::test
