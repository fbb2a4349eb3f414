#include "platform/connectivity_signals.h"

namespace vellix {
namespace {

bool reachesServers(QNetworkInformation::Reachability reachability) {
    // A server on the local site counts: many Skyloom servers are on the intranet.
    return reachability == QNetworkInformation::Reachability::Site ||
           reachability == QNetworkInformation::Reachability::Online;
}

}  // namespace

ConnectivitySignals::ConnectivitySignals(std::function<void()> networkUp,
                                         std::function<void()> resumed, QDBusConnection systemBus)
    : networkUp_(std::move(networkUp)), resumed_(std::move(resumed)) {
    if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        if (QNetworkInformation* info = QNetworkInformation::instance()) {
            last_ = info->reachability();
            connect(info, &QNetworkInformation::reachabilityChanged, this,
                    [this](QNetworkInformation::Reachability now) { onReachability(now); });
            watchesNetwork_ = true;
        }
    }
    // Any sender: a forged signal costs one check, nothing more.
    if (systemBus.isConnected()) {
        watchesSleep_ = systemBus.connect(QString(), QStringLiteral("/org/freedesktop/login1"),
                                          QStringLiteral("org.freedesktop.login1.Manager"),
                                          QStringLiteral("PrepareForSleep"), this,
                                          SLOT(onPrepareForSleep(bool)));
    }
}

void ConnectivitySignals::onReachability(QNetworkInformation::Reachability reachability) {
    const bool back = reachesServers(reachability) && !reachesServers(last_);
    last_ = reachability;
    if (back && networkUp_) networkUp_();
}

void ConnectivitySignals::onPrepareForSleep(bool sleeping) {
    if (!sleeping && resumed_) resumed_();
}

}  // namespace vellix
