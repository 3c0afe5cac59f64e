#pragma once

#include "platform/posix/uri_list.h"

namespace tolvane {

// Network places as KDE's kio-fuse shows them: asked on the session bus, it
// mounts the location of a KIO URL (smb://, sftp://, …) under
// $XDG_RUNTIME_DIR/kio-fuse-…/ and tells the local path. The bus starts it
// where it is installed; elsewhere nothing has a local path.
class KioFuseNetworkPlaces : public NetworkPlaces {
  public:
    std::optional<std::string> LocalPath(std::string_view uri) const override;
};

// The first local path that one of two ways of showing network places gives.
class EitherNetworkPlaces : public NetworkPlaces {
  public:
    EitherNetworkPlaces(const NetworkPlaces& first, const NetworkPlaces& second)
        : first_(first), second_(second) {}
    std::optional<std::string> LocalPath(std::string_view uri) const override {
        if (std::optional<std::string> path = first_.LocalPath(uri)) return path;
        return second_.LocalPath(uri);
    }

  private:
    const NetworkPlaces& first_;
    const NetworkPlaces& second_;
};

}  // namespace tolvane
