#include "platform/qt/qt_drop_data.h"

#include <QUrl>
#include <memory>

#include "platform/posix/uri_list.h"

namespace tolvane {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

// Some sources hand over URLs that Qt reports without the raw list; their
// encoded form still carries every byte.
QByteArray UriListBytes(const QMimeData& mime) {
    if (mime.hasFormat(kUriList)) return mime.data(kUriList);
    QByteArray list;
    for (const QUrl& url : mime.urls()) list += url.toEncoded() + "\r\n";
    return list;
}

std::unique_ptr<DropFileList> DroppedFiles(const QMimeData& mime) {
    const auto list = std::make_shared<const QByteArray>(UriListBytes(mime));
    return std::make_unique<UriFileList>(
        std::string_view(list->constData(), static_cast<std::size_t>(list->size())), list);
}

}  // namespace

QtDropData::QtDropData(const QMimeData& mime) : files_([&mime] { return DroppedFiles(mime); }) {}

}  // namespace tolvane
