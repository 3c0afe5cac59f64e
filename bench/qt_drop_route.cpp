#include "bench/qt_drop_route.h"

#include <QMimeData>
#include <memory>

#include "platform/qt/qt_drop_data.h"

namespace tolvane::bench {

DropRoute QtDropRoute() {
    return {"drop via QtDropData", [](const std::string& uriList) {
                auto mime = std::make_shared<QMimeData>();
                mime->setData(QStringLiteral("text/uri-list"), QByteArray::fromStdString(uriList));
                return [mime] {
                    const QtDropData drop(*mime);
                    RenameDroppedFiles(drop.Files());
                };
            }};
}

}  // namespace tolvane::bench
