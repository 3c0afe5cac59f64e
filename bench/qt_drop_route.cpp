#include "bench/qt_drop_route.h"

#include <QMimeData>
#include <memory>

#include "platform/qt/qt_drop_data.h"

namespace tolvane::bench {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// Hands over the list's bytes on request, as the data of a drop from another
// program does on X11. A QMimeData filled by setData() would instead turn the
// list into QUrls and back on every read, work no real drop does.
class DroppedUriList : public QMimeData {
  public:
    explicit DroppedUriList(QByteArray list) : list_(std::move(list)) {}

    bool hasFormat(const QString& mimeType) const override { return mimeType == kUriList; }
    QStringList formats() const override { return {kUriList}; }

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        return mimeType == kUriList ? QVariant(list_) : QVariant();
    }

  private:
    QByteArray list_;
};

}  // namespace

DropRoute QtDropRoute() {
    return {"drop via QtDropData", [](const std::string& uriList) {
                auto mime = std::make_shared<DroppedUriList>(QByteArray::fromStdString(uriList));
                return [mime] {
                    const QtDropData drop(*mime);
                    RenameDroppedFiles(drop.Files());
                };
            }};
}

}  // namespace tolvane::bench
