#include "tray/windows/qt_tray_host.h"

#include <QCursor>
#include <QFile>
#include <QTimer>

#include "tray/windows/tray_fallback_window.h"

namespace vellix {

QIcon trayIconPicture(int icon) {
    const QString path = QStringLiteral(":/icons/tray/%1.svg").arg(icon);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QtTrayHost::QtTrayHost(const Clock& clock, QObject* parent)
    : QObject(parent), tray_(new QSystemTrayIcon(this)), availability_(new QTimer(this)) {
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Context) report(TrayClick::Menu, QCursor::pos());
        if (r == QSystemTrayIcon::DoubleClick) report(TrayClick::DoubleClick, QCursor::pos());
    });
    trayAvailable_ = QSystemTrayIcon::isSystemTrayAvailable();
    // A tray that starts after Vellix, or a panel restart, is noticed on the next check.
    connect(availability_, &QTimer::timeout, this, &QtTrayHost::checkAvailability);
    availability_->start(clock.scaled(kTrayAvailabilityCheck));
}

QtTrayHost::~QtTrayHost() = default;

bool QtTrayHost::apply(TrayAction action, int icon, const std::string& tip) {
    {
        std::lock_guard lock(mutex_);
        // The shell's rules: no second add, no change or removal of an icon that is not there.
        if ((action == TrayAction::Add) == wanted_.present) return false;
        wanted_.present = action != TrayAction::Delete;
        if (wanted_.present) {
            wanted_.icon = icon;
            wanted_.tip = tip;
        }
    }
    QMetaObject::invokeMethod(this, &QtTrayHost::sync, Qt::QueuedConnection);
    return true;
}

void QtTrayHost::setActivationHandler(ActivationHandler handler) {
    std::lock_guard lock(handlerMutex_);
    handler_ = std::move(handler);
}

void QtTrayHost::setMainWindowPresent(bool present) {
    mainWindowPresent_ = present;
    sync();
}

void QtTrayHost::report(TrayClick click, QPoint where) {
    std::lock_guard lock(handlerMutex_);
    if (handler_) handler_(TrayActivation{click, where.x(), where.y()});
}

const QIcon& QtTrayHost::picture(int icon) {
    auto it = pictures_.find(icon);
    if (it == pictures_.end()) it = pictures_.insert(icon, trayIconPicture(icon));
    return *it;
}

void QtTrayHost::sync() {
    Wanted wanted;
    {
        std::lock_guard lock(mutex_);
        wanted = wanted_;
    }
    if (!wanted.present) {
        shownIcon_ = 0;
        tray_->hide();
        hideFallback();
        return;
    }
    const QIcon& icon = picture(wanted.icon);
    const QString tip = QString::fromStdString(wanted.tip);
    shownIcon_ = wanted.icon;
    tray_->setIcon(icon);
    tray_->setToolTip(tip);
    if (trayAvailable_) {
        tray_->show();
        hideFallback();
    } else if (!mainWindowPresent_) {
        // Made on first need: with a tray, the stand-in window never exists.
        if (!fallback_) {
            fallback_ = std::make_unique<TrayFallbackWindow>(
                [this](TrayClick click, QPoint where) { report(click, where); });
        }
        fallback_->showState(icon, tip);
    } else {
        hideFallback();
    }
}

void QtTrayHost::hideFallback() {
    if (fallback_) fallback_->hide();
}

void QtTrayHost::checkAvailability() {
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (available == trayAvailable_) return;
    trayAvailable_ = available;
    // Showing again embeds the icon in the tray that just appeared.
    tray_->hide();
    sync();
}

}  // namespace vellix
