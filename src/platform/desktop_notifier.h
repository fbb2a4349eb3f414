#pragma once
// New-mail notices as desktop notifications (org.freedesktop.Notifications over D-Bus).
// One notice at a time: a later one replaces the earlier. The action is offered only when
// the notification server says it can show actions.

#include <QDBusConnection>
#include <QObject>

#include "core/new_mail_notifier.h"

namespace vellix {

class DesktopNotifier final : public QObject, public NewMailNotifier {
    Q_OBJECT
  public:
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);

    // Callable from any thread; the work happens on this object's thread.
    void notify(NewMailNotice notice) override;

  private Q_SLOTS:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

  private:
    void send(const NewMailNotice& notice, const QStringList& capabilities);

    QDBusConnection bus_;
    uint current_ = 0;
    std::function<void()> onAction_;
};

// The body as the server will render it: escaped when it reads markup.
QString noticeBodyText(const std::string& body, bool serverReadsMarkup);

}  // namespace vellix
