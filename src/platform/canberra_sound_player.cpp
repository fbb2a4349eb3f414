#include "platform/canberra_sound_player.h"

#include <canberra.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace vellix {

CanberraSoundPlayer::~CanberraSoundPlayer() {
    if (context_) ca_context_destroy(context_);
}

void CanberraSoundPlayer::play(const std::string& path) {
    if (path.empty() || !desktopEventSoundsEnabled()) return;
    std::lock_guard lock(mutex_);
    if (!context_) {
        if (ca_context_create(&context_) != CA_SUCCESS) {
            context_ = nullptr;
            return;
        }
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Vellix",
                                CA_PROP_APPLICATION_ID, "vellix", nullptr);
    }
    // Returns at once; failures (no sound server, unreadable file) stay silent.
    ca_context_play(context_, 0, CA_PROP_MEDIA_FILENAME, path.c_str(), CA_PROP_EVENT_ID,
                    "message-new-email", CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
}

bool desktopEventSoundsEnabled() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.gnome.desktop.sound") << QStringLiteral("event-sounds");
    // No auto-start: a desktop without the portal answers at once.
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return true;
    // The portal wraps the value in one or two variants depending on its version.
    QVariant value = reply.arguments().constFirst();
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    return value.typeId() != QMetaType::Bool || value.toBool();
}

}  // namespace vellix
