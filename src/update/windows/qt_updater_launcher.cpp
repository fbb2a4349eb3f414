#include "update/windows/qt_updater_launcher.h"

#include <QMetaObject>

namespace vellix {

QtUpdaterLauncher::QtUpdaterLauncher(UpdaterDeps deps, const StringTable& strings)
    : deps_(std::move(deps)), strings_(strings) {
}

// The updater goes before the windows it draws in.
QtUpdaterLauncher::~QtUpdaterLauncher() {
    updater_.reset();
    view_.reset();
}

void QtUpdaterLauncher::startUpdater() {
    QMetaObject::invokeMethod(this, &QtUpdaterLauncher::startHere, Qt::QueuedConnection);
}

void QtUpdaterLauncher::closeUpdater() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (updater_) updater_->close();
        },
        Qt::QueuedConnection);
}

void QtUpdaterLauncher::startHere() {
    if (updater_) return;  // one update at a time
    view_ = std::make_unique<QtUpdateView>(strings_);
    updater_ = std::make_unique<CWinThread_AutoUpdater>(deps_, *view_);
    connect(updater_.get(), &CWinThread_AutoUpdater::ended, this, [this] {
        // Not inside the updater's own signal: it is destroyed once the signal is done.
        QMetaObject::invokeMethod(
            this,
            [this] {
                updater_.reset();
                view_.reset();
                Q_EMIT updaterEnded();
            },
            Qt::QueuedConnection);
    });
    updater_->start();
    Q_EMIT updaterStarted();
}

}  // namespace vellix
