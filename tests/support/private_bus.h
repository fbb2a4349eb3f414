#pragma once
// A private D-Bus daemon for a test: a stand-in for the session or the system bus, on which
// the test plays the desktop's services and signals.

#include <QProcess>
#include <QString>
#include <QVariantList>

namespace vellix::test {

class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when dbus-daemon is missing or did not start.
    const QString& address() const { return address_; }
    // Emits a signal from a connection of the test's own; false when it could not be sent.
    bool emitSignal(const QString& path, const QString& interface, const QString& member,
                    const QVariantList& arguments);

  private:
    QProcess daemon_;
    QString address_;
    QString connectionName_;
};

}  // namespace vellix::test
