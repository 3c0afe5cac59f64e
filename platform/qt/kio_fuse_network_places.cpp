#include "platform/qt/kio_fuse_network_places.h"

#include <gio/gio.h>

#include <memory>

namespace tolvane {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct VariantUnref {
    void operator()(GVariant* value) const { g_variant_unref(value); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

// Mounting a place may have to reach a server first.
constexpr int kMountTimeoutMs = 30000;

}  // namespace

std::optional<std::string> KioFuseNetworkPlaces::LocalPath(std::string_view uri) const {
    GError* failure = nullptr;
    const std::unique_ptr<GDBusConnection, ObjectUnref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
    const std::unique_ptr<GError, ErrorFree> busError(failure);
    if (!bus) return std::nullopt;
    const std::string url(uri);
    const std::unique_ptr<GVariant, VariantUnref> reply(g_dbus_connection_call_sync(
        bus.get(), "org.kde.KIOFuse", "/org/kde/KIOFuse", "org.kde.KIOFuse.VFS", "mountUrl",
        g_variant_new("(s)", url.c_str()), G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE,
        kMountTimeoutMs, nullptr, &failure));
    const std::unique_ptr<GError, ErrorFree> callError(failure);
    if (!reply) return std::nullopt;
    const gchar* path = nullptr;
    g_variant_get(reply.get(), "(&s)", &path);
    if (path == nullptr || path[0] != '/') return std::nullopt;
    return std::string(path);
}

}  // namespace tolvane
