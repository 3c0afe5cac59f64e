#include "platform/qt/gio_network_places.h"

#include <gio/gio.h>

#include <memory>

namespace tolvane {

namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct Free {
    void operator()(gpointer memory) const { g_free(memory); }
};

}  // namespace

std::optional<std::string> GioNetworkPlaces::LocalPath(std::string_view uri) const {
    const std::string text(uri);
    const std::unique_ptr<GFile, ObjectUnref> file(g_file_new_for_uri(text.c_str()));
    // The bytes of the path's names, as the bridge shows them.
    const std::unique_ptr<char, Free> path(g_file_get_path(file.get()));
    if (!path) return std::nullopt;
    return std::string(path.get());
}

}  // namespace tolvane
