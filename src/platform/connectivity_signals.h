#pragma once
// The desktop's word that a connection is worth trying again at once: the network became
// reachable (QNetworkInformation, NetworkManager underneath) or the machine woke from
// suspend (logind's PrepareForSleep(false) on the system bus). Made and used on the GUI
// thread; the callbacks run there and only post.

#include <QDBusConnection>
#include <QNetworkInformation>
#include <QObject>

#include <functional>

namespace vellix {

class ConnectivitySignals final : public QObject {
    Q_OBJECT
  public:
    // Without a system bus or a reachability backend the matching signal never comes;
    // the retries on their schedule still run.
    ConnectivitySignals(std::function<void()> networkUp, std::function<void()> resumed,
                        QDBusConnection systemBus = QDBusConnection::systemBus());

    bool watchesNetwork() const { return watchesNetwork_; }
    bool watchesSleep() const { return watchesSleep_; }

  private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);

  private:
    void onReachability(QNetworkInformation::Reachability reachability);

    std::function<void()> networkUp_;
    std::function<void()> resumed_;
    QNetworkInformation::Reachability last_ = QNetworkInformation::Reachability::Unknown;
    bool watchesNetwork_ = false;
    bool watchesSleep_ = false;
};

}  // namespace vellix
