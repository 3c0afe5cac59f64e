#include "bench/qt_drop_route.h"

#include <memory>

#include "platform/qt/qt_drop_data.h"
#include "tools/raw_uri_list.h"

namespace tolvane::bench {

DropRoute QtDropRoute() {
    return {"drop via QtDropData", [](const std::string& uriList) {
                auto mime = std::make_shared<RawUriList>(QByteArray::fromStdString(uriList));
                return [mime] {
                    const QtDropData drop(*mime);
                    RenameDroppedFiles(drop.Files());
                };
            }};
}

}  // namespace tolvane::bench
