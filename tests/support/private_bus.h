#pragma once
// A private D-Bus daemon standing in for the session or system bus of a test.

#include <QProcess>
#include <QString>

namespace vellix::test {

class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    // Empty when dbus-daemon is missing or did not start.
    const QString& address() const { return address_; }

  private:
    QProcess daemon_;
    QString address_;
};

}  // namespace vellix::test
