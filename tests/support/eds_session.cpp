#include "support/eds_session.h"

#include <gio/gio.h>

#include <cstdlib>

#include "support/wait.h"

namespace vellix::test {

EdsSession& EdsSession::shared() {
    static EdsSession session;
    return session;
}

EdsSession::EdsSession() {
    for (const auto& [name, folder] : {std::pair{"HOME", ""},
                                       {"XDG_CONFIG_HOME", "/config"},
                                       {"XDG_DATA_HOME", "/data"},
                                       {"XDG_CACHE_HOME", "/cache"}}) {
        const std::string path = home_.path() + folder;
        std::filesystem::create_directories(path);
        ::setenv(name, path.c_str(), 1);
    }
    ::setenv("GSETTINGS_BACKEND", "memory", 1);  // the daemons' settings stay in the scratch home
    bus_ = std::make_unique<PrivateBus>();
    if (bus_->address().isEmpty()) {
        error_ = "dbus-daemon did not start";
        return;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", bus_->address().toUtf8().constData(), 1);
    // The bus goes away before the process ends; that must not end the process.
    if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
        g_dbus_connection_set_exit_on_close(bus, FALSE);
        g_object_unref(bus);
    }
    (void)(startDaemon(registry_, "/usr/libexec/evolution-source-registry",
                       "org.gnome.evolution.dataserver.Sources5") &&
           startDaemon(factory_, "/usr/libexec/evolution-addressbook-factory",
                       "org.gnome.evolution.dataserver.AddressBook10"));
}

bool EdsSession::startDaemon(QProcess& daemon, const char* program, const char* busName) {
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon.start(QString::fromUtf8(program), {});
    if (!daemon.waitForStarted()) {
        error_ = std::string(program) + " did not start: " + daemon.errorString().toStdString();
        return false;
    }
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    const bool owned =
        bus && eventually([&] {
            GVariant* reply = g_dbus_connection_call_sync(
                bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                "NameHasOwner", g_variant_new("(s)", busName),
                reinterpret_cast<const GVariantType*>("(b)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                nullptr);
            gboolean has = FALSE;
            if (reply) {
                g_variant_get(reply, "(b)", &has);
                g_variant_unref(reply);
            }
            return has == TRUE;
        });
    if (bus) g_object_unref(bus);
    if (!owned) error_ = std::string(program) + " never took " + busName;
    return owned;
}

EdsSession::~EdsSession() {
    for (QProcess* daemon : {&factory_, &registry_}) {
        daemon->terminate();
        if (!daemon->waitForFinished(5000)) daemon->kill();
        daemon->waitForFinished();
    }
}

}  // namespace vellix::test
