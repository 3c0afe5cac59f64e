#pragma once

#include "platform/posix/uri_list.h"

namespace tolvane {

// Network places as GIO shows them: a location that gvfs has mounted (the
// file manager mounts it when it opens it) is a folder under gvfs's FUSE
// bridge, $XDG_RUNTIME_DIR/gvfs/…; any other has no local path.
class GioNetworkPlaces : public NetworkPlaces {
  public:
    std::optional<std::string> LocalPath(std::string_view uri) const override;
};

}  // namespace tolvane
