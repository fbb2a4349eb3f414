#include "platform/dbus_idle_source.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

#include <array>

namespace vellix {
namespace {

constexpr int kCallTimeoutMs = 1000;

const std::array<DBusIdleSource::Endpoint, 3> kEndpoints{{
    {"org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
     "org.gnome.Mutter.IdleMonitor", "GetIdletime"},
    // Answers in milliseconds on the desktops that implement it.
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
     "GetSessionIdleTime"},
    {"org.freedesktop.ScreenSaver", "/ScreenSaver", "org.freedesktop.ScreenSaver",
     "GetSessionIdleTime"},
}};

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

Result<std::int64_t> call(const DBusIdleSource::Endpoint& endpoint) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return failure("no D-Bus session bus");
    const QDBusMessage request =
        QDBusMessage::createMethodCall(text(endpoint.service), text(endpoint.path),
                                       text(endpoint.interface), text(endpoint.method));
    const QDBusMessage reply = bus.call(request, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return failure(endpoint.service + ": " + reply.errorMessage().toStdString());
    }
    bool ok = false;
    const qulonglong value = reply.arguments().constFirst().toULongLong(&ok);
    if (!ok) return failure(endpoint.service + ": the idle time is not a number");
    return static_cast<std::int64_t>(value);
}

}  // namespace

Result<std::unique_ptr<DBusIdleSource>> DBusIdleSource::open() {
    std::string errors;
    for (const auto& endpoint : kEndpoints) {
        auto probe = call(endpoint);
        if (probe) return std::unique_ptr<DBusIdleSource>(new DBusIdleSource(endpoint));
        errors += (errors.empty() ? "" : "; ") + probe.error();
    }
    return failure(errors);
}

Result<std::int64_t> DBusIdleSource::idleMilliseconds() {
    return call(endpoint_);
}

}  // namespace vellix
