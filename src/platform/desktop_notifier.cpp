#include "platform/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace vellix {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// "default" is what servers invoke on a click on the notice itself.
const QString kDefaultAction = QStringLiteral("default");
const QString kOpenAction = QStringLiteral("open");

QDBusMessage methodCall(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

QString noticeBodyText(const std::string& body, bool serverReadsMarkup) {
    const QString text = QString::fromStdString(body);
    return serverReadsMarkup ? text.toHtmlEscaped() : text;
}

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)) {
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(onActionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(onClosed(uint, uint)));
}

void DesktopNotifier::notify(NewMailNotice notice) {
    QMetaObject::invokeMethod(this, [this, notice = std::move(notice)] {
        if (!bus_.isConnected()) return;
        auto* watcher = new QDBusPendingCallWatcher(
            bus_.asyncCall(methodCall(QStringLiteral("GetCapabilities"))), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, notice](QDBusPendingCallWatcher* call) {
                    call->deleteLater();
                    const QDBusPendingReply<QStringList> reply = *call;
                    // No server at all: nothing to show, and nothing to say about it.
                    if (reply.isError()) return;
                    send(notice, reply.value());
                });
    });
}

void DesktopNotifier::send(const NewMailNotice& notice, const QStringList& capabilities) {
    const bool actions = capabilities.contains(QStringLiteral("actions")) && notice.onAction;
    QStringList actionList;
    if (actions) {
        const QString label = QString::fromStdString(notice.actionLabel);
        actionList << kDefaultAction << label << kOpenAction << label;
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("vellix"));
    hints.insert(QStringLiteral("category"), QStringLiteral("email.arrived"));

    QDBusMessage call = methodCall(QStringLiteral("Notify"));
    call << QStringLiteral("Vellix") << current_ << QStringLiteral("mail-unread")
         << QString::fromStdString(notice.summary)
         << noticeBodyText(notice.body, capabilities.contains(QStringLiteral("body-markup")))
         << actionList << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    std::function<void()> onAction = actions ? notice.onAction : nullptr;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onAction = std::move(onAction)](QDBusPendingCallWatcher* pending) {
                pending->deleteLater();
                const QDBusPendingReply<uint> reply = *pending;
                if (reply.isError()) return;
                current_ = reply.value();
                onAction_ = onAction;
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& key) {
    if (id != current_ || !onAction_) return;
    if (key == kDefaultAction || key == kOpenAction) onAction_();
}

void DesktopNotifier::onClosed(uint id, uint /*reason*/) {
    if (id != current_) return;
    current_ = 0;
    onAction_ = nullptr;
}

}  // namespace vellix
